#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/grid.h>
#include <wx/notebook.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>

#include "app/TorvaneStudioFrame.h"
#include "commands/maps_commands_ui.h"
#include "definitions/map_dump.h"
#include "gui_test_support.h"
#include "mapedit/MapEditorDialog.h"
#include "viewer/MapViewerFrame.h"
#include "viewer/viewer_test_maps.h"

namespace {

using Act = std::function<void(MapEditorDialog&)>;

// Answers the map editor inside wxTEST_DIALOG: `act` sets controls and clicks a button.
class AnswerMapEditor : public wxExpectModalBase<MapEditorDialog, AnswerMapEditor> {
public:
    explicit AnswerMapEditor(Act act) : m_act(std::move(act)) {}

protected:
    int OnInvoked(MapEditorDialog* dialog) const override
    {
        m_act(*dialog);
        return dialog->GetReturnCode();
    }

private:
    Act m_act;
};

void choose(wxWindow* dialog, const char* name, int index)
{
    chooseItem(findControl<wxChoice>(dialog, name), index);
}

// SetValue sends the text event, as typing does.
void enter(wxWindow* dialog, const char* name, const char* text)
{
    findControl<wxTextEntry>(dialog, name)->SetValue(text);
}

void apply(MapEditorDialog& dialog) { clickButton(findControl<wxButton>(&dialog, "ID_BUTTON1")); }
void cancel(MapEditorDialog& dialog) { clickButton(findControl<wxButton>(&dialog, "ID_BUTTON3")); }
Act retitle(const char* title)
{
    return [title](MapEditorDialog& d) {
        enter(&d, "ID_TEXTCTRL1", title);
        apply(d);
    };
}

// "row label=value" per row of a label grid, then the column label.
std::string gridText(wxWindow* dialog, const char* name)
{
    auto* grid = findControl<wxGrid>(dialog, name);
    std::string text;
    for (int row = 0; row < grid->GetNumberRows(); ++row)
        text += (grid->GetRowLabelValue(row) + "=" + grid->GetCellValue(row, 0) + " ").utf8_string();
    return text + "[" + grid->GetColLabelValue(0).utf8_string() + "]";
}

class MapEditor : public testing::Test {
protected:
    void SetUp() override
    {
        MapDefinition& map = workspace->definitions.maps[0];
        map.title = "Ignition";
        map.axes[AxisX] = {"x", 2, 0, 16, "RPM", 0, 2, 2, SourceManual, {500, 1000.5}, 1, 0};
        map.axes[AxisY] = {"y", 0, 0x10, 16, "Load", 1, 3, 1, SourceScaled, {500, 6500}, 0.1, 0};
        map.axes[AxisZ] = {"z", 3, 0x7FFF0, 8, "deg", 2, 0, 1, 0, {}, 0.00390625, -40};
        workspace->buffers[0].data = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x64, 0, 0xC8, 1, 0x2C};
        workspace->buffers[0].size = 22;
    }
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
};

TEST_F(MapEditor, LoadThenApplyOrCancelLeavesTheSlotAsItWas)
{
    const std::string before = dumpMap(workspace->definitions.maps[0]);
    // Apply unchanged; change every page, then Cancel, the close box or Escape.
    for (int way : {0, 1, 2, 3}) {
        MapEditorDialog dialog(nullptr);
        dialog.loadIntoDialog(0, *workspace);
        EXPECT_EQ(findControl<wxTextCtrl>(&dialog, "ID_TEXTCTRL3")->GetValue(), "7FFF0");
        EXPECT_EQ(gridText(&dialog, "ID_GRID1"), "1=500 2=1000.5 [RPM]");
        EXPECT_EQ(gridText(&dialog, "ID_GRID2"), "Min=500.0 Max=6500.0 [Load]");
        if (way == 0) {
            apply(dialog);
        } else {
            enter(&dialog, "ID_TEXTCTRL1", "Other");
            enter(&dialog, "ID_TEXTCTRL7", "2");
            findControl<wxGrid>(&dialog, "ID_GRID1")->SetCellValue(0, 0, "9");
            choose(&dialog, "ID_CHOICE15", SourceEmbedded);
            if (way == 1) {
                cancel(dialog);
            } else if (way == 2) {
                dialog.Close();
            } else {
                wxKeyEvent escape(wxEVT_CHAR_HOOK);
                escape.m_keyCode = WXK_ESCAPE;
                dialog.GetEventHandler()->ProcessEvent(escape);
            }
        }
        EXPECT_EQ(dialog.applied(), way == 0);
        if (way != 2) {   // the Cancel button, or Escape acting as it
            EXPECT_EQ(dialog.GetReturnCode(), way == 0 ? wxID_OK : wxID_CANCEL) << way;
        }
        EXPECT_EQ(dumpMap(workspace->definitions.maps[0]), before) << way;
    }
}

// OK is the default button: Enter in a field applies the form. Escape in a
// label being typed drops only that label.
TEST_F(MapEditor, EnterAppliesAndEscapeInALabelDropsOnlyThatLabel)
{
    MapEditorDialog dialog(nullptr);
    dialog.loadIntoDialog(0, *workspace);
    EXPECT_EQ(dialog.GetDefaultItem(), findControl<wxButton>(&dialog, "ID_BUTTON1"));
    dialog.Show();
    ASSERT_TRUE(raiseForKeys(&dialog));
    auto* grid = findControl<wxGrid>(&dialog, "ID_GRID1");
    for (wxWindow* page = grid; page->GetParent(); page = page->GetParent())   // its notebook page
        if (auto* notebook = dynamic_cast<wxNotebook*>(page->GetParent()))
            notebook->SetSelection(notebook->FindPage(page));
    pumpEvents(100);
    typeIntoCell(grid, 1, 0, "777");
    pumpEvents(100);
    wxUIActionSimulator().Char(WXK_ESCAPE);
    pumpUntil([&] { return !grid->IsCellEditControlShown(); });
    pumpEvents(100);   // an Escape that reached the dialog would close it now
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_FALSE(grid->IsCellEditControlShown());
    EXPECT_EQ(grid->GetCellValue(1, 0), "1000.5");
    auto* name = findControl<wxTextCtrl>(&dialog, "ID_TEXTCTRL1");
    name->SetFocus();
    name->ChangeValue("Typed");
    pumpEvents(100);
    wxUIActionSimulator().Char(WXK_RETURN);
    pumpEvents(300);
    EXPECT_TRUE(dialog.applied());
    EXPECT_EQ(workspace->definitions.maps[0].title, "Typed");

    // A label still being typed when the form is applied is taken with it.
    MapEditorDialog again(nullptr);
    again.loadIntoDialog(0, *workspace);
    again.Show();
    pumpEvents(100);
    typeIntoCell(findControl<wxGrid>(&again, "ID_GRID1"), 0, 0, "777");
    clickButton(findControl<wxButton>(&again, "ID_BUTTON1"));
    EXPECT_EQ(workspace->definitions.maps[0].axes[AxisX].labels[0], 777);
}

// From a label grid, with a label being typed or not, Tab and Shift+Tab leave
// the grid and Ctrl+Page Up / Down turn the page; the label typed is kept.
// The page keys work from the buttons too.
TEST_F(MapEditor, KeysMoveThroughTheWholeForm)
{
    MapEditorDialog dialog(nullptr);
    dialog.loadIntoDialog(0, *workspace);
    dialog.Show();
    ASSERT_TRUE(raiseForKeys(&dialog));
    auto* grid = findControl<wxGrid>(&dialog, "ID_GRID1");
    wxWindow* page = grid;   // the grid's notebook page
    while (page->GetParent() && !dynamic_cast<wxNotebook*>(page->GetParent()))
        page = page->GetParent();
    auto* notebook = dynamic_cast<wxNotebook*>(page->GetParent());
    ASSERT_NE(notebook, nullptr);
    const int gridPage = notebook->FindPage(page);
    const auto focusIn = [](wxWindow* window) {
        wxWindow* focus = wxWindow::FindFocus();
        return focus && (focus == window || window->IsDescendant(focus));
    };
    const struct {
        const char* name;
        int key, modifiers;
        std::function<bool()> after;
        const char* label;
    } rows[] = {
        {"Tab", WXK_TAB, wxMOD_NONE, [&] { return focusIn(findControl<wxButton>(&dialog, "ID_BUTTON1")); }, "11"},
        {"Shift+Tab", WXK_TAB, wxMOD_SHIFT, [&] { return focusIn(findControl<wxChoice>(&dialog, "ID_CHOICE12")); },
         "12"},   // the page's last field: Byte Order
        {"Ctrl+Page Down", WXK_PAGEDOWN, wxMOD_CONTROL, [&] { return notebook->GetSelection() == gridPage + 1; },
         "13"},
        {"Ctrl+Page Up", WXK_PAGEUP, wxMOD_CONTROL, [&] { return notebook->GetSelection() == gridPage - 1; }, "14"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        notebook->SetSelection(gridPage);
        pumpEvents(50);
        typeIntoCell(grid, 1, 0, row.label);
        pumpEvents(50);
        wxUIActionSimulator().Char(row.key, row.modifiers);
        EXPECT_TRUE(pumpUntil(row.after));
        EXPECT_FALSE(grid->IsCellEditControlShown());
        EXPECT_EQ(grid->GetCellValue(1, 0), row.label);
    }
    notebook->SetSelection(gridPage);
    findControl<wxButton>(&dialog, "ID_BUTTON3")->SetFocus();
    pumpEvents(50);
    wxUIActionSimulator().Char(WXK_PAGEDOWN, wxMOD_CONTROL);
    EXPECT_TRUE(pumpUntil([&] { return notebook->GetSelection() == gridPage + 1; }));
}

TEST_F(MapEditor, LabelGridsFollowSourceCountUnitsAndTheEmbeddedValues)
{
    MapEditorDialog dialog(nullptr);
    dialog.prepareNewMap(*workspace);
    EXPECT_EQ(findControl<wxTextCtrl>(&dialog, "ID_TEXTCTRL1")->GetValue(), "New Map");
    EXPECT_EQ(gridText(&dialog, "ID_GRID1"), "1=0 []");   // Embedded at address 0
    enter(&dialog, "ID_TEXTCTRL8", "4");
    enter(&dialog, "ID_TEXTCTRL4", "10");
    choose(&dialog, "ID_CHOICE7", 1);
    choose(&dialog, "ID_CHOICE8", 2);
    enter(&dialog, "ID_COMBOBOX1", "RPM");
    EXPECT_EQ(gridText(&dialog, "ID_GRID1"), "1=100.00 2=200.00 3=300.00 4= [RPM]");
    choose(&dialog, "ID_CHOICE9", SourceScaled);
    EXPECT_EQ(gridText(&dialog, "ID_GRID1"), "Min= Max= [RPM]");
    // A Count typed after the labels keeps them; a Source change starts afresh.
    auto* labels = findControl<wxGrid>(&dialog, "ID_GRID1");
    labels->SetCellValue(0, 0, "500");
    labels->SetCellValue(1, 0, "6500");
    enter(&dialog, "ID_TEXTCTRL8", "16");
    EXPECT_EQ(gridText(&dialog, "ID_GRID1"), "Min=500 Max=6500 [RPM]");
    enter(&dialog, "ID_TEXTCTRL8", "4");
    choose(&dialog, "ID_CHOICE9", SourceManual);
    EXPECT_EQ(gridText(&dialog, "ID_GRID1"), "1= 2= 3= 4= [RPM]");
    labels->SetCellValue(0, 0, "7");
    enter(&dialog, "ID_TEXTCTRL8", "2");
    enter(&dialog, "ID_TEXTCTRL8", "abc");   // not a count: the grid stays
    EXPECT_EQ(gridText(&dialog, "ID_GRID1"), "1=7 2= [RPM]");
    labels->SetCellValue(1, 0, "8");
    enter(&dialog, "ID_TEXTCTRL8", "1");   // 2 corrected to 3 passes through 1: row 2 comes back
    enter(&dialog, "ID_TEXTCTRL8", "3");
    EXPECT_EQ(gridText(&dialog, "ID_GRID1"), "1=7 2=8 3= [RPM]");
}

// The list commands through the main window's menu.
class MapListCommands : public MainWindowTestBase {
protected:
    DefinitionStore& store() const { return frame()->workspace().definitions; }
    MapViewerFrame* viewer() const { return frame()->viewer(); }

    void loadThreeMaps()
    {
        loadMapsFile(*frame(), wxString::FromUTF8(textFile("maps.xts", mapsFileXml(threeTestMaps()))));
    }
    void withEditor(int id, Act act) { wxTEST_DIALOG(sendMenuCommand(frame(), id), AnswerMapEditor(act)); }
    std::string lines() const
    {
        std::string text;
        for (int i = 0; i < viewer()->itemCount(); ++i)
            text += (i ? ", " : "") + viewer()->tree()->GetItemText(viewer()->mapItem(i)).utf8_string();
        return text;
    }
    // The line the tree shows selected: its slot, -1 for the root or none.
    int shownLine() const
    {
        for (int i = 0; i < viewer()->itemCount(); ++i)
            if (viewer()->mapItem(i) == viewer()->tree()->GetSelection())
                return i;
        return -1;
    }
};

TEST_F(MapListCommands, AddEditDeleteAndDuplicateKeepTheViewerInStep)
{
    withEditor(ids().addMap, retitle("First"));   // no viewer yet: it opens, silently
    ASSERT_NE(viewer(), nullptr);
    EXPECT_EQ(lines(), "First (0) [1x1]");
    EXPECT_TRUE(statusText(frame()).empty());

    loadThreeMaps();
    selectMapLine(viewer(), 1);
    withEditor(ids().editMap, apply);   // the form gives the X and Y axes a width and a type
    frame()->workspace().unsaved.definitionsSaved();
    withEditor(ids().editMap, apply);   // OK on an unchanged form: nothing to save
    EXPECT_FALSE(frame()->workspace().unsaved.definitionsUnsaved());
    withEditor(ids().addMap, cancel);
    withEditor(ids().addMap, retitle("N"));
    EXPECT_EQ(lines(), "Spark (0) [1x1], Ignition (1A2B0) [16x12], N (0) [1x1], Boost (400) [8x4]");
    EXPECT_EQ(statusText(frame()), "New map added.");
    EXPECT_EQ(viewer()->selectedMapIndex(), 1);
    EXPECT_EQ(shownLine(), 1);

    withEditor(ids().toolMapEditor, [](MapEditorDialog& d) {
        enter(&d, "ID_TEXTCTRL3", "abc");
        apply(d);
    });
    EXPECT_TRUE(frame()->workspace().unsaved.definitionsUnsaved());
    store().maps[1].title = "Renamed";   // Cancel refreshes the line as well
    withEditor(ids().editMap, cancel);
    EXPECT_EQ(viewer()->tree()->GetItemText(viewer()->mapItem(1)), "Renamed (ABC) [16x12]");

    sendMenuCommand(frame(), ids().duplicateMap);
    EXPECT_EQ(statusText(frame()), "Map duplicated.");
    EXPECT_EQ(store().maps[4].title, "Renamed");
    sendMenuCommand(frame(), ids().deleteMap);
    EXPECT_EQ(statusText(frame()), "Map deleted.");
    EXPECT_EQ(lines(), "Spark (0) [1x1], N (0) [1x1], Boost (400) [8x4], Renamed (ABC) [16x12]");
    EXPECT_EQ(shownLine(), 1);

    // After the last map is deleted the index names no map, and no line shows selected.
    selectMapLine(viewer(), 3);
    sendMenuCommand(frame(), ids().deleteMap);
    EXPECT_EQ(std::make_pair(viewer()->selectedMapIndex(), shownLine()), std::make_pair(3, -1));
    ModalDialogCounter dialogs;
    for (int command : {ids().deleteMap, ids().duplicateMap, ids().editMap}) {
        frame()->showStatus("before");
        sendMenuCommand(frame(), command);
        EXPECT_EQ(std::make_pair(int(store().mapCount), statusText(frame())),
                  std::make_pair(3, wxString("Please select a map first in the map viewer!")));
    }
    EXPECT_EQ(dialogs.count(), 0);
}

TEST_F(MapListCommands, RefusalsOpenNoDialog)
{
    ModalDialogCounter dialogs;
    sendMenuCommand(frame(), ids().editMap);
    EXPECT_EQ(statusText(frame()), "No maps have been loaded!");
    store().mapCount = 2;
    sendMenuCommand(frame(), ids().editMap);
    EXPECT_EQ(statusText(frame()), "Map viewer not initialized!");

    loadThreeMaps();
    selectMapLine(viewer(), 0);
    store().mapCount = kMaxMaps;
    const std::string composed = dumpMap(store().newMap);
    for (int id : {ids().addMap, ids().duplicateMap}) {
        frame()->showStatus("before");
        sendMenuCommand(frame(), id);
        EXPECT_EQ(statusText(frame()), "The map list is full!");
    }
    EXPECT_EQ(store().mapCount, kMaxMaps);
    EXPECT_EQ(dumpMap(store().newMap), composed);
    EXPECT_EQ(dialogs.count(), 0);
}

} // namespace
