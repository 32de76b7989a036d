// The about box as the About command builds it.
#include <memory>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/statbmp.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/version.h>

#include "about/AboutBoxDialog.h"
#include "gui_test_support.h"

// Lets wxTEST_DIALOG answer the about box like any stock dialog.
template <>
class wxExpectModal<AboutBoxDialog> : public wxExpectDismissableModal<AboutBoxDialog> {
public:
    explicit wxExpectModal(int id) : wxExpectDismissableModal<AboutBoxDialog>(id) {}
};

namespace {

struct DialogDeleter {
    void operator()(wxDialog* dialog) const { dialog->Destroy(); }
};
using DialogPtr = std::unique_ptr<AboutBoxDialog, DialogDeleter>;

class AboutBoxTest : public testing::Test {
protected:
    void SetUp() override { m_parent = new wxFrame(nullptr, wxID_ANY, wxASCII_STR("parent")); }
    void TearDown() override
    {
        m_parent->Destroy();
        pumpEvents();
    }

    wxStaticText* label(wxWindow* dialog, const char* name)
    {
        auto* text = findControl<wxStaticText>(dialog, wxASCII_STR(name));
        EXPECT_NE(text, nullptr) << name;
        return text;
    }

    wxFrame* m_parent = nullptr;
};

wxString expectedBuildLine()
{
    return wxString::Format(wxASCII_STR("wxWidgets %d.%d.%d-Linux (Unicode build)"), wxMAJOR_VERSION,
                            wxMINOR_VERSION, wxRELEASE_NUMBER);
}

} // namespace

TEST_F(AboutBoxTest, ShowsProductVersionAndBuildInTheirColoursFontsAndPlaces)
{
    DialogPtr dialog(createAboutBox(m_parent));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->GetId(), 10000);
    EXPECT_EQ(dialog->GetParent(), m_parent);
    EXPECT_EQ(dialog->GetTitle(), wxASCII_STR("About Torvane Studio"));
    EXPECT_TRUE(dialog->HasFlag(wxTAB_TRAVERSAL));
    EXPECT_TRUE(dialog->HasFlag(wxCAPTION));
    EXPECT_FALSE(dialog->IsShown());

    struct Expected {
        const char* name;
        wxString text;
    };
    const Expected texts[] = {
        {"ID_STATICTEXT1", wxASCII_STR("Torvane Studio")},
        {"ID_STATICTEXT2", wxASCII_STR("version")},
        {"ID_STATICTEXT3", wxASCII_STR("0.3.0 [Beta]")},
        {"ID_STATICTEXT5", expectedBuildLine()},
    };
    for (const Expected& row : texts) {
        if (wxStaticText* text = label(dialog.get(), row.name)) {
            EXPECT_EQ(text->GetLabel(), row.text) << row.name;
        }
    }

    if (wxStaticText* rights = label(dialog.get(), "ID_STATICTEXT4")) {
        EXPECT_TRUE(rights->GetLabel().StartsWith(wxASCII_STR("Copyright (C) 2026 Velquor Electronics.")))
            << rights->GetLabel();
    }
    EXPECT_TRUE(AboutBoxDialog::defaultBuildLine().StartsWith(wxASCII_STR("wxWidgets 3.2.")));

    auto* ok = dynamic_cast<wxButton*>(dialog->FindWindow(wxID_OK));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetLabel(), wxASCII_STR("&OK"));

    auto* panel = findControl<wxPanel>(dialog.get(), wxASCII_STR("ID_PANEL1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetId(), 10001);
    EXPECT_EQ(panel->GetBackgroundColour(), wxColour(255, 255, 255));

    auto* logo = findControl<wxStaticBitmap>(dialog.get(), wxASCII_STR("ID_STATICBITMAP1"));
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->GetBitmap().GetWidth(), 400);
    EXPECT_EQ(logo->GetBitmap().GetHeight(), 100);
    EXPECT_NE(findControl<wxStaticLine>(dialog.get(), wxASCII_STR("ID_STATICLINE1")), nullptr);

    wxStaticText* product = label(dialog.get(), "ID_STATICTEXT1");
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->GetForegroundColour(), wxColour(0, 0, 255));
    EXPECT_EQ(product->GetFont().GetFaceName(), wxASCII_STR("Arial Narrow"));
    EXPECT_EQ(product->GetFont().GetPointSize(), 18);
    EXPECT_EQ(product->GetFont().GetWeight(), wxFONTWEIGHT_NORMAL);

    for (const char* name : {"ID_STATICTEXT2", "ID_STATICTEXT3"}) {
        wxStaticText* text = label(dialog.get(), name);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->GetForegroundColour(), wxColour(192, 192, 192)) << name;
        EXPECT_EQ(text->GetFont().GetFaceName(), wxASCII_STR("Arial")) << name;
        EXPECT_EQ(text->GetFont().GetPointSize(), 8) << name;
        EXPECT_EQ(text->GetFont().GetWeight(), wxFONTWEIGHT_BOLD) << name;
    }
    // The "version" caption sits right next to the version, right-aligned in its column.
    wxStaticText* caption = label(dialog.get(), "ID_STATICTEXT2");
    wxStaticText* version = label(dialog.get(), "ID_STATICTEXT3");
    EXPECT_LT(caption->GetRect().GetRight(), version->GetRect().GetLeft());
    EXPECT_EQ(caption->GetRect().GetTop(), version->GetRect().GetTop());

    // Everything is on screen inside the dialog, under the logo, in order.
    const int logoBottom = logo->GetRect().GetBottom();
    int previousTop = logoBottom;
    for (const char* name : {"ID_STATICTEXT1", "ID_STATICTEXT3", "ID_STATICTEXT4", "ID_STATICTEXT5"}) {
        wxStaticText* text = label(dialog.get(), name);
        EXPECT_GT(text->GetRect().GetTop(), previousTop) << name;
        EXPECT_LE(text->GetRect().GetRight(), panel->GetClientSize().GetWidth()) << name;
        EXPECT_LE(text->GetRect().GetBottom(), panel->GetClientSize().GetHeight()) << name;
        previousTop = text->GetRect().GetTop();
    }
}

TEST_F(AboutBoxTest, LongNoticeWrapsInsideTheLogoWidth)
{
    DialogPtr dialog(new AboutBoxDialog(m_parent, AboutBoxDialog::kDialogId, wxASCII_STR("About "),
                                        wxDefaultPosition, wxSize(400, 300)));
    dialog->setProductName(wxASCII_STR("Torvane Studio"));
    dialog->setVersion(wxASCII_STR("0.3.0 [Beta]"));
    dialog->setRightsNotice(wxASCII_STR("Short."));
    dialog->fill();
    const int shortHeight = dialog->GetSize().GetHeight();
    EXPECT_EQ(label(dialog.get(), "ID_STATICTEXT5")->GetLabel(), expectedBuildLine());

    wxString notice;
    for (int i = 0; i < 12; ++i)
        notice += wxASCII_STR("This sentence is repeated to make a notice far wider than the logo. ");
    dialog->setRightsNotice(notice);
    dialog->setBuildLine(wxASCII_STR("custom build"));
    dialog->fill();

    const int logoWidth = 400;
    wxStaticText* rights = label(dialog.get(), "ID_STATICTEXT4");
    ASSERT_NE(rights, nullptr);
    EXPECT_LE(rights->GetBestSize().GetWidth(), logoWidth - 20);
    EXPECT_GT(rights->GetLabel().Freq('\n'), 3u);
    // Wrapped text grows the box downwards; sideways it gains at most the
    // label and grid borders around the wrap width.
    EXPECT_GT(dialog->GetSize().GetHeight(), shortHeight);
    EXPECT_LE(dialog->GetClientSize().GetWidth(), logoWidth + 10);
    EXPECT_EQ(label(dialog.get(), "ID_STATICTEXT5")->GetLabel(), wxASCII_STR("custom build"));
}

TEST_F(AboutBoxTest, EnterAndSpaceClose)
{
    m_parent->Show();
    for (const int key : {WXK_RETURN, WXK_SPACE}) {
        SCOPED_TRACE(key);
        DialogPtr dialog(createAboutBox(m_parent));
        wxTimer press;
        wxTimer giveUp;
        // Xvfb has no window manager to give the box the keyboard: Raise does.
        press.Bind(wxEVT_TIMER, [key, &dialog](wxTimerEvent&) {
            dialog->Raise();
            pumpEvents(200);
            wxUIActionSimulator().Char(key);
        });
        giveUp.Bind(wxEVT_TIMER, [&dialog](wxTimerEvent&) { dialog->EndModal(wxID_CANCEL); });
        press.StartOnce(300);
        giveUp.StartOnce(3000);
        EXPECT_EQ(dialog->ShowModal(), wxID_OK);
    }
}

TEST_F(AboutBoxTest, AboutCommandRunsTheBoxModally)
{
    wxTEST_DIALOG(showAboutBox(m_parent), wxExpectModal<AboutBoxDialog>(wxID_OK));
    pumpEvents();
    for (wxWindow* child : m_parent->GetChildren())
        EXPECT_EQ(wxDynamicCast(child, AboutBoxDialog), nullptr) << "the box was not destroyed";
    EXPECT_TRUE(wxClassInfo::FindClass(wxASCII_STR("AboutBoxDialog")));
}
