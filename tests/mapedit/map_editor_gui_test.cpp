#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/grid.h>
#include <wx/notebook.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include "app/TorvaneStudioFrame.h"
#include "commands/maps_commands_ui.h"
#include "definitions/map_dump.h"
#include "gui_test_support.h"
#include "mapedit/MapEditorDialog.h"
#include "viewer/MapViewerFrame.h"
#include "viewer/viewer_test_maps.h"

namespace {

// Answers the map editor inside wxTEST_DIALOG: `act` sets controls and clicks a button.
class AnswerMapEditor : public wxExpectModalBase<MapEditorDialog, AnswerMapEditor> {
public:
    explicit AnswerMapEditor(std::function<void(MapEditorDialog&)> act) : m_act(std::move(act)) {}

protected:
    int OnInvoked(MapEditorDialog* dialog) const override
    {
        m_act(*dialog);
        return dialog->GetReturnCode();
    }

private:
    std::function<void(MapEditorDialog&)> m_act;
};

void choose(wxWindow* dialog, const char* name, int index)
{
    auto* choice = findControl<wxChoice>(dialog, name);
    ASSERT_NE(choice, nullptr) << name;
    choice->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
    event.SetEventObject(choice);
    event.SetInt(index);
    choice->GetEventHandler()->ProcessEvent(event);
}

// SetValue sends the text event, as typing does.
void enter(wxWindow* dialog, const char* name, const char* text)
{
    findControl<wxTextEntry>(dialog, name)->SetValue(text);
}

void apply(MapEditorDialog& dialog)
{
    clickButton(findControl<wxButton>(&dialog, "ID_BUTTON1"));
}

void cancel(MapEditorDialog& dialog)
{
    clickButton(findControl<wxButton>(&dialog, "ID_BUTTON3"));
}

// "row label=value" for each row of a label grid.
std::vector<std::string> gridRows(wxWindow* dialog, const char* name)
{
    auto* grid = findControl<wxGrid>(dialog, name);
    std::vector<std::string> rows;
    for (int row = 0; row < grid->GetNumberRows(); ++row)
        rows.push_back((grid->GetRowLabelValue(row) + "=" + grid->GetCellValue(row, 0)).utf8_string());
    return rows;
}

using Rows = std::vector<std::string>;

class MapEditor : public testing::Test {
protected:
    void SetUp() override
    {
        MapDefinition& map = workspace->definitions.maps[0];
        map.title = "Ignition";
        map.axes[AxisX] = {"x", 2, 0, 16, "RPM", 0, 2, 2, SourceManual, {}, 1, 0};
        map.axes[AxisX].labels = {500, 1000.5};
        map.axes[AxisY] = {"y", 0, 0x10, 16, "Load", 1, 3, 1, SourceScaled, {}, 0.1, 0};
        map.axes[AxisY].labels = {500, 6500};
        map.axes[AxisZ] = {"z", 3, 0x7FFF0, 8, "deg", 2, 0, 1, 0, {}, 0.00390625, -40};
        workspace->definitions.mapCount = 1;
        workspace->buffers[0].data = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x64, 0x00, 0xC8, 0x01, 0x2C};
        workspace->buffers[0].size = 22;
        dialog = std::make_unique<MapEditorDialog>(nullptr);
    }

    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    std::unique_ptr<MapEditorDialog> dialog;
};

TEST_F(MapEditor, LoadShowsTheSlotAndApplyOrCancelLeaveItAsItWas)
{
    const std::string before = dumpMap(workspace->definitions.maps[0]);
    dialog->loadIntoDialog(0, *workspace);
    EXPECT_EQ(dialog->GetTitle(), "Map Editor");
    auto* notebook = findControl<wxNotebook>(dialog.get(), "ID_NOTEBOOK1");
    ASSERT_EQ(notebook->GetPageCount(), 4u);
    EXPECT_EQ(notebook->GetPageText(3), "Y Axis");
    EXPECT_EQ(findControl<wxTextCtrl>(dialog.get(), "ID_TEXTCTRL3")->GetValue(), "7FFF0");
    EXPECT_EQ(findControl<wxTextCtrl>(dialog.get(), "ID_TEXTCTRL6")->GetValue(), "-40.000000");
    EXPECT_EQ(findControl<wxChoice>(dialog.get(), "ID_CHOICE3")->GetSelection(), 1);   // Z Signed
    EXPECT_EQ(gridRows(dialog.get(), "ID_GRID1"), (Rows{"1=500", "2=1000.5"}));
    EXPECT_EQ(gridRows(dialog.get(), "ID_GRID2"), (Rows{"Min=500.0", "Max=6500.0"}));
    EXPECT_EQ(findControl<wxGrid>(dialog.get(), "ID_GRID2")->GetColLabelValue(0), "Load");
    apply(*dialog);
    EXPECT_TRUE(dialog->applied());
    EXPECT_EQ(dumpMap(workspace->definitions.maps[0]), before);

    // Every page changed, then Cancel or the close box: nothing is written.
    for (bool closeBox : {false, true}) {
        MapEditorDialog again(nullptr);
        again.loadIntoDialog(0, *workspace);
        enter(&again, "ID_TEXTCTRL1", "Other");
        enter(&again, "ID_TEXTCTRL7", "2");
        choose(&again, "ID_CHOICE5", 1);
        enter(&again, "ID_TEXTCTRL8", "7");
        findControl<wxGrid>(&again, "ID_GRID1")->SetCellValue(0, 0, "9");
        choose(&again, "ID_CHOICE15", SourceEmbedded);
        enter(&again, "ID_COMBOBOX2", "MAP");
        if (closeBox)
            again.Close();
        else
            cancel(again);
        EXPECT_FALSE(again.applied());
        EXPECT_EQ(dumpMap(workspace->definitions.maps[0]), before);
    }
}

TEST_F(MapEditor, LabelGridsFollowSourceCountUnitsAndTheEmbeddedValues)
{
    dialog->prepareNewMap(kScratchSlot, *workspace);
    EXPECT_EQ(findControl<wxTextCtrl>(dialog.get(), "ID_TEXTCTRL1")->GetValue(), "New Map");
    EXPECT_EQ(findControl<wxChoice>(dialog.get(), "ID_CHOICE9")->GetStringSelection(), "Embedded");
    EXPECT_EQ(gridRows(dialog.get(), "ID_GRID1"), (Rows{"1=0"}));   // the first value of the image

    enter(dialog.get(), "ID_TEXTCTRL8", "3");
    enter(dialog.get(), "ID_TEXTCTRL4", "10");
    EXPECT_EQ(gridRows(dialog.get(), "ID_GRID1"), (Rows{"1=100", "2=200", "3=300"}));
    choose(dialog.get(), "ID_CHOICE7", 1);
    choose(dialog.get(), "ID_CHOICE8", 2);
    EXPECT_EQ(gridRows(dialog.get(), "ID_GRID1"), (Rows{"1=100.00", "2=200.00", "3=300.00"}));
    enter(dialog.get(), "ID_TEXTCTRL8", "4");   // the fourth value lies beyond the image
    EXPECT_EQ(gridRows(dialog.get(), "ID_GRID1"), (Rows{"1=100.00", "2=200.00", "3=300.00", "4="}));

    choose(dialog.get(), "ID_CHOICE9", SourceScaled);
    EXPECT_EQ(gridRows(dialog.get(), "ID_GRID1"), (Rows{"Min=", "Max="}));
    choose(dialog.get(), "ID_CHOICE9", SourceManual);
    EXPECT_EQ(gridRows(dialog.get(), "ID_GRID1"), (Rows{"1=", "2=", "3=", "4="}));
    enter(dialog.get(), "ID_TEXTCTRL8", "abc");
    EXPECT_EQ(gridRows(dialog.get(), "ID_GRID1").size(), 4u);
    enter(dialog.get(), "ID_COMBOBOX1", "RPM");
    EXPECT_EQ(findControl<wxGrid>(dialog.get(), "ID_GRID1")->GetColLabelValue(0), "RPM");

    enter(dialog.get(), "ID_TEXTCTRL8", "2");
    findControl<wxGrid>(dialog.get(), "ID_GRID1")->SetCellValue(1, 0, "6500");
    apply(*dialog);
    const AxisDefinition& x = workspace->definitions.maps[kScratchSlot].axes[AxisX];
    EXPECT_EQ(std::make_tuple(x.count, x.embeddedinfotype, x.labels[0], x.labels[1], x.address, x.units),
              std::make_tuple(2, 0, 0.0, 6500.0, 0x10u, std::string("RPM")));
}

// The list commands through the main window's menu.
class MapListCommands : public testing::Test {
protected:
    TorvaneStudioFrame* frame() const { return window.frame(); }
    const MainCommandIds& ids() const { return frame()->commandIds(); }
    DefinitionStore& store() const { return frame()->workspace().definitions; }
    MapViewerFrame* viewer() const { return frame()->viewer(); }

    void loadThreeMaps()
    {
        const std::string path = files.file("maps.xts");
        writeText(path, mapsFileXml(threeTestMaps()));
        loadMapsFile(*frame(), wxString::FromUTF8(path));
    }
    void selectLine(int slot)
    {
        viewer()->tree()->SelectItem(slot < 0 ? viewer()->rootItem() : viewer()->mapItem(slot));
        pumpEvents(0);
    }
    // Sends the command with the editor answered by `act`.
    void withEditor(int id, std::function<void(MapEditorDialog&)> act)
    {
        wxTEST_DIALOG(sendMenuCommand(frame(), id), AnswerMapEditor(std::move(act)));
    }
    std::string lines() const
    {
        std::string text;
        for (int i = 0; i < viewer()->itemCount(); ++i)
            text += (i ? ", " : "") + viewer()->tree()->GetItemText(viewer()->mapItem(i)).utf8_string();
        return text;
    }
    // The line the tree shows selected: its slot, -1 for the root, -2 for none.
    int shownLine() const
    {
        const wxTreeItemId selection = viewer()->tree()->GetSelection();
        if (!selection.IsOk())
            return -2;
        for (int i = 0; i < viewer()->itemCount(); ++i)
            if (viewer()->mapItem(i) == selection)
                return i;
        return -1;
    }

    ScopedHome home;
    TempDir files;
    MainWindowFixture window;
};

TEST_F(MapListCommands, AddEditDeleteAndDuplicateKeepTheViewerInStep)
{
    // The first map into an empty store opens the viewer and says nothing.
    withEditor(ids().addMap, [](MapEditorDialog& d) {
        enter(&d, "ID_TEXTCTRL1", "First");
        apply(d);
    });
    ASSERT_NE(viewer(), nullptr);
    EXPECT_EQ(lines(), "First (0) [1x1]");
    EXPECT_TRUE(statusText(frame()).empty());

    loadThreeMaps();
    selectLine(1);
    withEditor(ids().addMap, cancel);
    EXPECT_EQ(store().mapCount, 3);
    withEditor(ids().addMap, [](MapEditorDialog& d) {
        enter(&d, "ID_TEXTCTRL1", "N");
        apply(d);
    });
    EXPECT_EQ(lines(), "Spark (0) [1x1], Ignition (1A2B0) [16x12], N (0) [1x1], Boost (400) [8x4]");
    EXPECT_EQ(statusText(frame()), "New map added.");
    EXPECT_EQ(viewer()->selectedMapIndex(), 1);
    EXPECT_EQ(shownLine(), 1);

    frame()->showStatus("before");
    withEditor(ids().toolMapEditor, [](MapEditorDialog& d) {
        enter(&d, "ID_TEXTCTRL3", "abc");
        apply(d);
    });
    EXPECT_EQ(lines().substr(0, 45), "Spark (0) [1x1], Ignition (ABC) [16x12], N (0");
    store().maps[1].title = "Renamed";   // Cancel still refreshes the line
    withEditor(ids().editMap, cancel);
    EXPECT_EQ(viewer()->tree()->GetItemText(viewer()->mapItem(1)), "Renamed (ABC) [16x12]");
    EXPECT_EQ(statusText(frame()), "before");

    sendMenuCommand(frame(), ids().duplicateMap);
    EXPECT_EQ(statusText(frame()), "Map duplicated.");
    EXPECT_EQ(store().mapCount, 5);
    EXPECT_EQ(store().maps[4].title, "Renamed");
    sendMenuCommand(frame(), ids().deleteMap);
    EXPECT_EQ(statusText(frame()), "Map deleted.");
    EXPECT_EQ(lines(), "Spark (0) [1x1], N (0) [1x1], Boost (400) [8x4], Renamed (ABC) [16x12]");
    EXPECT_EQ(shownLine(), 1);

    // Deleting the last map leaves the index naming no map.
    selectLine(3);
    sendMenuCommand(frame(), ids().deleteMap);
    EXPECT_EQ(viewer()->selectedMapIndex(), 3);
    EXPECT_EQ(shownLine(), -2);
    frame()->showStatus("before");
    ModalDialogCounter dialogs;
    sendMenuCommand(frame(), ids().deleteMap);
    sendMenuCommand(frame(), ids().duplicateMap);
    EXPECT_EQ(store().mapCount, 3);
    EXPECT_EQ(statusText(frame()), "before");
    sendMenuCommand(frame(), ids().editMap);
    EXPECT_EQ(statusText(frame()), "Please select a map first in the map viewer!");
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
    selectLine(-1);
    sendMenuCommand(frame(), ids().editMap);
    EXPECT_EQ(statusText(frame()), "Please select a map first in the map viewer!");

    selectLine(0);
    store().mapCount = 255;
    const std::string scratch = dumpMap(store().maps[kScratchSlot]);
    for (int id : {ids().addMap, ids().duplicateMap}) {
        frame()->showStatus("before");
        sendMenuCommand(frame(), id);
        EXPECT_EQ(statusText(frame()), "The map list is full!");
    }
    EXPECT_EQ(store().mapCount, 255);
    EXPECT_EQ(dumpMap(store().maps[kScratchSlot]), scratch);
    EXPECT_EQ(dialogs.count(), 0);
}

} // namespace
