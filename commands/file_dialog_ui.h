#pragma once
#include <wx/string.h>
#include <wx/weakref.h>
#include <wx/window.h>


// Asks for a file with the toolkit's file dialog (no default folder or name).
// Returns false when the user cancels; the dialog is gone before it returns.
bool askForFile(wxWindow* parent, const wxString& title, const char* wildcard, long style, wxString& path);

// Gives the keyboard focus back, when it goes out of scope, to the window that
// had it when it was made: a command's dialogs and the window it shows on the
// way (the map viewer) must not leave the user's window without it, or the
// next shortcut goes nowhere.
class FocusKeeper {
public:
    FocusKeeper() : m_window(wxWindow::FindFocus()) {}
    ~FocusKeeper();
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

private:
    wxWeakRef<wxWindow> m_window;
};
