#pragma once
#include <wx/dialog.h>
#include <wx/string.h>

class wxPanel;
class wxStaticBitmap;
class wxStaticLine;
class wxStaticText;

// The about box: product logo, name, version, rights notice and the toolkit
// build the program runs on. The caller sets the four texts, then calls fill().
class AboutBoxDialog : public wxDialog {
public:
    static constexpr wxWindowID kDialogId = 10000;
    static constexpr wxWindowID kPanelId = 10001;

    AboutBoxDialog();
    AboutBoxDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                   const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                   long style = wxDEFAULT_DIALOG_STYLE | wxTAB_TRAVERSAL);
    bool Create(wxWindow* parent, wxWindowID id, const wxString& title,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = wxDEFAULT_DIALOG_STYLE | wxTAB_TRAVERSAL);

    void setProductName(const wxString& text) { m_productName = text; }
    void setVersion(const wxString& text) { m_version = text; }
    void setRightsNotice(const wxString& text) { m_rightsNotice = text; }
    // An empty build line stands for defaultBuildLine().
    void setBuildLine(const wxString& text) { m_buildLine = text; }

    // Copies the texts into the labels, titles the window, lays it out and centres it.
    void fill();

    // The toolkit version the program was built with, e.g.
    // "wxWidgets 3.2.2-Linux (Unicode build)".
    static wxString defaultBuildLine();

private:
    void buildControls();

    wxString m_productName;
    wxString m_version;
    wxString m_rightsNotice;
    wxString m_buildLine;

    wxPanel* m_panel = nullptr;
    wxStaticBitmap* m_logo = nullptr;
    wxStaticText* m_productLabel = nullptr;
    wxStaticText* m_versionCaption = nullptr;
    wxStaticText* m_versionLabel = nullptr;
    wxStaticText* m_rightsLabel = nullptr;
    wxStaticText* m_buildLabel = nullptr;
    wxStaticLine* m_line = nullptr;

    wxDECLARE_DYNAMIC_CLASS(AboutBoxDialog);
};

// Builds and fills the program's about box over `parent` without showing it.
// The caller owns the dialog and must Destroy() it.
AboutBoxDialog* createAboutBox(wxWindow* parent);

// The About command: builds the about box over `parent`, shows it modally and
// destroys it when the user closes it.
void showAboutBox(wxWindow* parent);
