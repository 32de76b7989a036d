#include "commands/file_dialog_ui.h"

#include <wx/filedlg.h>
#include <wx/toplevel.h>

bool askForFile(wxWindow* parent, const wxString& title, const char* wildcard, long style, wxString& path)
{
    wxFileDialog dialog(parent, title, wxEmptyString, wxEmptyString, wildcard, style);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    path = dialog.GetPath();
    return true;
}

FocusKeeper::~FocusKeeper()
{
    wxWindow* window = m_window.get();
    if (!window || !window->IsShownOnScreen())
        return;
    if (wxWindow* top = wxGetTopLevelParent(window))
        top->Raise();
    window->SetFocus();
}
