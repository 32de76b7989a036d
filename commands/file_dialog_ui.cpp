#include "commands/file_dialog_ui.h"

#include <algorithm>

#include <wx/filedlg.h>
#include <wx/toplevel.h>

#include "common/gtk_function_ui.h"

std::string fileSystemName(const wxString& name)
{
    const wxCharBuffer bytes = name.fn_str();
    return bytes.data() ? std::string(bytes.data(), bytes.length()) : std::string();
}

wxString shownFileName(const std::string& name)
{
    return wxString(name.c_str(), *wxConvFileName);
}

namespace {

// The chosen file's name as the file system's bytes, asked of GTK: the
// toolkit hands over no name it cannot convert (one that is not valid UTF-8)
// and gives "" instead.
wxString chosenFileBytes(const wxFileDialog& dialog)
{
    using GetFileName = char* (*)(void*);
    using Free = void (*)(void*);
    static const auto getFileName = gtkFunction<GetFileName>("gtk_file_chooser_get_filename");
    static const auto release = gtkFunction<Free>("g_free");
    char* bytes = getFileName && release && dialog.GetHandle() ? getFileName(dialog.GetHandle()) : nullptr;
    if (!bytes)
        return wxString();
    const wxString name(bytes, *wxConvFileName);
    release(bytes);
    return name;
}

} // namespace

bool askForFile(wxWindow* parent, const wxString& title, const char* wildcard, long style, wxString& path)
{
    wxFileDialog dialog(parent, title, wxEmptyString, wxEmptyString, wildcard, style);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    path = dialog.GetPath();
    if (path.empty())
        path = chosenFileBytes(dialog);
    return true;
}

FocusKeeper::FocusKeeper() : m_window(wxWindow::FindFocus())
{
    for (wxWindow* top : wxTopLevelWindows)
        if (top->IsShown())
            m_shownBefore.push_back(top);
}

FocusKeeper::~FocusKeeper()
{
    wxWindow* window = m_window.get();
    for (wxWindow* top : wxTopLevelWindows)
        if (top->IsShown() && !top->IsBeingDeleted()
            && std::find(m_shownBefore.begin(), m_shownBefore.end(), top) == m_shownBefore.end()) {
            window = top;
            break;
        }
    if (!window || !window->IsShownOnScreen())
        return;
    if (wxWindow* top = wxGetTopLevelParent(window))
        top->Raise();
    window->SetFocus();
}
