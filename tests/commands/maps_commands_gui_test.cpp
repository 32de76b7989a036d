#include <gtest/gtest.h>

#include <unistd.h>
#include <wx/fileconf.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>
#include <wx/treectrl.h>

#include "app/TorvaneStudioFrame.h"
#include "common/safe_file.h"
#include "commands/maps_commands_ui.h"
#include "gui_test_support.h"
#include "viewer/MapViewerFrame.h"
#include "viewer/viewer_test_maps.h"

namespace {

class MapsCommands : public MainWindowTestBase {
protected:
    // The remembered maps file, "" when none.
    wxString rememberedMapsPath() const
    {
        wxFileConfig store(wxEmptyString, wxEmptyString, wxString::FromUTF8(home.settingsFile()),
                           wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
        return store.Read("/OpenFiles/MapsPath", wxString());
    }
};

TEST_F(MapsCommands, LoadRemembersThePathAndReports)
{
    const std::string path = textFile("set.xts", mapsFileXml(threeTestMaps()));
    runWithFileDialog(ids().loadMaps, path);
    EXPECT_EQ(statusText(frame()), "Maps file loaded.");
    EXPECT_EQ(frame()->workspace().definitions.mapCount, 3);
    EXPECT_EQ(rememberedMapsPath(), wxString::FromUTF8(path));
    ASSERT_NE(frame()->viewer(), nullptr);
    EXPECT_EQ(frame()->viewer()->itemCount(), 3);

    // The "Load Map" tool runs the same command.
    const std::string other = textFile("other.xts", mapsFileXml({{"Only", 1, 1, 0}}));
    runWithFileDialog(ids().toolLoadMap, other);
    EXPECT_EQ(frame()->viewer()->itemCount(), 1);
    EXPECT_EQ(rememberedMapsPath(), wxString::FromUTF8(other));
}

// The keyboard is somewhere after a load, so the next shortcut (Alt-T) works:
// in the viewer when the load brought it up, else in the window the user was in.
TEST_F(MapsCommands, LoadGivesTheFocusBack)
{
    const std::string path = textFile("set.xts", mapsFileXml(threeTestMaps()));
    for (int round : {1, 2}) {   // the viewer created, then shown again
        ASSERT_TRUE(raiseForKeys(frame()));
        runWithFileDialog(ids().loadMaps, path);
        const wxWindow* expected = round == 1 ? static_cast<wxWindow*>(frame()->viewer()) : frame();
        auto focusTop = []() -> wxWindow* { return wxWindow::FindFocus() ? wxGetTopLevelParent(wxWindow::FindFocus()) : nullptr; };
        pumpUntil([&] { return focusTop() == expected; });
        EXPECT_EQ(focusTop(), expected) << round;
    }
}

TEST_F(MapsCommands, RejectedFilesKeepStoreViewerAndRememberedPath)
{
    const std::string good = textFile("good.xts", mapsFileXml(threeTestMaps()));
    runWithFileDialog(ids().loadMaps, good);
    ASSERT_NE(frame()->viewer(), nullptr);
    ASSERT_EQ(frame()->viewer()->itemCount(), 3);

    struct Row {
        const char* name;
        std::string text;
        const char* message;
        off_t sparseSize = 0;   // the file grown to this size without data
    };
    const Row rows[] = {
        {"old.xts", mapsFileXml({{"X", 1, 1, 0}}, "1.00"), "The maps file version is not compatible!"},
        {"broken.xts", "<XTS version=\"1.0\"><HEADER></XTS>", "Unable to load maps file!"},
        {"empty.xts", "<?xml version=\"1.0\" ?>\n<!-- nothing -->\n", "The maps file is corrupted!"},
        {"picked by mistake.xts", "<?xml", "Unable to load maps file!", off_t(1) << 41},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        frame()->showStatus(wxEmptyString);
        const std::string path = textFile(row.name, row.text);
        if (row.sparseSize) {
            ASSERT_EQ(truncate(path.c_str(), row.sparseSize), 0);
        }
        runWithFileDialog(ids().loadMaps, path);
        EXPECT_EQ(statusText(frame()), row.message);
        EXPECT_EQ(frame()->workspace().definitions.mapCount, 3);
        EXPECT_EQ(frame()->viewer()->itemCount(), 3);
        EXPECT_EQ(rememberedMapsPath(), wxString::FromUTF8(good));
    }
}

// The chooser cannot be answered with a file that does not exist: call the load itself.
TEST_F(MapsCommands, MissingFileIsReportedAndOpensNoViewer)
{
    EXPECT_FALSE(mapsFileLoaded(loadMapsFile(*frame(), wxString::FromUTF8(files.file("absent.xts")))));
    EXPECT_EQ(statusText(frame()), "Maps file not found!");
    EXPECT_EQ(frame()->viewer(), nullptr);
}

TEST_F(MapsCommands, ExcessMapsAreDroppedWithANotice)
{
    std::vector<TestMap> maps;
    for (int i = 0; i < kMaxMaps + 3; ++i)
        maps.push_back({"M" + std::to_string(i), 1, 1, static_cast<std::uint32_t>(i)});
    runWithFileDialog(ids().loadMaps, textFile("big.xts", mapsFileXml(maps)));
    EXPECT_EQ(statusText(frame()), "Only the first 65535 maps were loaded.");
    EXPECT_EQ(frame()->workspace().definitions.mapCount, kMaxMaps);
    ASSERT_NE(frame()->viewer(), nullptr);
    EXPECT_EQ(frame()->viewer()->itemCount(), kMaxMaps);
    EXPECT_FALSE(rememberedMapsPath().empty());
}

TEST_F(MapsCommands, SaveWritesTheStoreAndReports)
{
    runWithFileDialog(ids().loadMaps, textFile("in.xts", mapsFileXml(threeTestMaps())));
    const std::string out = files.file("out.xts");
    runWithFileDialog(ids().saveMaps, out);
    EXPECT_EQ(statusText(frame()), "Maps file saved.");
    const std::string written = readText(out);
    EXPECT_NE(written.find("<XTS"), std::string::npos);
    EXPECT_NE(written.find("<title>Ignition</title>"), std::string::npos);
    // Saving does not replace the remembered file.
    EXPECT_EQ(rememberedMapsPath(), wxString::FromUTF8(files.file("in.xts")));

    // What was written loads back into the same list.
    sendMenuCommand(frame(), ids().newMaps);
    runWithFileDialog(ids().loadMaps, out);
    EXPECT_EQ(frame()->workspace().definitions.mapCount, 3);
    EXPECT_EQ(frame()->viewer()->tree()->GetItemText(frame()->viewer()->mapItem(1)),
              "Ignition (1A2B0) [16x12]");
}

// The load dialog lists *.xts: a name typed without an extension gets it, and
// a file the completed name would replace is replaced only when the user agrees.
TEST_F(MapsCommands, SaveAddsTheExtensionAndAsksBeforeReplacing)
{
    runWithFileDialog(ids().loadMaps, textFile("in.xts", mapsFileXml(threeTestMaps())));
    const std::string completed = files.file("plain.xts");
    runWithFileDialog(ids().saveMaps, files.file("plain"));
    EXPECT_EQ(statusText(frame()), "Maps file saved.");
    EXPECT_NE(readText(completed).find("<title>Ignition</title>"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(files.file("plain")));
    runWithFileDialog(ids().saveMaps, files.file("notes.txt"));
    EXPECT_TRUE(std::filesystem::exists(files.file("notes.txt")));

    writeText(completed, "old contents");
    frame()->showStatus("before");
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().saveMaps), ExpectFileDialog(files.file("plain")),
                  wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_EQ(readText(completed), "old contents");
    EXPECT_EQ(statusText(frame()), "before");
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().saveMaps), ExpectFileDialog(files.file("plain")),
                  wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(statusText(frame()), "Maps file saved.");
    EXPECT_NE(readText(completed).find("<XTS"), std::string::npos);
}

TEST_F(MapsCommands, FailedSaveKeepsTheOldFile)
{
    const std::string out = files.file("keep.xts");
    writeText(out, "old contents");
    setWriteFaultHookForTesting([](std::size_t requested) { return requested / 2; });
    runWithFileDialog(ids().saveMaps, out);
    setWriteFaultHookForTesting({});
    EXPECT_EQ(statusText(frame()), "Unable to save maps file!");
    EXPECT_EQ(readText(out), "old contents");
}

TEST_F(MapsCommands, CancelledDialogsChangeNothing)
{
    frame()->showStatus("before");
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().loadMaps), ExpectFileDialog("", wxID_CANCEL));
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().saveMaps), ExpectFileDialog("", wxID_CANCEL));
    EXPECT_EQ(statusText(frame()), "before");
    EXPECT_EQ(frame()->viewer(), nullptr);
    EXPECT_TRUE(rememberedMapsPath().empty());
}

} // namespace
