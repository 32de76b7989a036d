#pragma once
#include <string>
#include <vector>

#include <wx/string.h>
#include <wx/weakref.h>
#include <wx/window.h>


// Paths and file names travel as the file system's bytes, as the file dialog
// read them: a name that is not valid UTF-8 (from an old archive or memory
// stick) still opens, and shows as the dialog showed it.
std::string fileSystemName(const wxString& name);
wxString shownFileName(const std::string& name);

// Asks for a file with the toolkit's file dialog (no default folder or name).
// Returns false when the user cancels; the dialog is gone before it returns.
bool askForFile(wxWindow* parent, const wxString& title, const char* wildcard, long style, wxString& path);

// Leaves the keyboard focus somewhere when it goes out of scope, or the next
// shortcut goes nowhere after a command's dialogs: in a window the command
// brought up (the map viewer on a first load: the list the user looks at
// next, and which takes the main window's shortcuts too), else back in the
// window that had it when it was made.
class FocusKeeper {
public:
    FocusKeeper();
    ~FocusKeeper();
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

private:
    wxWeakRef<wxWindow> m_window;
    std::vector<wxWindow*> m_shownBefore;   // only compared, never used
};
