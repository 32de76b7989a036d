#pragma once
#include <wx/dialog.h>

// The About command: builds the about box over `parent`, shows it modally and
// destroys it when the user closes it.
void showAboutBox(wxWindow* parent);
