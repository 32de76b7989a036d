// The BIN differences window on the real windows: the menu item, the choice
// of the other BIN, following the images, Ctrl+C and Enter.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>

#include "app/TorvaneStudioFrame.h"
#include "commands/maps_commands_ui.h"
#include "commands/rom_commands_ui.h"
#include "differences/BinDifferencesFrame.h"
#include "gui_test_support.h"
#include "tableeditor/TableEditorFrame.h"

namespace {

// Ignition: 3 x 2 signed 16-bit cells at 0x10 (factor 0.5, one place, deg),
// raw 10 20 -4 / 7 0 100. The tuned image has 23 in place of 20, and the
// byte at 0x30 inverted.
std::vector<std::uint8_t> stockImage()
{
    std::vector<std::uint8_t> image = randomBytes(64, 3);
    const std::uint8_t cells[] = {0, 10, 0, 20, 0xFF, 0xFC, 0, 7, 0, 0, 0, 100};
    std::copy(std::begin(cells), std::end(cells), image.begin() + 0x10);
    return image;
}

std::vector<std::uint8_t> tunedImage()
{
    std::vector<std::uint8_t> image = stockImage();
    image[0x13] = 23;
    image[0x30] = static_cast<std::uint8_t>(~image[0x30]);
    return image;
}

class BinDifferencesTest : public MainWindowTestBase {
protected:
    BinDifferencesTest()
    {
        DefinitionStore& store = frame()->workspace().definitions;
        store.mapCount = 1;
        MapDefinition& map = store.maps[0];
        map.title = "Ignition";
        map.axes[AxisX].count = 3;
        map.axes[AxisY].count = 2;
        AxisDefinition& z = map.axes[AxisZ];
        z.address = 0x10, z.bits = 16, z.flags = AxisSigned, z.factor = 0.5, z.decimalpl = 1, z.units = "deg";
        loadImage(0, stockImage());
        loadImage(1, tunedImage());
    }
    // The table editor a line of the list opened, or null.
    TableEditorFrame* openedEditor() const
    {
        const std::vector<TableEditorFrame*> editors = childrenOfType<TableEditorFrame>(frame());
        return editors.empty() ? nullptr : editors.back();
    }
    std::vector<BinDifferencesFrame*> windows() const { return childrenOfType<BinDifferencesFrame>(frame()); }
    static void chooseOther(BinDifferencesFrame* list, int other)
    {
        chooseItem(findControl<wxChoice>(list, "ID_CHOICE1"), other);
    }
    void chooseMenuItem()
    {
        sendMenuCommand(frame(), frame()->GetMenuBar()->FindMenuItem("&Windows", "BIN Differences"));
        pumpEvents(20);
    }
    // Every row with its cells separated by "|", then the summary.
    static std::string shown(const BinDifferencesFrame* list)
    {
        std::string text;
        for (long row = 0; row < list->list()->GetItemCount(); ++row) {
            for (long column = 0; column < list->list()->GetColumnCount(); ++column)
                text += (column ? "|" : "") + list->cellText(row, column).utf8_string();
            text += "\n";
        }
        return text + findControl<wxStaticText>(const_cast<BinDifferencesFrame*>(list), "ID_STATICTEXT2")
                          ->GetLabel().utf8_string();
    }
};

TEST_F(BinDifferencesTest, OneWindowComparesTheSelectedBinAndFollowsTheImages)
{
    chooseMenuItem();
    chooseMenuItem();
    ASSERT_EQ(windows().size(), 1u);
    BinDifferencesFrame* list = windows()[0];
    EXPECT_EQ(list->GetTitle(), "BIN Differences");
    EXPECT_EQ(findControl<wxStaticText>(list, "ID_STATICTEXT1")->GetLabel(), "BIN #1 compared with");
    EXPECT_EQ(shown(list), "Ignition|1|-1.5|deg|\n0x30|1|||\n"
                           "Maps that differ: 1. Regions outside the maps: 1 (bytes: 1).");
    EXPECT_EQ(list->list()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED), 0);   // Enter works at once

    // BIN #2 selected meanwhile: compared on return to the window, with the
    // first other loaded BIN; and so through the menu item again.
    clickRadio(findControl<wxRadioButton>(frame(), "ID_RADIOBUTTON2"));
    wxActivateEvent activate(wxEVT_ACTIVATE, true, list->GetId());
    list->GetEventHandler()->ProcessEvent(activate);
    EXPECT_EQ(findControl<wxStaticText>(list, "ID_STATICTEXT1")->GetLabel(), "BIN #2 compared with");
    EXPECT_EQ(list->cellText(0, 2), "1.5");
    chooseMenuItem();
    ASSERT_EQ(windows().size(), 1u);
    EXPECT_EQ(list->otherBuffer(), 0);
    EXPECT_EQ(list->cellText(0, 2), "1.5");

    chooseOther(list, 1);
    EXPECT_EQ(shown(list), "Choose a BIN other than BIN #2.");
    chooseOther(list, 2);
    EXPECT_EQ(shown(list), "BIN #3 is empty.");
    const struct {
        int from, to;
        const char* shown;
    } copies[] = {
        {0, 2, "Ignition|1|1.5|deg|\n0x30|1|||\nMaps that differ: 1. Regions outside the maps: 1 (bytes: 1)."},
        {0, 1, "The BINs are the same."},
    };
    for (const auto& copy : copies) {
        copyRomBufferCommand(*frame(), copy.from, copy.to);
        EXPECT_EQ(shown(list), copy.shown) << copy.from << " to " << copy.to;
    }

    list->Close();
    pumpEvents(20);
    EXPECT_TRUE(windows().empty());
    // Nobody listens any more (the copy above left BIN #2 unsaved: discarded).
    wxTEST_DIALOG(copyRomBufferCommand(*frame(), 0, 1), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_EQ(statusText(frame()), "BIN #1 copied to BIN #2.");
}

TEST_F(BinDifferencesTest, CtrlCCopiesTheRowsAndEnterOpensTheMapComparing)
{
    chooseMenuItem();
    BinDifferencesFrame* list = windows().at(0);
    ASSERT_TRUE(raiseForKeys(list));
    // The keys reach the list, not the BIN choice above it (Down there would change the comparison).
    wxWindow* focus = wxWindow::FindFocus();
    EXPECT_TRUE(focus == list->list() || list->list()->IsDescendant(focus));
    wxRect row;
    ASSERT_TRUE(list->list()->GetItemRect(0, row));
    wxUIActionSimulator user;
    user.MouseMove(list->list()->ClientToScreen(row.GetPosition() + wxPoint(20, row.height / 2)));
    user.MouseClick();
    pumpEvents(100);
    user.Char('c', wxMOD_CONTROL);
    pumpEvents(100);
    EXPECT_EQ(statusText(list, 0), "List copied to clipboard.");
    EXPECT_EQ(outputWhilePumping("xclip -o -selection clipboard"), "Ignition\t1\t-1.5\tdeg\n0x30\t1");

    user.Char(WXK_RETURN);
    pumpEvents(100);
    TableEditorFrame* editor = openedEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetTitle(), "[Source BIN #1 : Compare BIN #2]");
    EXPECT_TRUE(editor->differenceView());
    EXPECT_TRUE(editor->highlightChecked());
    EXPECT_EQ(editor->cellText(0, 1), "-1.5");

    // An Apply that makes the cell equal leaves only the region.
    editor->cells().setRaw(0, 1, 23);
    editor->apply();
    pumpEvents(20);
    EXPECT_EQ(shown(list), "0x30|1|||\nMaps that differ: 0. Regions outside the maps: 1 (bytes: 1).");

    ASSERT_TRUE(raiseForKeys(list));
    user.Char(WXK_ESCAPE);
    EXPECT_TRUE(pumpUntil([&] { return windows().empty(); }, 5000));
}

TEST_F(BinDifferencesTest, FollowsTheDefinitionsAndLeavesAnImageTheMapDoesNotFit)
{
    loadImage(2, std::vector<std::uint8_t>(0x14));   // ends inside the map
    chooseMenuItem();
    BinDifferencesFrame* list = windows().at(0);
    chooseOther(list, 2);
    ASSERT_EQ(list->cellText(0, 1), "does not fit");

    // The editor opens on BIN #1 but refuses BIN #3 as its compare image; an
    // earlier line's refusal no longer shows.
    list->SetStatusText("The map does not fit in the selected BIN!", 0);
    list->activateRow(0);
    pumpEvents(20);
    EXPECT_EQ(statusText(list, 0), "");
    TableEditorFrame* editor = openedEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(statusText(editor), "The map does not fit in BIN #3!");
    EXPECT_EQ(editor->compareBuffer(), -1);
    EXPECT_FALSE(editor->differenceView());
    editor->Destroy();
    pumpEvents(20);

    // Reviewing the short image: nothing opens, and the message lasts only
    // as long as the list it was about.
    list->compareFrom(2);
    chooseOther(list, 0);
    list->activateRow(0);
    EXPECT_EQ(statusText(list, 0), "The map does not fit in the selected BIN!");
    chooseOther(list, 1);
    EXPECT_EQ(statusText(list, 0), "");

    // New Map Definitions empties the list of maps at once: the changed
    // cell is now a byte outside every map.
    list->compareFrom(0);
    chooseOther(list, 1);
    clearDefinitionsCommand(*frame());
    EXPECT_EQ(shown(list), "0x13|1|||\n0x30|1|||\nMaps that differ: 0. Regions outside the maps: 2 (bytes: 2).");
}

} // namespace
