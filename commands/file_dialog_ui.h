#pragma once
#include <wx/string.h>

class wxWindow;

// Asks for a file with the toolkit's file dialog (no default folder or name).
// Returns false when the user cancels; the dialog is gone before it returns.
bool askForFile(wxWindow* parent, const wxString& title, const char* wildcard, long style, wxString& path);
