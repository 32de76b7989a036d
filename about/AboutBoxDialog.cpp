#include "about/AboutBoxDialog.h"

#include <wx/button.h>
#include <wx/font.h>
#include <wx/gbsizer.h>
#include <wx/intl.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/version.h>

#include "resources/resource_bitmaps_ui.h"

wxIMPLEMENT_DYNAMIC_CLASS(AboutBoxDialog, wxDialog);

namespace {

const wxColour kWhite(255, 255, 255);
const wxColour kProductBlue(0, 0, 255);
const wxColour kVersionGrey(192, 192, 192);

} // namespace

AboutBoxDialog::AboutBoxDialog() = default;

AboutBoxDialog::AboutBoxDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                               const wxPoint& pos, const wxSize& size, long style)
{
    Create(parent, id, title, pos, size, style);
}

bool AboutBoxDialog::Create(wxWindow* parent, wxWindowID id, const wxString& title,
                            const wxPoint& pos, const wxSize& size, long style)
{
    if (!wxDialog::Create(parent, id, title, pos, size, style))
        return false;
    buildControls();
    return true;
}

void AboutBoxDialog::buildControls()
{
    auto* dialogSizer = new wxBoxSizer(wxVERTICAL);

    m_panel = new wxPanel(this, kPanelId, wxDefaultPosition, wxSize(200, 300), wxTAB_TRAVERSAL,
                          wxASCII_STR("ID_PANEL1"));
    m_panel->SetBackgroundColour(kWhite);
    auto* panelSizer = new wxBoxSizer(wxVERTICAL);

    m_logo = new wxStaticBitmap(m_panel, wxID_ANY, resourceBitmap("about_logo"), wxDefaultPosition,
                                wxDefaultSize, 0, wxASCII_STR("ID_STATICBITMAP1"));
    panelSizer->Add(m_logo, 0, wxALIGN_CENTER_HORIZONTAL);

    auto* grid = new wxGridBagSizer(0, 0);

    m_productLabel = new wxStaticText(m_panel, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                      wxDefaultSize, 0, wxASCII_STR("ID_STATICTEXT1"));
    m_productLabel->SetForegroundColour(kProductBlue);
    m_productLabel->SetFont(wxFont(wxFontInfo(18).FaceName(wxASCII_STR("Arial Narrow"))));
    grid->Add(m_productLabel, wxGBPosition(0, 0), wxGBSpan(1, 2), wxALL | wxALIGN_BOTTOM, 5);

    const wxFont versionFont(wxFontInfo(8).FaceName(wxASCII_STR("Arial")).Bold());
    m_versionCaption = new wxStaticText(m_panel, wxID_ANY, _("version"), wxDefaultPosition,
                                        wxDefaultSize, wxALIGN_RIGHT, wxASCII_STR("ID_STATICTEXT2"));
    m_versionLabel = new wxStaticText(m_panel, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                      wxDefaultSize, 0, wxASCII_STR("ID_STATICTEXT3"));
    for (wxStaticText* label : {m_versionCaption, m_versionLabel}) {
        label->SetForegroundColour(kVersionGrey);
        label->SetFont(versionFont);
    }
    grid->Add(m_versionCaption, wxGBPosition(1, 0), wxDefaultSpan, wxALL | wxALIGN_RIGHT, 5);
    grid->Add(m_versionLabel, wxGBPosition(1, 1), wxDefaultSpan, wxALL, 5);

    m_rightsLabel = new wxStaticText(m_panel, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                     wxDefaultSize, 0, wxASCII_STR("ID_STATICTEXT4"));
    grid->Add(m_rightsLabel, wxGBPosition(2, 0), wxGBSpan(1, 2), wxALL | wxEXPAND, 5);
    m_buildLabel = new wxStaticText(m_panel, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                    wxDefaultSize, 0, wxASCII_STR("ID_STATICTEXT5"));
    grid->Add(m_buildLabel, wxGBPosition(3, 0), wxGBSpan(1, 2), wxALL | wxEXPAND, 5);
    grid->AddGrowableRow(2);
    grid->AddGrowableRow(3);

    panelSizer->Add(grid, 1, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 10);
    m_panel->SetSizer(panelSizer);
    dialogSizer->Add(m_panel, 1, wxEXPAND);

    m_line = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL,
                              wxASCII_STR("ID_STATICLINE1"));
    dialogSizer->Add(m_line, 0, wxALL | wxEXPAND, 5);

    auto* buttons = new wxStdDialogButtonSizer();
    auto* ok = new wxButton(this, wxID_OK, _("&OK"));
    // Enter and Space close the box, as they do any message box.
    ok->SetDefault();
    ok->SetFocus();
    buttons->AddButton(ok);
    buttons->Realize();
    dialogSizer->Add(buttons, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 5);

    SetSizer(dialogSizer);
}

wxString AboutBoxDialog::defaultBuildLine()
{
    return wxString::Format(wxASCII_STR("wxWidgets %d.%d.%d"), wxMAJOR_VERSION, wxMINOR_VERSION,
                            wxRELEASE_NUMBER) +
           wxASCII_STR("-Linux") + wxASCII_STR(" (Unicode") + _(" build)");
}

void AboutBoxDialog::fill()
{
    SetTitle(wxString::Format(wxASCII_STR("%s %s"), _("About"), m_productName));
    m_productLabel->SetLabel(m_productName);
    m_versionLabel->SetLabel(m_version);
    m_rightsLabel->SetLabel(m_rightsNotice);
    m_buildLabel->SetLabel(m_buildLine.empty() ? defaultBuildLine() : m_buildLine);

    // Long texts wrap inside the logo's width rather than stretching the box.
    const int wrapWidth = m_logo->GetBitmap().GetWidth() - 20;
    for (wxStaticText* label : {m_versionLabel, m_rightsLabel, m_buildLabel})
        label->Wrap(wrapWidth);

    m_panel->GetSizer()->Fit(m_panel);
    m_panel->GetSizer()->SetSizeHints(m_panel);
    GetSizer()->Fit(this);
    GetSizer()->SetSizeHints(this);
    Layout();
    Centre(wxBOTH);
}

AboutBoxDialog* createAboutBox(wxWindow* parent)
{
    auto* dialog = new AboutBoxDialog(parent, AboutBoxDialog::kDialogId, _("About "),
                                      wxDefaultPosition, wxSize(400, 300),
                                      wxDEFAULT_DIALOG_STYLE | wxTAB_TRAVERSAL);
    dialog->setProductName(_("Torvane Studio"));
    dialog->setVersion(_("0.3.0 [Beta]"));
    dialog->setRightsNotice(_("Copyright (C) 2026 Velquor Electronics. All rights reserved. "
                              "Torvane Studio changes calibration data in engine control unit "
                              "images: always keep a copy of the original image."));
    dialog->setBuildLine(wxEmptyString);
    dialog->fill();
    return dialog;
}

void showAboutBox(wxWindow* parent)
{
    AboutBoxDialog* dialog = createAboutBox(parent);
    dialog->ShowModal();
    dialog->Destroy();
}
