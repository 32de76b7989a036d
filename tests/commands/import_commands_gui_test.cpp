#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/treectrl.h>

#include "app/TorvaneStudioFrame.h"
#include "gui_test_support.h"
#include "viewer/MapViewerFrame.h"

TEST(ImportCommands, XdfImportListsTheMapsAndARejectedFileKeepsThem)
{
    ScopedHome home;
    TempDir files;
    MainWindowFixture window;
    TorvaneStudioFrame* frame = window.frame();
    const auto import = [&](const std::string& version, const std::string& tables) {
        writeText(files.file("set.xdf"), "<!-- c -->\n<XDFFORMAT version=\"" + version + "\">" + tables + "</XDFFORMAT>");
        wxTEST_DIALOG(sendMenuCommand(frame, frame->commandIds().importXdf), ExpectFileDialog(files.file("set.xdf")));
        pumpEvents(10);
    };
    import("1.50", "<XDFTABLE><title>Spark</title></XDFTABLE><XDFTABLE><title>Lambda</title><XDFAXIS id=\"x\">"
                   "<indexcount>8</indexcount></XDFAXIS><XDFAXIS id=\"y\"><indexcount>4</indexcount></XDFAXIS></XDFTABLE>");
    EXPECT_EQ(ExpectFileDialog::lastSeen().title, "Select XDF file to import");
    EXPECT_EQ(ExpectFileDialog::lastSeen().wildcard, "XDF files (*.xdf)|*.xdf|All files (*.*)|*.*");
    EXPECT_EQ(statusText(frame), "Definitions file loaded.");
    ASSERT_NE(frame->viewer(), nullptr);
    EXPECT_TRUE(frame->viewer()->IsShown());
    ASSERT_EQ(frame->viewer()->itemCount(), 2);
    EXPECT_EQ(frame->viewer()->tree()->GetItemText(frame->viewer()->mapItem(1)), "Lambda (0) [8x4]");

    import("1.60", "<XDFTABLE/>");
    EXPECT_EQ(statusText(frame), "The definitions file version is not compatible!");
    EXPECT_EQ(frame->viewer()->itemCount(), 2);
    EXPECT_EQ(readText(home.settingsFile()).find(".xdf"), std::string::npos);   // not remembered
}

TEST(ImportCommands, CompleteXdfImportTakesTheAddressesAndSaysWhatIsLeft)
{
    ScopedHome home;
    TempDir files;
    MainWindowFixture window;
    TorvaneStudioFrame* frame = window.frame();
    writeText(files.file("set.xdf"),
              "<XDFFORMAT version=\"1.70\"><XDFHEADER><BASEOFFSET offset=\"0x100\"/><DEFAULTS datasizeinbits=\"16\"/>"
              "</XDFHEADER><XDFTABLE><title>Spark</title><XDFAXIS id=\"x\"><indexcount>8</indexcount></XDFAXIS>"
              "<XDFAXIS id=\"z\"><EMBEDDEDDATA mmedaddress=\"0x20\"/><MATH equation=\"X*0.5\"/></XDFAXIS></XDFTABLE>"
              "<XDFTABLE><title>Float</title><XDFAXIS id=\"z\"><EMBEDDEDDATA mmedaddress=\"0x40\" "
              "mmedtypeflags=\"0x10000\"/></XDFAXIS></XDFTABLE><XDFCONSTANT><title>Limit</title><EMBEDDEDDATA "
              "mmedaddress=\"0x60\"/></XDFCONSTANT></XDFFORMAT>");
    const int item = frame->GetMenuBar()->FindMenuItem("&Maps", "TunerPro XDF with addresses and scaling");
    wxTEST_DIALOG(sendMenuCommand(frame, item), ExpectFileDialog(files.file("set.xdf")));
    pumpEvents(10);
    EXPECT_EQ(ExpectFileDialog::lastSeen().title, "Select XDF file to import");
    EXPECT_EQ(ExpectFileDialog::lastSeen().wildcard, "XDF files (*.xdf)|*.xdf|All files (*.*)|*.*");
    EXPECT_EQ(statusText(frame), "Definitions file loaded: 3 maps; 1 needs its address set by hand.");
    ASSERT_NE(frame->viewer(), nullptr);
    ASSERT_EQ(frame->viewer()->itemCount(), 3);
    EXPECT_EQ(frame->viewer()->tree()->GetItemText(frame->viewer()->mapItem(2)), "Limit (160) [1x1]");
    const AxisDefinition& z = frame->workspace().definitions.maps[0].axes[AxisZ];
    EXPECT_EQ(std::tie(z.address, z.bits, z.factor), std::make_tuple(0x120u, 16, 0.5));
    EXPECT_EQ(readText(home.settingsFile()).find(".xdf"), std::string::npos);   // not remembered
}
