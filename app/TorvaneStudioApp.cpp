#include "app/TorvaneStudioApp.h"

#include <cstdio>

#include <wx/debug.h>
#include <wx/image.h>

#include "app/TorvaneStudioFrame.h"
#include "common/safe_file.h"
#include "viewer/MapViewerFrame.h"

namespace {

// A failed self-check of the toolkit (seen once in its clipboard code) would
// otherwise stop the program with a modal box in front of the tuner's work.
void reportAssert(const wxString& file, int line, const wxString& function, const wxString& condition,
                  const wxString& message)
{
    std::fprintf(stderr, "%s:%d: %s: %s %s\n", file.utf8_str().data(), line, function.utf8_str().data(),
                 condition.utf8_str().data(), message.utf8_str().data());
}

} // namespace

bool TorvaneStudioApp::OnInit()
{
    wxSetAssertHandler(reportAssert);
    // A save past `ulimit -f` fails with its message instead of ending the program.
    failWritesPastTheFileSizeLimit();
    // The window icon and the tool images are PNG.
    wxInitAllImageHandlers();

    auto* frame = new TorvaneStudioFrame(nullptr);
    frame->Show();
    SetTopWindow(frame);
    // A remembered maps file opened the map viewer before the main window was
    // shown; without this the main window would cover the map list.
    if (MapViewerFrame* viewer = frame->viewer(); viewer && viewer->IsShown())
        viewer->Raise();
    return true;
}
