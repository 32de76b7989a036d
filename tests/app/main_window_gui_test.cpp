// The main window as the user first sees it: controls found by window name,
// the menu bar and toolbar item by item, the selection radios, the commands
// that do nothing, About and Quit.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include "about/AboutBoxDialog.h"
#include "app/TorvaneStudioFrame.h"
#include "bin_panel_names.h"
#include "gui_test_support.h"

namespace {

using MainWindowTest = MainWindowTestBase;

const char* const kRowLabels[8] = {"Size", "ECU", "HW", "SW", "Chk. Type", "Chk. 8", "Chk. 16", "Chk. 32"};

TEST_F(MainWindowTest, StartsCentredWithEmptyBinPanelsAndBinOneSelected)
{
    const wxRect window = frame()->GetRect();
    const wxRect screen = wxDisplay(frame()).GetClientArea();
    EXPECT_NEAR(window.x + window.width / 2, screen.x + screen.width / 2, 1);
    EXPECT_NEAR(window.y + window.height / 2, screen.y + screen.height / 2, 1);
    EXPECT_EQ(frame()->GetTitle(), "Torvane Studio");
    EXPECT_NE(findControl<wxPanel>(frame(), "ID_PANEL1"), nullptr);

    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index + 1);
        const BinPanelNames& names = kBinPanels[index];

        auto* radio = findControl<wxRadioButton>(frame(), names.radio);
        ASSERT_NE(radio, nullptr);
        EXPECT_EQ(radio->GetLabel(), names.radioLabel);
        EXPECT_EQ(radio->GetToolTipText(), names.radioTip);
        EXPECT_EQ(radio->GetValue(), index == 0);

        auto* fileBox = findControl<wxTextCtrl>(frame(), names.fileBox);
        ASSERT_NE(fileBox, nullptr);
        EXPECT_EQ(fileBox->GetValue(), "");
        EXPECT_FALSE(fileBox->IsEditable());

        auto* button = findControl<wxButton>(frame(), names.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->GetLabel(), "...");
        EXPECT_EQ(button->GetToolTipText(), names.buttonTip);

        for (int row = 0; row < 8; ++row) {
            SCOPED_TRACE(kRowLabels[row]);
            auto* label = findControl<wxStaticText>(frame(), staticName(names.labels[row]));
            auto* value = findControl<wxStaticText>(frame(), staticName(names.values[row]));
            ASSERT_NE(label, nullptr);
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(label->GetLabel(), kRowLabels[row]);
            EXPECT_EQ(value->GetLabel(), "---");
        }
    }

    auto* statusBar = findControl<wxStatusBar>(frame(), "ID_STATUSBAR1");
    ASSERT_NE(statusBar, nullptr);
    EXPECT_EQ(statusBar, frame()->GetStatusBar());
    EXPECT_EQ(statusBar->GetFieldsCount(), 2);
    EXPECT_FALSE(statusBar->HasFlag(wxSTB_SIZEGRIP));
    EXPECT_EQ(statusBar->GetStatusWidth(0), 400);
    EXPECT_EQ(statusBar->GetStatusWidth(1), -1);
    EXPECT_EQ(statusText(frame(), 1), "");

    auto* toolBar = findControl<wxToolBar>(frame(), "ID_TOOLBAR1");
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(toolBar, frame()->GetToolBar());

    EXPECT_EQ(frame()->workspace().selectedBuffer, 0);
    for (const RomBuffer& buffer : frame()->workspace().buffers)
        EXPECT_EQ(buffer.size, 0);
}

// Menu title, submenu ("" = top level), label, help, identifier; a separator
// is {title, submenu, "-", "", 0}.
using MenuEntry = std::tuple<std::string, std::string, std::string, std::string, int>;

void collectMenu(const wxString& title, const wxString& submenu, wxMenu* menu, std::vector<MenuEntry>& entries)
{
    for (const wxMenuItem* item : menu->GetMenuItems()) {
        if (item->IsSeparator())
            entries.emplace_back(title.utf8_string(), submenu.utf8_string(), "-", "", 0);
        else
            entries.emplace_back(title.utf8_string(), submenu.utf8_string(), item->GetItemLabel().utf8_string(),
                                 item->GetHelp().utf8_string(), item->GetId());
        if (item->IsSubMenu())
            collectMenu(title, item->GetItemLabel(), item->GetSubMenu(), entries);
    }
}

TEST_F(MainWindowTest, MenuBarAndToolBarMatchTheCommandTable)
{
    const MainCommandIds& id = ids();
    // An added item: its identifier is found by its label, the rest is checked as for the others.
    const int binDifferences = frame()->GetMenuBar()->FindMenuItem("&Windows", "BIN Differences");
    EXPECT_NE(binDifferences, wxNOT_FOUND);
    const int completeXdf = frame()->GetMenuBar()->FindMenuItem("&Maps", "TunerPro XDF with addresses and scaling");
    EXPECT_NE(completeXdf, wxNOT_FOUND);
    const char* const na = "Function not available!";
    const std::vector<MenuEntry> expected = {
        {"&File", "", "Load BIN\tAlt-1", "Load BIN file from your hard drive", id.loadBin},
        {"&File", "", "Save BIN\tAlt-4", "Save BIN file to your hard drive", id.saveBin},
        {"&File", "", "Save BIN as ...\tAlt-7", "Save BIN file to your hard drive with a different name",
         id.saveBinAs},
        {"&File", "", "-", "", 0},
        {"&File", "", "Append to BIN", na, id.appendBin},
        {"&File", "", "Overload to BIN", na, id.overloadBin},
        {"&File", "", "-", "", 0},
        {"&File", "", "Split BIN", na, id.splitBin},
        {"&File", "", "Save Partial BIN", na, id.savePartialBin},
        {"&File", "", "-", "", 0},
        {"&File", "", "Quit\tAlt-F4", "Quit the application", id.quit},
        {"&Maps", "", "New Map Definitions \tAlt-N", "Clear definitions from memory", id.newMaps},
        {"&Maps", "", "Load Map Definitions\tAlt-L", "Load definition file from hard drive", id.loadMaps},
        {"&Maps", "", "Save Map Definitions\tAlt-W", "Save definition file to hard drive", id.saveMaps},
        {"&Maps", "", "-", "", 0},
        {"&Maps", "", "Add New Map\tAlt-A", "Create a new map", id.addMap},
        {"&Maps", "", "Edit Selected Map\tAlt-I", "Edit the currently selected map", id.editMap},
        {"&Maps", "", "Delete Selected Map\tAlt-D", "Delete the currently selected map", id.deleteMap},
        {"&Maps", "", "Duplicate Selected Map\tAlt-U", "Duplicate the currently selected map", id.duplicateMap},
        {"&Maps", "", "-", "", 0},
        {"&Maps", "", "Import", "Import definitions from other formats", id.importMenu},
        {"&Maps", "Import", "TunerPro (XDF v1.50)", "Import TunerPro XDF definition files", id.importXdf},
        {"&Maps", "Import", "TunerPro XDF with addresses and scaling",
         "Import TunerPro XDF definition files with where each map lies and how it scales", completeXdf},
        {"&Maps", "", "Export", "", id.exportMenu},
        {"&Maps", "Export", "Map List", na, id.exportMapList},
        {"&Maps", "Export", "Map Data", na, id.exportMapData},
        {"&Modify", "", "Copy Buffers", "Functions to copy BIN buffers between one another", id.copyBuffersMenu},
        {"&Modify", "Copy Buffers", "Copy BIN #1 to BIN #2", "Copy BIN #1 to BIN #2", id.copyBuffer[0]},
        {"&Modify", "Copy Buffers", "Copy BIN #1 to BIN #3", "Copy BIN #1 to BIN #3", id.copyBuffer[1]},
        {"&Modify", "Copy Buffers", "Copy BIN #2 to BIN #1", "Copy BIN #2 to BIN #1", id.copyBuffer[2]},
        {"&Modify", "Copy Buffers", "Copy BIN #2 to BIN #3", "Copy BIN #2 to BIN #3", id.copyBuffer[3]},
        {"&Modify", "Copy Buffers", "Copy BIN #3 to BIN #1", "Copy BIN #3 to BIN #1", id.copyBuffer[4]},
        {"&Modify", "Copy Buffers", "Copy BIN #3 to BIN #2", "Copy BIN #3 to BIN #2", id.copyBuffer[5]},
        {"&Options", "", "Preferences\tAlt-P", na, id.preferences},
        {"&Windows", "", "Definitions Viewer\tAlt-V", "Open map definitions window", id.definitionsViewer},
        {"&Windows", "", "Table Map Editor\tAlt-T", "Open map data in table form", id.tableEditor},
        {"&Windows", "", "2D Map Editor\tAlt-O", na, id.editor2d},
        {"&Windows", "", "BIN Differences", "List the maps and regions where two BINs differ", binDifferences},
        {"&Tools", "", "Tool Editor\tAlt-T", na, id.toolEditor},
        {"&Tools", "", "-", "", 0},
        {"&Plugins", "", "Checksum", "", id.pluginChecksum},
        {"&Plugins", "", "Flashing", "", id.pluginFlashing},
        {"&Help", "", "About\tF1", "Show info about this application", id.about},
    };
    wxMenuBar* menuBar = frame()->GetMenuBar();
    ASSERT_NE(menuBar, nullptr);
    std::vector<MenuEntry> actual;
    for (size_t i = 0; i < menuBar->GetMenuCount(); ++i)
        collectMenu(menuBar->GetMenuLabel(i), "", menuBar->GetMenu(i), actual);
    EXPECT_EQ(actual, expected);

    // Label, help (short and long alike), identifier; a separator is {"-", "", 0}.
    const std::vector<std::tuple<std::string, std::string, int>> expectedTools = {
        {"Load BIN", "Load BIN", id.loadBin},
        {"Save BIN", "Save BIN", id.saveBin},
        {"-", "", 0},
        {"Load Map", "Load Map Definitions", id.toolLoadMap},
        {"Map Viewer", "Definitions Map Viewer", id.toolMapViewer},
        {"Map Editor", "Definitions Map Editor", id.toolMapEditor},
        {"-", "", 0},
        {"Table Editor", "Table Editor", id.toolTableEditor},
        {"2D Editor", "2D Editor", id.tool2dEditor},
        {"-", "", 0},
        {"Preferences", "Preferences", id.toolPreferences},
        {"-", "", 0},
        {"About", "About", id.toolAbout},
        {"Quit", "Quit", id.toolQuit},
    };
    wxToolBar* toolBar = frame()->GetToolBar();
    ASSERT_NE(toolBar, nullptr);
    std::vector<std::tuple<std::string, std::string, int>> tools;
    for (size_t pos = 0; pos < toolBar->GetToolsCount(); ++pos) {
        const wxToolBarToolBase* tool = toolBar->GetToolByPos(static_cast<int>(pos));
        ASSERT_NE(tool, nullptr);
        if (tool->IsSeparator()) {
            tools.emplace_back("-", "", 0);
            continue;
        }
        tools.emplace_back(tool->GetLabel().utf8_string(), tool->GetShortHelp().utf8_string(), tool->GetId());
        EXPECT_EQ(tool->GetLongHelp(), tool->GetShortHelp()) << pos;
        EXPECT_EQ(tool->GetNormalBitmap().GetSize(), wxSize(48, 48)) << pos;
    }
    EXPECT_EQ(tools, expectedTools);
}

TEST_F(MainWindowTest, RadioButtonsStoreTheSelectedBuffer)
{
    Workspace& workspace = frame()->workspace();
    for (int index : {2, 1, 0, 2}) {
        SCOPED_TRACE(index);
        clickRadio(findControl<wxRadioButton>(frame(), kBinPanels[index].radio));
        EXPECT_EQ(workspace.selectedBuffer, index);
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(findControl<wxRadioButton>(frame(), kBinPanels[other].radio)->GetValue(), other == index);
        workspace.selectedBuffer = 0;   // selectedBuffer() must read the radios, not trust the field
        EXPECT_EQ(frame()->selectedBuffer(), index);
        EXPECT_EQ(workspace.selectedBuffer, index);
    }
}

TEST_F(MainWindowTest, CommandsWithoutActionChangeNothing)
{
    const MainCommandIds& id = ids();
    const int noAction[] = {id.appendBin,   id.overloadBin,    id.splitBin,      id.savePartialBin,
                            id.exportMapList, id.exportMapData, id.preferences,   id.editor2d,
                            id.toolEditor,  id.pluginChecksum, id.pluginFlashing, id.tool2dEditor,
                            id.toolPreferences};
    ModalDialogCounter dialogs;
    for (int command : noAction) {
        SCOPED_TRACE(command);
        sendMenuCommand(frame(), command);
        pumpEvents(5);
        ASSERT_TRUE(window.alive());
        EXPECT_EQ(statusText(frame(), 1), "");
    }
    EXPECT_EQ(dialogs.count(), 0);
    EXPECT_EQ(frame()->workspace().selectedBuffer, 0);
    EXPECT_TRUE(findControl<wxRadioButton>(frame(), "ID_RADIOBUTTON1")->GetValue());
    for (const BinPanelNames& names : kBinPanels) {
        EXPECT_EQ(findControl<wxTextCtrl>(frame(), names.fileBox)->GetValue(), "");
        EXPECT_EQ(findControl<wxStaticText>(frame(), staticName(names.values[0]))->GetLabel(), "---");
    }
}

// GTK gives Alt and a letter to the menu title of that mnemonic ("&Windows"
// for Alt-W) before any item's accelerator: a shortcut printed on an item
// that has a command must run the command instead.
TEST_F(MainWindowTest, PrintedShortcutsRunTheirCommands)
{
    ASSERT_TRUE(raiseForKeys(frame()));
    int menusOpened = 0;
    frame()->Bind(wxEVT_MENU_OPEN, [&menusOpened](wxMenuEvent&) { ++menusOpened; });
    ModalDialogCounter dialogs;
    wxUIActionSimulator().Char('W', wxMOD_ALT);   // Save Map Definitions asks for a file
    EXPECT_TRUE(pumpUntil([&] { return dialogs.count() > 0; }));
    EXPECT_EQ(dialogs.count(), 1);
    wxUIActionSimulator().Char('T', wxMOD_ALT);   // Table Map Editor, not "&Tools" nor its Tool Editor
    pumpUntil([&] { return statusText(frame(), 1) != ""; });
    pumpEvents(100);   // and nothing else
    EXPECT_EQ(statusText(frame(), 1), "No maps have been loaded!");
    EXPECT_EQ(menusOpened, 0);
    if (menusOpened > 0)
        wxUIActionSimulator().Char(WXK_ESCAPE);
}

TEST_F(MainWindowTest, AboutItemAndToolOpenTheAboutBox)
{
    for (int command : {ids().about, ids().toolAbout}) {
        wxTEST_DIALOG(sendMenuCommand(frame(), command), wxExpectDismissableModal<AboutBoxDialog>(wxID_OK));
        pumpEvents(5);
        EXPECT_TRUE(window.alive());
        EXPECT_EQ(statusText(frame(), 1), "");
    }
}

TEST_F(MainWindowTest, QuitItemAndToolCloseTheWindow)
{
    sendMenuCommand(frame(), ids().quit);
    pumpEvents(20);
    EXPECT_FALSE(window.alive());
    MainWindowFixture again;
    sendMenuCommand(again.frame(), again.frame()->commandIds().toolQuit);
    pumpEvents(20);
    EXPECT_FALSE(again.alive());
}

// A German desktop gets German texts (when a catalogue exists) but numbers
// must still be written with a point.
TEST(MainWindowLocale, NumbersStayInTheCLocaleOnAGermanDesktop)
{
    ScopedHome home;
    const char* old = std::getenv("LC_ALL");
    const std::string oldValue = old ? old : "";
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    {
        MainWindowFixture window;
        const std::string ctype = std::setlocale(LC_CTYPE, nullptr);
        const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        if (old)
            setenv("LC_ALL", oldValue.c_str(), 1);
        else
            unsetenv("LC_ALL");
        if (ctype.rfind("de_DE", 0) != 0)
            GTEST_SKIP() << "no German locale installed";
        EXPECT_EQ(numeric, "C");
        EXPECT_STREQ(text, "1.5");
        EXPECT_EQ(window.frame()->GetTitle(), "Torvane Studio");
    }
}

} // namespace
