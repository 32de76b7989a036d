#include "app/TorvaneStudioApp.h"

#include <wx/image.h>

#include "app/TorvaneStudioFrame.h"
#include "viewer/MapViewerFrame.h"

bool TorvaneStudioApp::OnInit()
{
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
