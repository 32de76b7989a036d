// The table editor on the real windows: how it opens (main window and map
// viewer, with the refusals), what it shows, the view switches, direct edits,
// Apply and Cancel, and the selection the user makes with mouse and keys.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/grid.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>

#include "app/TorvaneStudioFrame.h"
#include "chart/simpleChart.h"
#include "commands/maps_commands_ui.h"
#include "commands/rom_commands_ui.h"
#include "definitions/maps_file.h"
#include "gui_test_support.h"
#include "tableeditor/TableEditorFrame.h"
#include "viewer/MapViewerFrame.h"
#include "viewer/viewer_commands_ui.h"

namespace {

enum TestMapSlot { Ignition, NoCells, Outside, AxisOutside };

// Ignition: 3 columns (labels 1000..3000, RPM) x 2 rows (scaled 10..20),
// signed 16-bit cells, factor 0.5, one place, at 0x10, row by row.
DefinitionStore testMaps()
{
    DefinitionStore store;
    store.mapCount = 4;
    MapDefinition& ignition = store.maps[Ignition];
    ignition.title = "Ignition";
    AxisDefinition& x = ignition.axes[AxisX];
    x.count = 3;
    x.units = "RPM";
    x.labels[0] = 1000;
    x.labels[1] = 2000;
    x.labels[2] = 3000;
    AxisDefinition& y = ignition.axes[AxisY];
    y.count = 2;
    y.embeddedinfotype = SourceScaled;
    y.decimalpl = 1;
    y.labels[0] = 10;
    y.labels[1] = 20;
    AxisDefinition& z = ignition.axes[AxisZ];
    z.address = 0x10;
    z.bits = 16;
    z.flags = AxisSigned;
    z.factor = 0.5;
    z.decimalpl = 1;
    z.units = "deg";
    store.maps[NoCells] = ignition;
    store.maps[NoCells].title = "No cells";
    store.maps[NoCells].axes[AxisY].count = 0;
    store.maps[Outside] = ignition;
    store.maps[Outside].title = "Outside";
    store.maps[Outside].axes[AxisZ].address = 60;   // 12 bytes from 60 in a 64-byte image
    store.maps[AxisOutside] = ignition;
    store.maps[AxisOutside].title = "Axis outside";
    store.maps[AxisOutside].axes[AxisX].embeddedinfotype = SourceEmbedded;
    store.maps[AxisOutside].axes[AxisX].bits = 16;
    store.maps[AxisOutside].axes[AxisX].address = 62;
    return store;
}

// 64 bytes; the Ignition cells (0x10..0x1B) hold 10 20 -4 / 7 0 100.
std::vector<std::uint8_t> testImage(unsigned seed = 1)
{
    std::vector<std::uint8_t> image = randomBytes(64, seed);
    const std::vector<std::uint8_t> cells = {0, 10, 0, 20, 0xFF, 0xFC, 0, 7, 0, 0, 0, 100};
    std::copy(cells.begin(), cells.end(), image.begin() + 0x10);
    return image;
}

std::vector<TableEditorFrame*> openEditors()
{
    std::vector<TableEditorFrame*> editors;
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* editor = dynamic_cast<TableEditorFrame*>(window); editor && !wxTheApp->IsScheduledForDestruction(editor))
            editors.push_back(editor);
    return editors;
}

class TableEditorTest : public testing::Test {
protected:
    TorvaneStudioFrame* frame() const { return window.frame(); }

    void writeMaps()
    {
        mapsPath = files.file("maps.xts");
        ASSERT_EQ(saveMapsFile(testMaps(), mapsPath), MapsFileStatus::Saved);
    }
    void loadImage(int buffer, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = files.file("image" + std::to_string(buffer) + ".bin");
        writeBytes(path, bytes);
        wxString name = "image.bin";
        wxString wxPath = wxString::FromUTF8(path);
        ASSERT_EQ(loadRomFile(*frame(), buffer, false, name, wxPath), static_cast<std::int32_t>(bytes.size()));
    }
    // Maps loaded (which opens the viewer), an image in BIN #1, a map selected.
    void prepare(int slot = Ignition)
    {
        writeMaps();
        loadMapsFile(*frame(), wxString::FromUTF8(mapsPath));
        loadImage(0, testImage());
        selectMap(slot);
    }
    void selectMap(int slot)
    {
        MapViewerFrame* viewer = frame()->viewer();
        viewer->tree()->SelectItem(slot < 0 ? viewer->rootItem() : viewer->mapItem(slot));
        pumpEvents(0);
    }
    TableEditorFrame* openThroughMenu()
    {
        sendMenuCommand(frame(), frame()->commandIds().tableEditor);
        pumpEvents(50);
        const std::vector<TableEditorFrame*> editors = openEditors();
        return editors.empty() ? nullptr : editors.back();
    }
    void edit(TableEditorFrame* editor, int row, int col, const wxString& text)
    {
        wxGrid* grid = editor->grid();
        grid->SetGridCursor(row, col);
        grid->EnableCellEditControl();
        wxGridCellEditor* cellEditor = grid->GetCellEditor(row, col);
        dynamic_cast<wxTextCtrl*>(cellEditor->GetControl())->SetValue(text);
        cellEditor->DecRef();
        grid->DisableCellEditControl();
        pumpEvents(0);
    }

    ScopedHome home;
    TempDir files;
    MainWindowFixture window;
    std::string mapsPath;
};

TEST_F(TableEditorTest, OpensThroughTheMainWindowOnlyWhenEverythingIsThere)
{
    const MainCommandIds& ids = frame()->commandIds();
    EXPECT_EQ(openThroughMenu(), nullptr);
    EXPECT_EQ(statusText(frame()), "No maps have been loaded!");

    writeMaps();
    ASSERT_EQ(loadMapsFile(frame()->workspace().definitions, mapsPath), MapsFileStatus::Loaded);
    EXPECT_EQ(openThroughMenu(), nullptr);
    EXPECT_EQ(statusText(frame()), "Map viewer not initialized!");

    showMapViewer(*frame());
    EXPECT_EQ(openThroughMenu(), nullptr);
    EXPECT_EQ(statusText(frame()), "No BIN file has been loaded in the selected buffer!");

    loadImage(0, testImage());
    EXPECT_EQ(openThroughMenu(), nullptr);
    EXPECT_EQ(statusText(frame()), "Please select a map first in the map viewer!");

    struct Refusal {
        int slot;
        const char* message;
    } const refusals[] = {{NoCells, "The map has no cells!"},
                          {Outside, "The map does not fit in the selected BIN!"},
                          {AxisOutside, "The map does not fit in the selected BIN!"}};
    for (const Refusal& refusal : refusals) {
        selectMap(refusal.slot);
        EXPECT_EQ(openThroughMenu(), nullptr);
        EXPECT_EQ(statusText(frame()), refusal.message);
    }

    selectMap(Ignition);
    sendMenuCommand(frame(), ids.toolTableEditor);
    pumpEvents(50);
    ASSERT_EQ(openEditors().size(), 1u);
    TableEditorFrame* editor = openEditors().front();
    EXPECT_EQ(editor->GetParent(), frame());
    EXPECT_TRUE(editor->IsShown());
    EXPECT_EQ(editor->GetTitle(), "[Source BIN #1]");
}

TEST_F(TableEditorTest, OpensFromTheViewerAsItsChild)
{
    prepare(Outside);
    loadImage(1, testImage(2));
    frame()->workspace().selectedBuffer = 1;
    MapViewerFrame* viewer = frame()->viewer();
    auto activate = [&] {
        wxTreeEvent event(wxEVT_TREE_ITEM_ACTIVATED, viewer->tree(), viewer->tree()->GetSelection());
        viewer->tree()->GetEventHandler()->ProcessEvent(event);
        pumpEvents(50);
    };
    activate();
    EXPECT_TRUE(openEditors().empty());
    EXPECT_EQ(statusText(frame()), "The map does not fit in the selected BIN!");

    selectMap(Ignition);
    activate();
    ASSERT_EQ(openEditors().size(), 1u);
    EXPECT_EQ(openEditors().front()->GetParent(), viewer);
    EXPECT_EQ(openEditors().front()->GetTitle(), "[Source BIN #2]");
}

TEST_F(TableEditorTest, ShowsTheMapWithItsControls)
{
    prepare();
    TableEditorFrame* editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    wxGrid* grid = findControl<wxGrid>(editor, "ID_GRID1");
    ASSERT_EQ(grid, editor->grid());
    EXPECT_EQ(grid->GetNumberRows(), 2);
    EXPECT_EQ(grid->GetNumberCols(), 3);
    EXPECT_EQ(grid->GetColLabelValue(2), "3000");
    EXPECT_EQ(grid->GetRowLabelValue(1), "20.0");
    EXPECT_EQ(grid->GetCellValue(0, 2), "-2.0");
    EXPECT_EQ(grid->GetCellValue(1, 2), "50.0");
    EXPECT_TRUE(grid->IsEditable());
    EXPECT_FALSE(grid->CanDragColSize(0));

    struct Text {
        const char* name;
        const char* label;
    } const texts[] = {{"ID_STATICTEXT1", "X: RPM"}, {"ID_STATICTEXT2", "Y Axis"},
                       {"ID_STATICTEXT3", "Ignition - [  / RPM / deg ]"}};
    for (const Text& text : texts) {
        auto* label = findControl<wxStaticText>(editor, text.name);
        ASSERT_NE(label, nullptr) << text.name;
        EXPECT_EQ(label->GetLabel(), text.label);
    }
    struct Control {
        const char* name;
        const char* label;   // or null
        const char* tip;     // or null
    } const controls[] = {
        {"ID_RADIOBUTTON1", "Raw", nullptr},
        {"ID_RADIOBUTTON2", "Perc.", nullptr},
        {"ID_RADIOBUTTON3", "Eng.", nullptr},
        {"ID_SPINCTRL1", nullptr, nullptr},
        {"ID_TEXTCTRL1", nullptr, nullptr},
        {"ID_TEXTCTRL6", nullptr, nullptr},
        {"ID_BITMAPBUTTON1", nullptr, "Increment raw value"},
        {"ID_BITMAPBUTTON2", nullptr, "Decrement raw value"},
        {"ID_BITMAPBUTTON3", nullptr, "Increment percentage value"},
        {"ID_BITMAPBUTTON4", nullptr, "Decrement percentage value"},
        {"ID_BITMAPBUTTON5", nullptr, "Increment engineering value"},
        {"ID_BITMAPBUTTON6", nullptr, "Decrement engineering value"},
        {"ID_BITMAPBUTTON7", nullptr, "Function not available!"},
        {"ID_BITMAPBUTTON9", nullptr, "Show statistics of selected cells"},
        {"ID_BITMAPBUTTON11", nullptr, "Function not available!"},
        {"ID_BUTTON1", "Fill with value", "Fill cells with fixed value"},
        {"ID_BUTTON2", "Select by value", "Select cells by value"},
        {"ID_BUTTON3", "Select >=", nullptr},
        {"ID_BUTTON4", "Interpolation", nullptr},
        {"ID_PANEL1", nullptr, nullptr},
        {"ID_PANEL3", nullptr, nullptr},
    };
    for (const Control& control : controls) {
        wxWindow* found = findByName(editor, control.name);
        ASSERT_NE(found, nullptr) << control.name;
        if (control.label) {
            EXPECT_EQ(found->GetLabel(), control.label) << control.name;
        }
        if (control.tip) {
            EXPECT_EQ(found->GetToolTipText(), control.tip) << control.name;
        }
    }
    EXPECT_TRUE(editor->rawValueControl()->GetValue() == 0 && editor->operationMode() == OperationMode::Raw);
    EXPECT_EQ(editor->rawValueControl()->GetMin(), -2147483647);
    EXPECT_EQ(editor->rawValueControl()->GetMax(), 2147483646);

    wxStatusBar* status = findControl<wxStatusBar>(editor, "ID_STATUSBAR1");
    ASSERT_EQ(status, editor->GetStatusBar());
    EXPECT_EQ(status->GetFieldsCount(), 2);
    EXPECT_EQ(status->GetStatusWidth(0), 300);

    const TableEditorIds& ids = editor->commandIds();
    wxMenuBar* menus = editor->GetMenuBar();
    struct Item {
        int id;
        const char* label;
        const char* help;
    } const items[] = {
        {ids.apply, "Apply\tAlt-F4", "Apply modifications to BIN"},
        {ids.cancel, "Cancel", "Close without saving modifications"},
        {ids.fill, "Fill with value", "Fill selected cells with a value"},
        {ids.copyFromBin[2], "Copy from BIN #3", "Function not available!"},
        {ids.compareBin[1], "Compare BIN #2", "Compare current BIN to BIN #2"},
        {ids.highlightDifferences, "Highlight differences",
         "Highlight the cells that are different between the current BIN and the compare BIN"},
        {ids.selectGreaterOrEqual, "Select >= value", "Select cells which are greater then or equal to by value"},
        {ids.viewer3d, "3D Map Viewer", "Show 3D view of the map"},
        {ids.toolEditor, "Tool Editor\tAlt-T", "Function not available!"},
    };
    for (const Item& item : items) {
        wxMenuItem* menuItem = menus->FindItem(item.id);
        ASSERT_NE(menuItem, nullptr) << item.label;
        EXPECT_EQ(menuItem->GetItemLabel(), item.label);
        EXPECT_EQ(menuItem->GetHelp(), item.help);
    }
    EXPECT_EQ(menus->GetMenuCount(), 8u);
    EXPECT_EQ(menus->GetMenuLabel(7), "&Plugins");
    EXPECT_TRUE(menus->IsChecked(ids.viewGraphs) && menus->IsChecked(ids.viewControls));
    // Only BIN #1 holds an image.
    EXPECT_TRUE(menus->IsEnabled(ids.compareBin[0]));
    EXPECT_FALSE(menus->IsEnabled(ids.compareBin[1]));
    EXPECT_FALSE(menus->IsEnabled(ids.compareBin[2]));

    wxToolBar* tools = editor->GetToolBar();
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->GetToolsCount(), 8u);
    EXPECT_EQ(tools->GetToolShortHelp(ids.toolCancel), "Close table editor");
    EXPECT_EQ(tools->GetToolShortHelp(ids.toolView3d), "View map in 3D");

    // The charts follow the current cell.
    grid->SetGridCursor(1, 2);
    pumpEvents(0);
    EXPECT_EQ(editor->xChart()->count(), 3);
    EXPECT_EQ((std::vector<double>(editor->xChart()->values(), editor->xChart()->values() + 3)),
              (std::vector<double>{3.5, 0.0, 50.0}));
    EXPECT_EQ(editor->xChart()->highlightIndex(), 2);
    EXPECT_EQ((std::vector<double>(editor->yChart()->values(), editor->yChart()->values() + 2)),
              (std::vector<double>{-2.0, 50.0}));
    EXPECT_EQ(editor->yChart()->highlightIndex(), 1);
}

TEST_F(TableEditorTest, ViewSwitchesFollowTheirRules)
{
    prepare();
    std::vector<std::uint8_t> other = testImage();
    other[0x13] = 18;   // (0, 1): 20 -> 18
    loadImage(1, other);
    TableEditorFrame* editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    const TableEditorIds& ids = editor->commandIds();
    wxMenuBar* menus = editor->GetMenuBar();
    auto toggle = [&](int id) {
        menus->Check(id, !menus->IsChecked(id));
        sendMenuCommand(editor, id);
    };

    toggle(ids.showDifferences);   // no compare BIN yet
    EXPECT_EQ(statusText(editor), "Please select a BIN file for comparison.");
    EXPECT_FALSE(menus->IsChecked(ids.showDifferences));

    toggle(ids.compareBin[0]);
    toggle(ids.compareBin[1]);   // unchecks the first
    EXPECT_FALSE(menus->IsChecked(ids.compareBin[0]));
    EXPECT_EQ(editor->GetTitle(), "[Source BIN #1 : Compare BIN #2]");
    sendMenuCommand(editor, ids.toolShowDifferences);   // the tool toggles the item
    EXPECT_TRUE(editor->differenceView());
    EXPECT_EQ(editor->cellText(0, 1), "1.0");
    toggle(ids.showRaw);
    EXPECT_EQ(editor->cellText(0, 1), "2");
    sendMenuCommand(editor, ids.toolHighlightDifferences);
    EXPECT_EQ(editor->gridModel().look(0, 1).background, kDifferenceBlue);
    EXPECT_NE(editor->gridModel().look(0, 0).background, kDifferenceBlue);

    toggle(ids.compareBin[1]);   // no compare BIN: differences go too
    EXPECT_EQ(editor->GetTitle(), "[Source BIN #1]");
    EXPECT_FALSE(menus->IsChecked(ids.showDifferences));
    EXPECT_EQ(editor->cellText(0, 1), "20");

    toggle(ids.viewGraphs);
    EXPECT_FALSE(findByName(editor, "ID_PANEL1")->IsShown());
    toggle(ids.viewControls);
    EXPECT_FALSE(findByName(editor, "ID_PANEL3")->IsShown());
}

TEST_F(TableEditorTest, DirectEditsReachTheImageOnlyOnApply)
{
    prepare();
    const std::vector<std::uint8_t> original = frame()->workspace().buffers[0].data;

    TableEditorFrame* editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    edit(editor, 0, 0, "12.34");   // 12.3 -> raw 24
    EXPECT_EQ(editor->cellText(0, 0), "12.34");
    edit(editor, 1, 2, "abc");
    EXPECT_EQ(statusText(editor), "This is not a valid number!");
    EXPECT_EQ(editor->gridModel().look(1, 2).text, TextColour::Red);
    EXPECT_EQ(frame()->workspace().buffers[0].data, original);   // nothing before Apply

    sendMenuCommand(editor, editor->commandIds().apply);
    pumpEvents(20);
    EXPECT_TRUE(openEditors().empty());
    std::vector<std::uint8_t> expected = original;
    expected[0x11] = 24;
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);

    // Cancel discards whatever was edited.
    editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    edit(editor, 1, 1, "99");
    sendMenuCommand(editor, editor->commandIds().toolCancel);
    pumpEvents(20);
    EXPECT_TRUE(openEditors().empty());
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);
}

TEST_F(TableEditorTest, SelectionFollowsMouseKeysAndMenus)
{
    prepare();
    TableEditorFrame* editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    editor->Raise();
    pumpEvents(300);
    wxGrid* grid = editor->grid();
    auto centre = [&](int row, int col) {
        const wxRect rect = grid->CellToRect(row, col);
        const wxPoint inWindow = grid->CalcScrolledPosition(rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2));
        return grid->GetGridWindow()->ClientToScreen(inWindow);
    };
    wxUIActionSimulator mouse;
    mouse.MouseMove(centre(0, 0));
    pumpEvents(50);
    mouse.MouseDown();
    pumpEvents(50);
    mouse.MouseMove(centre(1, 1));
    pumpEvents(50);
    mouse.MouseUp();
    pumpEvents(50);
    CellSelection& selection = editor->selection();
    EXPECT_EQ(selection.count(), 4u);
    EXPECT_FALSE(selection.isSelected(0, 2));

    // What is drawn is the mask: selection colours on selected cells only.
    auto background = [&](int row, int col) { return grid->GetCellBackgroundColour(row, col); };
    EXPECT_EQ(background(1, 1), grid->GetSelectionBackground());
    EXPECT_NE(background(1, 2), grid->GetSelectionBackground());

    // A pattern set by an operation shows, and the next ctrl-click builds on it.
    selection.clear();
    selection.set(0, 2);
    selection.set(1, 0);
    editor->selectionChanged();
    EXPECT_EQ(background(0, 2), grid->GetSelectionBackground());
    EXPECT_NE(background(0, 0), grid->GetSelectionBackground());
    mouse.MouseMove(centre(1, 2));
    pumpEvents(50);
    mouse.KeyDown(WXK_CONTROL);
    mouse.MouseClick();
    mouse.KeyUp(WXK_CONTROL);
    pumpEvents(50);
    EXPECT_EQ(selection.count(), 3u);
    EXPECT_TRUE(selection.isSelected(1, 2));

    const TableEditorIds& ids = editor->commandIds();
    sendMenuCommand(editor, ids.invertSelection);
    EXPECT_EQ(selection.count(), 3u);
    EXPECT_TRUE(selection.isSelected(0, 0));
    sendMenuCommand(editor, ids.clearSelection);
    EXPECT_EQ(selection.count(), 0u);
    sendMenuCommand(editor, ids.selectAll);
    EXPECT_EQ(selection.count(), 6u);
    EXPECT_EQ(background(0, 0), grid->GetSelectionBackground());
}

} // namespace
