#include <gtest/gtest.h>
#include <wx/treectrl.h>

#include "app/TorvaneStudioFrame.h"
#include "gui_test_support.h"
#include "viewer/MapViewerFrame.h"

namespace {

std::string xdfWithTables(const char* version, std::initializer_list<const char*> titles)
{
    std::string xml = "<!-- Written by hand -->\n<XDFFORMAT version=\"" + std::string(version) + "\">\n";
    for (const char* title : titles)
        xml += "<XDFTABLE><title>" + std::string(title) + "</title><XDFAXIS id=\"x\"><indexcount>8</indexcount>"
               "</XDFAXIS><XDFAXIS id=\"y\"><indexcount>4</indexcount></XDFAXIS></XDFTABLE>\n";
    return xml + "</XDFFORMAT>\n";
}

TEST(ImportCommands, XdfImportListsTheMapsAndARejectedFileKeepsThem)
{
    ScopedHome home;
    TempDir files;
    MainWindowFixture window;
    TorvaneStudioFrame* frame = window.frame();
    const auto import = [&](const char* name, const std::string& text) {
        writeText(files.file(name), text);
        wxTEST_DIALOG(sendMenuCommand(frame, frame->commandIds().importXdf), ExpectFileDialog(files.file(name)));
        pumpEvents(10);
    };

    import("set.xdf", xdfWithTables("1.50", {"Ignition base", "Lambda target"}));
    const ExpectFileDialog::Seen& seen = ExpectFileDialog::lastSeen();
    EXPECT_EQ(seen.title, "Select XDF file to import");
    EXPECT_EQ(seen.wildcard, "XDF files (*.xdf)|*.xdf|All files (*.*)|*.*");
    EXPECT_EQ(seen.style & (wxFD_OPEN | wxFD_SAVE), wxFD_OPEN);
    EXPECT_EQ(statusText(frame), "Definitions file loaded.");
    ASSERT_NE(frame->viewer(), nullptr);
    EXPECT_TRUE(frame->viewer()->IsShown());
    ASSERT_EQ(frame->viewer()->itemCount(), 2);
    EXPECT_EQ(frame->viewer()->tree()->GetItemText(frame->viewer()->mapItem(1)), "Lambda target (0) [8x4]");

    import("new.xdf", xdfWithTables("1.60", {"Other"}));
    EXPECT_EQ(statusText(frame), "The definitions file version is not compatible!");
    EXPECT_EQ(frame->workspace().definitions.mapCount, 2);
    EXPECT_EQ(frame->viewer()->itemCount(), 2);
    // The imported file is not remembered for the next start.
    EXPECT_EQ(readText(home.settingsFile()).find(".xdf"), std::string::npos);
}

} // namespace
