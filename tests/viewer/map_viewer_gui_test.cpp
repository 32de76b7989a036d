#include <memory>
#include <tuple>

#include <gtest/gtest.h>
#include <wx/filedlg.h>
#include <wx/panel.h>
#include <wx/testing.h>
#include <wx/treectrl.h>

#include "app/TorvaneStudioFrame.h"
#include "gui_test_support.h"
#include "tableeditor/TableEditorFrame.h"
#include "viewer/MapViewerFrame.h"
#include "viewer/viewer_commands_ui.h"
#include "viewer/viewer_test_maps.h"

namespace {

// A viewer of its own, without a main window, on a fresh workspace.
class ViewerOnly : public testing::Test {
protected:
    void SetUp() override
    {
        workspace = std::make_unique<Workspace>();
        viewer = new MapViewerFrame(nullptr);
        viewer->setWorkspace(*workspace);
    }
    void TearDown() override
    {
        viewer->Destroy();
        pumpEvents(10);
    }

    // Lists `count` maps, as the main window would after a load.
    void listMaps(int count)
    {
        workspace->definitions.mapCount = static_cast<std::uint16_t>(count);
        for (int i = 0; i < count; ++i)
            viewer->appendMapItem("Map " + std::to_string(i), 2, 3, "10");
    }

    std::unique_ptr<Workspace> workspace;
    MapViewerFrame* viewer = nullptr;
};

TEST_F(ViewerOnly, BuildsPanelAndTreeWithVisibleMapsRoot)
{
    auto* panel = findControl<wxPanel>(viewer, "ID_PANEL1");
    auto* tree = findControl<wxTreeCtrl>(viewer, "ID_TREECTRL1");
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(tree, viewer->tree());
    EXPECT_EQ(tree->GetParent(), panel);
    EXPECT_TRUE(viewer->GetTitle().empty());
    EXPECT_FALSE(viewer->IsShown());
    EXPECT_FALSE(tree->HasFlag(wxTR_HIDE_ROOT));
    EXPECT_TRUE(tree->HasFlag(wxTR_HAS_BUTTONS));
    EXPECT_TRUE(tree->HasFlag(wxTR_FULL_ROW_HIGHLIGHT));
    EXPECT_EQ(tree->GetItemText(viewer->rootItem()), "Maps");
    EXPECT_EQ(tree->GetChildrenCount(viewer->rootItem()), 0u);
    EXPECT_EQ(viewer->selectedMapIndex(), -1);
    EXPECT_EQ(viewer->itemCount(), 0);
}

TEST_F(ViewerOnly, AppendsUpdatesAndClearsLines)
{
    viewer->appendMapItem("Spark", 1, 1, "0");
    viewer->appendMapItem("Ignition", 16, 12, "1A2B0");
    viewer->appendMapItem("Z\xC3\xBCndung", 4, 4, "20");
    wxTreeCtrl* tree = viewer->tree();
    ASSERT_EQ(viewer->itemCount(), 3);
    EXPECT_EQ(tree->GetItemText(viewer->mapItem(0)), "Spark (0) [1x1]");
    EXPECT_EQ(tree->GetItemText(viewer->mapItem(1)), "Ignition (1A2B0) [16x12]");
    EXPECT_EQ(tree->GetItemText(viewer->mapItem(2)), wxString::FromUTF8("Z\xC3\xBCndung (20) [4x4]"));
    EXPECT_EQ(tree->GetItemParent(viewer->mapItem(2)), viewer->rootItem());

    viewer->updateMapItem(1, "Timing", 8, 8, "FF");
    EXPECT_EQ(tree->GetItemText(viewer->mapItem(1)), "Timing (FF) [8x8]");
    // Slots that are not listed are left alone.
    viewer->updateMapItem(3, "Ghost", 1, 1, "0");
    viewer->updateMapItem(-1, "Ghost", 1, 1, "0");
    EXPECT_EQ(tree->GetChildrenCount(viewer->rootItem()), 3u);

    viewer->clearMapList();
    EXPECT_EQ(viewer->itemCount(), 0);
    EXPECT_EQ(tree->GetItemText(viewer->rootItem()), "Maps");
    EXPECT_EQ(tree->GetChildrenCount(viewer->rootItem()), 0u);
    EXPECT_FALSE(tree->IsExpanded(viewer->rootItem()));
}

TEST_F(ViewerOnly, RefusesLinesBeyondTheStoreSize)
{
    for (int i = 0; i < kMaxMaps; ++i)
        ASSERT_TRUE(viewer->appendMapItem("m", 1, 1, "0"));
    EXPECT_FALSE(viewer->appendMapItem("one too many", 1, 1, "0"));
    EXPECT_EQ(viewer->itemCount(), kMaxMaps);
    EXPECT_EQ(viewer->tree()->GetChildrenCount(viewer->rootItem()), static_cast<size_t>(kMaxMaps));
}

TEST_F(ViewerOnly, SelectionGivesTheLineIndexAndRootGivesNone)
{
    listMaps(4);
    viewer->expandAll();
    for (int line : {2, 0, -1}) {   // -1: the root
        selectMapLine(viewer, line);
        EXPECT_EQ(viewer->selectedMapIndex(), line);
    }

    // Refilling the list keeps the index: it now names whatever sits in that slot.
    selectMapLine(viewer, 3);
    viewer->clearMapList();
    listMaps(4);
    EXPECT_EQ(viewer->selectedMapIndex(), 3);
}

TEST_F(ViewerOnly, ActivationOpensTheEditorOnlyWithImageAndExistingMap)
{
    struct Row {
        const char* what;
        int listed;        // lines in the tree
        int mapCount;      // maps in the store
        bool image;        // selected buffer holds an image
        int selectLine;    // -1 = select the root
        bool opens;
    };
    const Row rows[] = {
        {"all present", 3, 3, true, 1, true},
        {"no image in the selected buffer", 3, 3, false, 1, false},
        {"root selected", 3, 3, true, -1, false},
        {"selected map deleted since", 3, 1, true, 2, false},
        {"no lines listed", 0, 3, true, -1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        viewer->clearMapList();
        listMaps(row.listed);
        workspace->definitions.mapCount = static_cast<std::uint16_t>(row.mapCount);
        RomBuffer& buffer = workspace->buffers[1];
        workspace->selectedBuffer = 1;
        buffer.data.assign(row.image ? 16 : 0, 0);
        buffer.size = row.image ? 16 : 0;
        // A new root starts selected: move away first so that every choice is news.
        if (row.listed > 0)
            selectMapLine(viewer, row.listed - 1);
        selectMapLine(viewer, row.selectLine);
        EXPECT_EQ(viewer->activationOpensEditor(), row.opens);

        // The notification itself must cope with every case.
        wxTreeEvent event(wxEVT_TREE_ITEM_ACTIVATED, viewer->tree(), viewer->tree()->GetSelection());
        viewer->tree()->GetEventHandler()->ProcessEvent(event);
    }
}

TEST_F(ViewerOnly, ClosingHidesInsteadOfDestroying)
{
    viewer->Show();
    pumpEvents(100);
    EXPECT_FALSE(viewer->Close());   // vetoed
    pumpEvents(20);
    EXPECT_FALSE(viewer->IsShown());
    EXPECT_FALSE(wxPendingDelete.Member(viewer));
    // Still a working window.
    viewer->appendMapItem("Spark", 1, 1, "0");
    EXPECT_EQ(viewer->itemCount(), 1);
}

// Through the main window's commands.
class ViewerCommands : public MainWindowTestBase {
protected:
    void loadMaps(const std::vector<TestMap>& maps, const std::string& name = "maps.xts")
    {
        runWithFileDialog(ids().loadMaps, textFile(name, mapsFileXml(maps)));
    }
    std::vector<wxString> lines() const
    {
        std::vector<wxString> result;
        MapViewerFrame* viewer = frame()->viewer();
        for (int i = 0; viewer && i < viewer->itemCount(); ++i)
            result.push_back(viewer->tree()->GetItemText(viewer->mapItem(i)));
        return result;
    }
};

TEST_F(ViewerCommands, DefinitionsViewerOpensOneWindowAndShowsItAgain)
{
    EXPECT_EQ(frame()->viewer(), nullptr);
    sendMenuCommand(frame(), ids().definitionsViewer);
    MapViewerFrame* viewer = frame()->viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->IsShown());
    EXPECT_EQ(viewer->GetParent(), frame());
    // No maps: only the collapsed root.
    EXPECT_EQ(viewer->itemCount(), 0);
    EXPECT_FALSE(viewer->tree()->IsExpanded(viewer->rootItem()));

    sendMenuCommand(frame(), ids().toolMapViewer);
    EXPECT_EQ(frame()->viewer(), viewer);
    pumpEvents(100);   // let the window appear before the user closes it

    viewer->Close();
    pumpEvents(20);
    EXPECT_FALSE(viewer->IsShown());
    sendMenuCommand(frame(), ids().definitionsViewer);
    EXPECT_EQ(frame()->viewer(), viewer);
    EXPECT_TRUE(viewer->IsShown());
    EXPECT_TRUE(statusText(frame()).empty());
}

TEST_F(ViewerCommands, FirstLoadOpensTheViewerExpanded)
{
    loadMaps(threeTestMaps());
    MapViewerFrame* viewer = frame()->viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->IsShown());
    EXPECT_EQ(lines(), (std::vector<wxString>{"Spark (0) [1x1]", "Ignition (1A2B0) [16x12]", "Boost (400) [8x4]"}));
    EXPECT_TRUE(viewer->tree()->IsExpanded(viewer->rootItem()));
}

TEST_F(ViewerCommands, LoadIntoOpenViewerRefillsItCollapsed)
{
    sendMenuCommand(frame(), ids().definitionsViewer);
    MapViewerFrame* viewer = frame()->viewer();
    loadMaps(threeTestMaps());
    EXPECT_EQ(frame()->viewer(), viewer);
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_FALSE(viewer->tree()->IsExpanded(viewer->rootItem()));

    // A second, shorter file replaces the lines.
    loadMaps({{"Only", 2, 2, 0x10}}, "second.xts");
    EXPECT_EQ(lines(), std::vector<wxString>{"Only (10) [2x2]"});
}

TEST_F(ViewerCommands, RebuildListsTheStoreAndExpands)
{
    rebuildMapList(*frame());   // no viewer yet: nothing happens
    EXPECT_EQ(frame()->viewer(), nullptr);

    loadMaps(threeTestMaps());
    DefinitionStore& store = frame()->workspace().definitions;
    store.maps[1].title = "Renamed";
    store.mapCount = 2;
    frame()->viewer()->clearMapList();
    rebuildMapList(*frame());
    EXPECT_EQ(lines(), (std::vector<wxString>{"Spark (0) [1x1]", "Renamed (1A2B0) [16x12]"}));
    EXPECT_TRUE(frame()->viewer()->tree()->IsExpanded(frame()->viewer()->rootItem()));
}

TEST_F(ViewerCommands, NewMapDefinitionsEmptiesTheList)
{
    loadMaps(threeTestMaps());
    frame()->showStatus("before");
    sendMenuCommand(frame(), ids().newMaps);
    EXPECT_EQ(frame()->workspace().definitions.mapCount, 0);
    EXPECT_TRUE(lines().empty());
    EXPECT_EQ(frame()->viewer()->tree()->GetItemText(frame()->viewer()->rootItem()), "Maps");
    EXPECT_EQ(statusText(frame()), "before");
}

// Beyond 32,767 lines, so that no index may be kept in 16 signed bits.
TEST_F(ViewerCommands, TensOfThousandsOfMapsListKeepTheSelectionAndOpen)
{
    std::vector<TestMap> maps;
    for (int i = 0; i < 40000; ++i)
        maps.push_back({"Map " + std::to_string(i), 2, 2, static_cast<std::uint32_t>(i % 16)});
    loadMaps(maps);
    MapViewerFrame* viewer = frame()->viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->tree()->GetChildrenCount(viewer->rootItem()), 40000u);
    EXPECT_EQ(viewer->tree()->GetItemText(viewer->mapItem(39999)), "Map 39999 (F) [2x2]");
    selectMapLine(viewer, 39999);
    EXPECT_EQ(viewer->selectedMapIndex(), 39999);

    sendMenuCommand(frame(), ids().duplicateMap);
    EXPECT_EQ(statusText(frame()), "Map duplicated.");
    EXPECT_EQ(std::make_tuple(viewer->itemCount(), viewer->selectedMapIndex()), std::make_tuple(40001, 39999));
    EXPECT_EQ(viewer->tree()->GetSelection(), viewer->mapItem(39999));
    EXPECT_EQ(viewer->tree()->GetItemText(viewer->mapItem(40000)), "Map 39999 (F) [2x2]");

    ASSERT_NO_FATAL_FAILURE(loadImage(0, randomBytes(64)));
    wxTreeEvent event(wxEVT_TREE_ITEM_ACTIVATED, viewer->tree(), viewer->tree()->GetSelection());
    viewer->tree()->GetEventHandler()->ProcessEvent(event);
    pumpEvents(50);
    const std::vector<TableEditorFrame*> editors = childrenOfType<TableEditorFrame>(viewer);
    ASSERT_FALSE(editors.empty());
    EXPECT_EQ(editors[0]->map().title, "Map 39999");
}

TEST_F(ViewerCommands, ActivationNeedsImageAndSelection)
{
    loadMaps(threeTestMaps());
    MapViewerFrame* viewer = frame()->viewer();
    selectMapLine(viewer, 1);
    EXPECT_EQ(viewer->selectedMapIndex(), 1);
    EXPECT_FALSE(viewer->activationOpensEditor());   // no BIN loaded

    ASSERT_NO_FATAL_FAILURE(loadImage(0, randomBytes(64)));
    EXPECT_TRUE(viewer->activationOpensEditor());

    selectMapLine(viewer, -1);
    EXPECT_FALSE(viewer->activationOpensEditor());
}

} // namespace
