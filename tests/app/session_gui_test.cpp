#include <fstream>
#include <map>

#include <gtest/gtest.h>
#include <wx/display.h>
#include <wx/fileconf.h>
#include <wx/filedlg.h>
#include <wx/log.h>
#include <wx/testing.h>
#include <wx/textctrl.h>

#include "app/TorvaneStudioFrame.h"
#include "bin_panel_names.h"
#include "gui_test_support.h"
#include "viewer/MapViewerFrame.h"
#include "viewer/viewer_test_maps.h"

namespace {

using Settings = std::map<std::string, std::string>;

const Settings kViewerPlace = {{"/WindowPositions/MapViewerFrameX", "700"},
                               {"/WindowPositions/MapViewerFrameY", "60"},
                               {"/WindowPositions/MapViewerFrameW", "420"},
                               {"/WindowPositions/MapViewerFrameH", "510"}};

class Session : public testing::Test {
protected:
    std::unique_ptr<wxFileConfig> openSettings() const
    {
        return std::make_unique<wxFileConfig>(wxEmptyString, wxEmptyString,
                                              wxString::FromUTF8(home.settingsFile()), wxEmptyString,
                                              wxCONFIG_USE_LOCAL_FILE);
    }
    void writeSettings(const Settings& values) const
    {
        auto store = openSettings();
        for (const auto& [key, value] : values)
            store->Write(wxString::FromUTF8(key), wxString::FromUTF8(value));
    }
    // Every key of the settings file with its value.
    Settings readSettings() const
    {
        Settings result;
        auto store = openSettings();
        wxString group, entry;
        long groupCookie = 0, entryCookie = 0;
        for (bool more = store->GetFirstGroup(group, groupCookie); more;
             more = store->GetNextGroup(group, groupCookie)) {
            store->SetPath("/" + group);
            for (bool e = store->GetFirstEntry(entry, entryCookie); e; e = store->GetNextEntry(entry, entryCookie))
                result[("/" + group + "/" + entry).utf8_string()] = store->Read(entry, wxString()).utf8_string();
            store->SetPath("/");
        }
        return result;
    }
    std::string binFile(const std::string& name, std::size_t size)
    {
        const std::string path = files.file(name);
        writeBytes(path, randomBytes(size, static_cast<unsigned>(size)));
        return path;
    }
    std::string mapsFile()
    {
        const std::string path = files.file("maps.xts");
        writeText(path, mapsFileXml(threeTestMaps()));
        return path;
    }
    // "file name box:size" of each BIN.
    static std::string bins(TorvaneStudioFrame* frame)
    {
        std::string text;
        for (int bin = 0; bin < 3; ++bin)
            text += (bin ? ", " : "") +
                    findControl<wxTextCtrl>(frame, kBinPanels[bin].fileBox)->GetValue().utf8_string() + ":" +
                    std::to_string(frame->workspace().buffers[bin].size);
        return text;
    }

    ScopedHome home;
    TempDir files;
};

TEST_F(Session, FirstRunWritesOnlyTheMainWindowPlace)
{
    MainWindowFixture window;
    const wxPoint position = window.frame()->GetPosition();
    EXPECT_EQ(window.frame()->viewer(), nullptr);
    EXPECT_TRUE(statusText(window.frame()).empty());
    window.close();

    const Settings settings = readSettings();
    EXPECT_EQ(settings, (Settings{{"/WindowPositions/TorvaneStudioFrameX", std::to_string(position.x)},
                                  {"/WindowPositions/TorvaneStudioFrameY", std::to_string(position.y)}}));
}

TEST_F(Session, RestoresRememberedFilesAndTheLastMessageWins)
{
    const std::string bin1 = binFile("one.bin", 100);
    const std::string bin3 = binFile("three.bin", 300);
    writeSettings({{"/OpenFiles/Bin1Path", bin1},
                   {"/OpenFiles/Bin1Filename", "one.bin"},
                   {"/OpenFiles/Bin2Path", files.file("deleted.bin")},
                   {"/OpenFiles/Bin2Filename", "deleted.bin"},
                   {"/OpenFiles/Bin3Path", bin3},
                   {"/OpenFiles/Bin3Filename", "three.bin"},
                   {"/OpenFiles/MapsPath", mapsFile()}});

    MainWindowFixture window;
    TorvaneStudioFrame* frame = window.frame();
    const Workspace& ws = frame->workspace();
    EXPECT_EQ(bins(frame), "one.bin:100, :0, three.bin:300");
    EXPECT_EQ(ws.buffers[2].path, bin3);
    EXPECT_EQ(ws.definitions.mapCount, 3);
    ASSERT_NE(frame->viewer(), nullptr);
    EXPECT_TRUE(frame->viewer()->IsShown());
    EXPECT_EQ(frame->viewer()->itemCount(), 3);
    EXPECT_EQ(statusText(frame), "Maps file loaded.");
}

TEST_F(Session, FailedReloadsLeaveTheirMessageAndTheRestLoads)
{
    struct Row {
        const char* what;
        Settings settings;
        const char* message;
        const char* bins;
        bool viewer;
    };
    const std::string bin = binFile("image.bin", 64);
    const Row rows[] = {
        {"deleted BIN is the last load", {{"/OpenFiles/Bin2Path", files.file("gone.bin")}, {"/OpenFiles/Bin2Filename", "gone.bin"},
                                          {"/OpenFiles/Bin1Path", bin}, {"/OpenFiles/Bin1Filename", "image.bin"}},
         "File not found!", "image.bin:64, :0, :0", false},
        {"path without file name is skipped silently", {{"/OpenFiles/Bin2Path", bin}}, "", ":0, :0, :0", false},
        {"missing maps file", {{"/OpenFiles/Bin1Path", bin}, {"/OpenFiles/Bin1Filename", "image.bin"},
                               {"/OpenFiles/MapsPath", files.file("gone.xts")}},
         "Maps file not found!", "image.bin:64, :0, :0", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove(home.settingsFile());
        writeSettings(row.settings);
        MainWindowFixture window;
        EXPECT_EQ(statusText(window.frame()), row.message);
        EXPECT_EQ(bins(window.frame()), row.bins);
        EXPECT_EQ(window.frame()->viewer() != nullptr, row.viewer);
    }
}

TEST_F(Session, WindowPlacesAreRestoredAndSaved)
{
    writeSettings(kViewerPlace);
    writeSettings({{"/OpenFiles/MapsPath", mapsFile()},
                   {"/WindowPositions/TorvaneStudioFrameX", "40"},
                   {"/WindowPositions/TorvaneStudioFrameY", "30"}});
    MainWindowFixture window;
    MapViewerFrame* viewer = window.frame()->viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(window.frame()->GetPosition(), wxPoint(40, 30));
    EXPECT_EQ(viewer->GetPosition(), wxPoint(700, 60));
    EXPECT_EQ(viewer->GetClientSize(), wxSize(420, 510));   // the inside: frames differ between window managers

    viewer->Move(710, 70);
    viewer->SetSize(430, 520);
    pumpEvents(20);
    const wxPoint framePosition = window.frame()->GetPosition();
    const wxPoint viewerPosition = viewer->GetPosition();
    const wxSize viewerSize = viewer->GetClientSize();
    window.close();

    Settings settings = readSettings();
    EXPECT_EQ(settings["/WindowPositions/TorvaneStudioFrameX"], std::to_string(framePosition.x));
    EXPECT_EQ(settings["/WindowPositions/TorvaneStudioFrameY"], std::to_string(framePosition.y));
    EXPECT_EQ(settings["/WindowPositions/MapViewerFrameX"], std::to_string(viewerPosition.x));
    EXPECT_EQ(settings["/WindowPositions/MapViewerFrameY"], std::to_string(viewerPosition.y));
    EXPECT_EQ(settings["/WindowPositions/MapViewerFrameW"], std::to_string(viewerSize.x));
    EXPECT_EQ(settings["/WindowPositions/MapViewerFrameH"], std::to_string(viewerSize.y));

    // Places off every screen (a monitor gone) and sizes beyond it come back
    // inside the screen.
    writeSettings({{"/WindowPositions/TorvaneStudioFrameX", "-3000"},
                   {"/WindowPositions/TorvaneStudioFrameY", "5000"},
                   {"/WindowPositions/MapViewerFrameX", "-900"},
                   {"/WindowPositions/MapViewerFrameY", "-700"},
                   {"/WindowPositions/MapViewerFrameW", "5000"},
                   {"/WindowPositions/MapViewerFrameH", "4000"}});
    MainWindowFixture again;
    ASSERT_NE(again.frame()->viewer(), nullptr);
    const wxRect screen = wxDisplay(again.frame()).GetClientArea();
    for (const wxTopLevelWindow* shown : {static_cast<wxTopLevelWindow*>(again.frame()),
                                          static_cast<wxTopLevelWindow*>(again.frame()->viewer())}) {
        SCOPED_TRACE(shown->GetName().utf8_string());
        EXPECT_TRUE(screen.Contains(shown->GetRect())) << shown->GetRect().x << "," << shown->GetRect().y << " "
                                                       << shown->GetRect().width << "x" << shown->GetRect().height;
    }
}

TEST_F(Session, ViewerPlaceIsKeptWhenTheViewerIsNotOpenAtClose)
{
    writeSettings(kViewerPlace);
    {
        // Never opened: the viewer keys are neither applied nor written.
        MainWindowFixture window;
        EXPECT_EQ(window.frame()->viewer(), nullptr);
        window.close();
    }
    {
        // Opened, then closed by the user.
        MainWindowFixture window;
        sendMenuCommand(window.frame(), window.frame()->commandIds().definitionsViewer);
        pumpEvents(100);
        window.frame()->viewer()->Move(5, 5);
        window.frame()->viewer()->Close();
        pumpEvents(20);
        window.close();
    }
    Settings settings = readSettings();
    for (const auto& [key, value] : kViewerPlace)
        EXPECT_EQ(settings[key], value) << key;
    EXPECT_EQ(settings.count("/WindowPositions/TorvaneStudioFrameX"), 1u);
}

TEST_F(Session, IncompletePlacesAreIgnored)
{
    wxPoint framePosition, viewerPosition;
    wxSize viewerSize;
    writeSettings({{"/OpenFiles/MapsPath", mapsFile()}});
    {
        MainWindowFixture window;
        ASSERT_NE(window.frame()->viewer(), nullptr);
        framePosition = window.frame()->GetPosition();
        viewerPosition = window.frame()->viewer()->GetPosition();
        viewerSize = window.frame()->viewer()->GetSize();
    }
    // Each place needs both of its values, and numbers.
    writeSettings({{"/WindowPositions/TorvaneStudioFrameX", "40"},
                   {"/WindowPositions/MapViewerFrameY", "60"},
                   {"/WindowPositions/MapViewerFrameW", "wide"},
                   {"/WindowPositions/MapViewerFrameH", "510"}});
    {
        MainWindowFixture window;
        ASSERT_NE(window.frame()->viewer(), nullptr);
        EXPECT_EQ(window.frame()->GetPosition(), framePosition);
        EXPECT_EQ(window.frame()->viewer()->GetPosition(), viewerPosition);
        EXPECT_EQ(window.frame()->viewer()->GetSize(), viewerSize);
    }
    // No size (as a minimised viewer once left it) is no size to restore.
    writeSettings({{"/WindowPositions/MapViewerFrameW", "0"}, {"/WindowPositions/MapViewerFrameH", "0"}});
    {
        MainWindowFixture window;
        ASSERT_NE(window.frame()->viewer(), nullptr);
        EXPECT_EQ(window.frame()->viewer()->GetSize(), viewerSize);
    }

    // A damaged file reports nothing (the toolkit would show its error in a
    // box), neither at start nor at the end.
    struct ErrorCount : wxLog {
        int errors = 0;
        void DoLogRecord(wxLogLevel level, const wxString&, const wxLogRecordInfo&) override
        {
            errors += level <= wxLOG_Warning;
        }
    };
    std::ofstream(home.settingsFile(), std::ios::app) << "[WindowPositions\nno equals sign\n";
    auto* counted = new ErrorCount;
    wxLog* const previous = wxLog::SetActiveTarget(counted);
    {
        MainWindowFixture window;
        EXPECT_NE(window.frame()->viewer(), nullptr);
    }
    EXPECT_EQ(counted->errors, 0);
    delete wxLog::SetActiveTarget(previous);
}

TEST_F(Session, LoadCommandsRememberTheirFiles)
{
    const std::string bin = binFile("chosen.bin", 32);
    const std::string maps = mapsFile();
    MainWindowFixture window;
    TorvaneStudioFrame* frame = window.frame();
    wxTEST_DIALOG(sendMenuCommand(frame, frame->commandIds().loadBin), ExpectFileDialog(bin));
    wxTEST_DIALOG(sendMenuCommand(frame, frame->commandIds().loadMaps), ExpectFileDialog(maps));
    pumpEvents(10);

    Settings settings = readSettings();
    EXPECT_EQ(settings["/OpenFiles/Bin1Path"], bin);
    EXPECT_EQ(settings["/OpenFiles/Bin1Filename"], "chosen.bin");
    EXPECT_EQ(settings["/OpenFiles/MapsPath"], maps);
    EXPECT_EQ(settings.count("/OpenFiles/Bin2Path"), 0u);
}

TEST_F(Session, RememberedPathsAreTakenLiterally)
{
    TempDir odd;
    const std::filesystem::path folder = odd.path() / "$HOME ${x} 100%";
    std::filesystem::create_directory(folder);
    const std::string bin = (folder / "a.bin").string();
    writeBytes(bin, randomBytes(16));
    {
        MainWindowFixture window;
        window.frame()->rememberBinFile(0, wxString::FromUTF8(bin), "a.bin");
        window.close();
    }
    MainWindowFixture window;
    EXPECT_EQ(window.frame()->workspace().buffers[0].size, 16);
    EXPECT_EQ(statusText(window.frame()), "File loaded successfully.");
}

} // namespace
