#include <gtest/gtest.h>
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
