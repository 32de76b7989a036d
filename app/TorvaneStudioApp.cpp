#include "app/TorvaneStudioApp.h"

#include <wx/image.h>

#include "app/TorvaneStudioFrame.h"

bool TorvaneStudioApp::OnInit()
{
    // The window icon and the tool images are PNG.
    wxInitAllImageHandlers();

    auto* frame = new TorvaneStudioFrame(nullptr);
    frame->Show();
    SetTopWindow(frame);
    return true;
}
