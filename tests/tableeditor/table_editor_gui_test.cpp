// The table editor on the real windows: opening (main window, map viewer,
// refusals), contents, view switches, direct edits with Apply and Cancel, the
// question on closing, the keys that must not change values, the selection
// made with the mouse, the operations' wiring and messages, the clipboard
// shared with other programs, the 3D view and undo/redo from the keyboard.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <functional>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bmpbuttn.h>
#include <wx/grid.h>
#include <wx/log.h>
#include <wx/radiobut.h>
#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>

#include "app/TorvaneStudioFrame.h"
#include "chart/simpleChart.h"
#include "commands/maps_commands_ui.h"
#include "commands/rom_commands_ui.h"
#include "definitions/maps_file.h"
#include "gui_test_support.h"
#include "tableeditor/TableEditorFrame.h"
#include "tableeditor/plot_process_ui.h"
#include "tableeditor/process_memory.h"
#include "viewer/MapViewerFrame.h"
#include "viewer/viewer_commands_ui.h"
#include "workspace/workspace.h"

// The toolkit looks once, without waiting, whether a child it has just
// started has ended; on a busy machine a child that ends at once already
// has. While a test sets this, that look comes late, so it always has.
static std::atomic<bool> lateChildLooks{false};

extern "C" pid_t waitpid(pid_t pid, int* status, int options)
{
    if (lateChildLooks && (options & WNOHANG))
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return static_cast<pid_t>(::syscall(SYS_wait4, pid, status, options, nullptr));
}

namespace {

enum Slot { Ignition, NoCells, Outside, AxisOutside };

// Ignition: 3 columns (labels 1000..3000, RPM) x 2 rows (scaled 10..20),
// signed 16-bit cells at 0x10, factor 0.5, one place: 10 20 -4 / 7 0 100 raw.
// The others are refused: no rows, cells past the 64-byte image, X values past it.
DefinitionStore testMaps()
{
    DefinitionStore store;
    store.mapCount = 4;
    MapDefinition& m = store.maps[Ignition];
    m.title = "Ignition";
    m.axes[AxisX].count = 3;
    m.axes[AxisX].units = "RPM";
    m.axes[AxisX].labels = {1000, 2000, 3000};
    m.axes[AxisY].count = 2;
    m.axes[AxisY].embeddedinfotype = SourceScaled;
    m.axes[AxisY].decimalpl = 1;
    m.axes[AxisY].labels = {10, 20};
    m.axes[AxisY].units = "l & h";
    AxisDefinition& z = m.axes[AxisZ];
    z.address = 0x10, z.bits = 16, z.flags = AxisSigned, z.factor = 0.5, z.decimalpl = 1, z.units = "deg";
    for (int slot : {NoCells, Outside, AxisOutside})
        store.maps[slot] = m;
    store.maps[NoCells].axes[AxisY].count = 0;
    store.maps[Outside].axes[AxisZ].address = 60;
    AxisDefinition& x = store.maps[AxisOutside].axes[AxisX];
    x.embeddedinfotype = SourceEmbedded, x.bits = 16, x.address = 62;
    return store;
}

std::vector<std::uint8_t> testImage(unsigned seed = 1)
{
    std::vector<std::uint8_t> image = randomBytes(64, seed);
    const std::uint8_t cells[] = {0, 10, 0, 20, 0xFF, 0xFC, 0, 7, 0, 0, 0, 100};
    std::copy(std::begin(cells), std::end(cells), image.begin() + 0x10);
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

// Answers the question asked on closing an editor with unapplied changes,
// after checking how it is put.
class CloseQuestion : public wxExpectModalBase<wxMessageDialog, CloseQuestion> {
public:
    explicit CloseQuestion(int answer) : m_answer(answer) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override
    {
        EXPECT_EQ(dialog->GetMessage(), "The table has changes that are not applied to BIN #1.");
        EXPECT_EQ(dialog->GetYesLabel() + "|" + dialog->GetNoLabel() + "|" + dialog->GetCancelLabel(),
                  "Apply|Discard|Keep editing");
        // wxYES_DEFAULT is no bit: the others must be absent.
        EXPECT_EQ(dialog->GetMessageDialogStyle() & (wxNO_DEFAULT | wxCANCEL_DEFAULT), 0) << "apply must be the default";
        return m_answer;
    }

private:
    int m_answer;
};

// Another program (xclip) offers a file's bytes, or a text after printf's
// escapes, on the clipboard.
void offerFile(const std::string& path)
{
    outputWhilePumping("xclip -i -selection clipboard '" + path + "' >/dev/null 2>&1");
    pumpEvents(100);   // the editor learns that it no longer owns the clipboard
}

void offerText(const std::string& text)
{
    outputWhilePumping("printf '" + text + "' | xclip -i -selection clipboard >/dev/null 2>&1");
    pumpEvents(100);
}

std::string clipboardText()
{
    return outputWhilePumping("xclip -o -selection clipboard");
}

// Counts the errors and warnings logged while it is the active log target.
class LoggedErrors : public wxLog {
public:
    LoggedErrors() : m_previous(wxLog::SetActiveTarget(this)) {}
    ~LoggedErrors() override { wxLog::SetActiveTarget(m_previous); }
    int count = 0;

protected:
    void DoLogRecord(wxLogLevel level, const wxString&, const wxLogRecordInfo&) override
    {
        if (level <= wxLOG_Warning)
            ++count;
    }

private:
    wxLog* m_previous;
};

class TableEditorTest : public testing::Test {
protected:
    TorvaneStudioFrame* frame() const { return window.frame(); }
    void writeMaps() { ASSERT_EQ(saveMapsFile(testMaps(), mapsPath), MapsFileStatus::Saved); }
    void loadImage(int buffer, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = files.file("image" + std::to_string(buffer) + ".bin");
        writeBytes(path, bytes);
        wxString name = "image.bin", wxPath = wxString::FromUTF8(path);
        ASSERT_EQ(loadRomFile(*frame(), buffer, false, name, wxPath), std::int32_t(bytes.size()));
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
        frame()->viewer()->tree()->SelectItem(frame()->viewer()->mapItem(slot));
        pumpEvents(0);
    }
    TableEditorFrame* openThroughMenu(int id = -1)
    {
        sendMenuCommand(frame(), id < 0 ? frame()->commandIds().tableEditor : id);
        pumpEvents(50);
        const std::vector<TableEditorFrame*> editors = openEditors();
        return editors.empty() ? nullptr : editors.back();
    }
    void edit(TableEditorFrame* editor, int row, int col, const wxString& text)
    {
        typeIntoCell(editor->grid(), row, col, text);
        editor->grid()->DisableCellEditControl();
        pumpEvents(0);
    }
    // Sends the command and lets the editor's window go.
    void closeWith(TableEditorFrame* editor, int id)
    {
        sendMenuCommand(editor, id);
        pumpEvents(20);
        EXPECT_TRUE(openEditors().empty());
    }

    // The real mouse and keyboard.
    wxPoint cellOnScreen(wxGrid* grid, int row, int col) const
    {
        const wxRect rect = grid->CellToRect(row, col);
        return grid->GetGridWindow()->ClientToScreen(grid->CalcScrolledPosition(rect.GetPosition() + rect.GetSize() / 2));
    }
    void clickCell(wxGrid* grid, int row, int col)
    {
        pumpEvents(300);   // the window is placed and drawn first
        user.MouseMove(cellOnScreen(grid, row, col));
        user.MouseClick();
        pumpEvents(100);
    }
    void press(int key, int modifiers = wxMOD_NONE)
    {
        user.Char(key, modifiers);
        pumpEvents(100);
    }

    ScopedHome home;
    TempDir files;
    MainWindowFixture window;
    std::string mapsPath = files.file("maps.xts");
    wxUIActionSimulator user;
};

// Most tests start in an editor opened on Ignition in BIN #1.
class OpenedEditorTest : public TableEditorTest {
protected:
    void SetUp() override
    {
        prepare();
        editor = openThroughMenu();
        ASSERT_NE(editor, nullptr);
    }
    TableEditorFrame* editor = nullptr;
};

TEST_F(TableEditorTest, OpensThroughTheMainWindowOnlyWhenEverythingIsThere)
{
    auto refused = [&](const char* message) {
        EXPECT_EQ(openThroughMenu(), nullptr) << message;
        EXPECT_EQ(statusText(frame()), message);
    };
    refused("No maps have been loaded!");
    writeMaps();
    ASSERT_EQ(loadMapsFile(frame()->workspace().definitions, mapsPath), MapsFileStatus::Loaded);
    refused("Map viewer not initialized!");
    showMapViewer(*frame());
    refused("No BIN file has been loaded in the selected buffer!");
    loadImage(0, testImage());
    refused("Please select a map first in the map viewer!");
    const std::pair<int, const char*> maps[] = {{NoCells, "The map has no cells!"},
                                                {Outside, "The map does not fit in the selected BIN!"},
                                                {AxisOutside, "The map does not fit in the selected BIN!"}};
    for (const auto& [slot, message] : maps) {
        SCOPED_TRACE(slot);
        selectMap(slot);
        refused(message);
    }

    selectMap(Ignition);
    TableEditorFrame* editor = openThroughMenu(frame()->commandIds().toolTableEditor);
    ASSERT_NE(editor, nullptr);
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

TEST_F(OpenedEditorTest, ShowsTheMapWithItsControls)
{
    wxGrid* grid = findControl<wxGrid>(editor, "ID_GRID1");
    ASSERT_EQ(grid, editor->grid());
    EXPECT_EQ(grid->GetNumberRows() * 10 + grid->GetNumberCols(), 23);
    EXPECT_EQ(grid->GetColLabelValue(2) + " " + grid->GetRowLabelValue(1), "3000 20.0");
    EXPECT_EQ(grid->GetCellValue(0, 2) + " " + grid->GetCellValue(1, 2), "-2.0 50.0");

    // Window name, then label or tool tip.
    const std::pair<const char*, const char*> controls[] = {
        {"ID_STATICTEXT1", "X: RPM"},           {"ID_STATICTEXT2", "Y: l & h"},
        {"ID_STATICTEXT3", "Ignition - [ l & h / RPM / deg ]"},
        {"ID_RADIOBUTTON2", "Perc."},           {"ID_BUTTON1", "Fill with value"},
        {"ID_BUTTON3", "Select >="},            {"ID_BUTTON4", "Interpolation"},
        {"ID_BITMAPBUTTON1", "Increment raw value"},
        {"ID_BITMAPBUTTON6", "Decrement engineering value"},
        {"ID_BITMAPBUTTON9", "Show statistics of selected cells"},
        {"ID_BITMAPBUTTON11", "Function not available!"},
    };
    for (const auto& [name, text] : controls) {
        wxWindow* control = findByName(editor, name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(wxControl::GetLabelText(control->GetLabel()) == text || control->GetToolTipText() == text) << name;
    }
    for (const char* name : {"ID_PANEL1", "ID_PANEL2", "ID_PANEL3", "ID_SPINCTRL1", "ID_TEXTCTRL6", "ID_TOOLBAR1"})
        EXPECT_NE(findByName(editor, name), nullptr) << name;
    EXPECT_EQ(editor->rawValueControl()->GetMin(), -2147483647);
    EXPECT_EQ(editor->rawValueControl()->GetMax(), 2147483646);
    EXPECT_EQ(editor->operationMode(), OperationMode::Raw);
    EXPECT_EQ(editor->GetStatusBar()->GetStatusWidth(0), 300);

    const TableEditorIds& ids = editor->commandIds();
    wxMenuBar* menus = editor->GetMenuBar();
    EXPECT_EQ(menus->GetMenuCount(), 8u);
    EXPECT_EQ(menus->FindItem(ids.apply)->GetItemLabel(), "Apply\tAlt-F4");
    EXPECT_EQ(menus->FindItem(ids.highlightDifferences)->GetHelp(),
              "Highlight the cells that are different between the current BIN and the compare BIN");
    EXPECT_TRUE(menus->IsChecked(ids.viewGraphs) && menus->IsChecked(ids.viewControls));
    // Only BIN #1 holds an image.
    EXPECT_TRUE(menus->IsEnabled(ids.compareBin[0]));
    EXPECT_FALSE(menus->IsEnabled(ids.compareBin[1]) || menus->IsEnabled(ids.compareBin[2]));
    EXPECT_EQ(editor->GetToolBar()->GetToolsCount(), 8u);
    EXPECT_EQ(editor->GetToolBar()->GetToolShortHelp(ids.toolCancel), "Close table editor");

    // The charts start at the first cell and follow the current cell.
    EXPECT_EQ(editor->xChart()->values()[2] + editor->yChart()->values()[1], -2.0 + 3.5);
    grid->SetGridCursor(1, 2);
    pumpEvents(0);
    const double* xs = editor->xChart()->values();
    const double* ys = editor->yChart()->values();
    EXPECT_EQ(std::vector<double>(xs, xs + editor->xChart()->count()), (std::vector<double>{3.5, 0, 50}));
    EXPECT_EQ(std::vector<double>(ys, ys + editor->yChart()->count()), (std::vector<double>{-2, 50}));
    EXPECT_EQ(editor->xChart()->highlightIndex() * 10 + editor->yChart()->highlightIndex(), 21);
}

TEST_F(TableEditorTest, ViewSwitchesFollowTheirRules)
{
    prepare();
    std::vector<std::uint8_t> other = testImage();
    other[0x13] = 18;   // (0, 1): 20 -> 18
    loadImage(1, other);
    loadImage(2, std::vector<std::uint8_t>(0x1B, 0));   // ends inside the map's last cell
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
    // A compare image that does not hold the whole map is refused; the
    // previous choice stays, and the next choice that works clears the message.
    toggle(ids.compareBin[0]);
    toggle(ids.compareBin[2]);
    EXPECT_EQ(statusText(editor), "The map does not fit in BIN #3!");
    EXPECT_TRUE(menus->IsChecked(ids.compareBin[0]) && !menus->IsChecked(ids.compareBin[2]));
    EXPECT_EQ(editor->GetTitle(), "[Source BIN #1 : Compare BIN #1]");
    toggle(ids.compareBin[1]);
    EXPECT_EQ(statusText(editor), "");
    // The compare image follows its buffer: a change shows at once, and an
    // image that no longer holds the map is let go.
    Workspace& workspace = frame()->workspace();
    EXPECT_EQ(editor->gridModel().look(0, 1).background, kDifferenceBlue);
    copyRomBuffer(workspace.buffers, 0, 1);
    workspace.bufferListeners.notify(1);
    EXPECT_NE(editor->gridModel().look(0, 1).background, kDifferenceBlue);
    copyRomBuffer(workspace.buffers, 2, 1);
    workspace.bufferListeners.notify(1);
    EXPECT_EQ(statusText(editor), "The map does not fit in BIN #2!");
    EXPECT_FALSE(menus->IsChecked(ids.compareBin[1]));
    EXPECT_EQ(editor->GetTitle(), "[Source BIN #1]");
    toggle(ids.viewGraphs);
    toggle(ids.viewControls);
    EXPECT_FALSE(findByName(editor, "ID_PANEL1")->IsShown() || findByName(editor, "ID_PANEL3")->IsShown());
}

TEST_F(OpenedEditorTest, DirectEditsReachTheImageOnlyOnApply)
{
    std::vector<std::uint8_t> expected = frame()->workspace().buffers[0].data;
    edit(editor, 0, 0, "12.34");   // 12.3 -> raw 24
    EXPECT_EQ(editor->cellText(0, 0) + " | " + statusText(editor), "12.0 | Stored as 12.0.");
    edit(editor, 1, 2, "abc");
    EXPECT_EQ(statusText(editor), "This is not a valid number!");
    EXPECT_EQ(editor->gridModel().look(1, 2).text, TextColour::Red);
    edit(editor, 1, 2, "50");   // taken: the message about the rejected text goes
    EXPECT_EQ(statusText(editor), "");
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);   // nothing before Apply

    closeWith(editor, editor->commandIds().apply);
    expected[0x11] = 24;
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);

    editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    edit(editor, 1, 1, "99");
    closeWith(editor, editor->commandIds().toolCancel);
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);
}

TEST_F(OpenedEditorTest, ClosingWithUnappliedChangesAsksOnce)
{
    std::vector<std::uint8_t> expected = frame()->workspace().buffers[0].data;
    auto closesUnasked = [](TableEditorFrame* closing) {
        {
            ModalDialogCounter dialogs;
            EXPECT_TRUE(closing->closeAsking());
            EXPECT_EQ(dialogs.count(), 0);
        }
        pumpEvents(20);
        EXPECT_TRUE(openEditors().empty());
    };
    auto answered = [](TableEditorFrame* closing, int answer) {
        bool closed = true;
        wxTEST_DIALOG(closed = closing->closeAsking(), CloseQuestion(answer));
        pumpEvents(20);
        return closed;
    };
    edit(editor, 0, 0, "7");
    edit(editor, 0, 0, "5");   // back to what the image holds: nothing to ask
    closesUnasked(editor);

    editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    typeIntoCell(editor->grid(), 0, 0, "12.34");   // taken in before the question
    EXPECT_FALSE(answered(editor, wxID_CANCEL));   // keep editing
    EXPECT_EQ(openEditors().size(), 1u);
    EXPECT_TRUE(answered(editor, wxID_NO) && openEditors().empty());   // discard
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);

    // A value still being typed counts; the default answer applies it.
    editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    typeIntoCell(editor->grid(), 1, 1, "7");
    EXPECT_TRUE(answered(editor, wxID_YES) && openEditors().empty());
    expected[0x19] = 14;
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);

    // A value the cell refuses stops closing and Apply, its message showing;
    // closed again, the editor goes without it.
    editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    typeIntoCell(editor->grid(), 1, 1, "1O");
    {
        ModalDialogCounter dialogs;
        EXPECT_FALSE(editor->closeAsking());
        EXPECT_EQ(dialogs.count(), 0);
    }
    EXPECT_EQ(statusText(editor), "This is not a valid number!");
    const struct {
        const char* typed;
        int command;
        bool focusLost;   // as clicking elsewhere does first
    } applies[] = {
        {"2O", editor->commandIds().apply, false},
        {"3O", editor->commandIds().toolApply, false},
        {"4O", editor->commandIds().toolApply, true},
    };
    for (const auto& attempt : applies) {
        SCOPED_TRACE(attempt.typed);
        typeIntoCell(editor->grid(), 1, 1, attempt.typed);
        if (attempt.focusLost)
            editor->grid()->DisableCellEditControl();
        sendMenuCommand(editor, attempt.command);
        pumpEvents(20);
        EXPECT_EQ(openEditors().size(), 1u);
        EXPECT_EQ(statusText(editor), "This is not a valid number!");
    }
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);
    closesUnasked(editor);

    // An editor nothing was done in leaves alone what another one applied.
    TableEditorFrame* untouched = openThroughMenu();
    editor = openThroughMenu();
    ASSERT_TRUE(untouched && editor && untouched != editor);
    edit(editor, 1, 1, "9");
    editor->apply();
    pumpEvents(20);
    expected = frame()->workspace().buffers[0].data;
    closesUnasked(untouched);
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);
}

// The map's definition changed under the editor (address, width, scaling):
// Apply would write cells where, or as, the map no longer is; the working
// copy stays for the tuner to copy. A title changes nothing of that.
TEST_F(OpenedEditorTest, ApplyRefusesCellsWhoseDefinitionChanged)
{
    edit(editor, 0, 0, "7");
    const std::vector<std::uint8_t> before = frame()->workspace().buffers[0].data;
    MapDefinition& map = frame()->workspace().definitions.maps[Ignition];
    const MapDefinition kept = map;
    frame()->workspace().definitions.maps[AxisOutside].axes[AxisZ].factor = 0.125;   // no other map of these cells
    const char* const changed = "The map definition has changed: copy the cells, then open the map again.";
    const std::pair<const char*, std::function<void()>> edits[] = {
        {"address", [&] { map.axes[AxisZ].address = 0x20; }},
        {"factor", [&] { map.axes[AxisZ].factor = 0.25; }},
        {"the list emptied", [&] { frame()->workspace().definitions.mapCount = 0; }},
    };
    for (const auto& [what, change] : edits) {
        SCOPED_TRACE(what);
        change();
        frame()->workspace().definitionsEdited();
        EXPECT_EQ(statusText(editor), changed);
        editor->apply();
        pumpEvents(20);
        ASSERT_EQ(openEditors().size(), 1u);
        EXPECT_EQ(frame()->workspace().buffers[0].data, before);
        map = kept;
        frame()->workspace().definitions.mapCount = 4;
        frame()->workspace().definitionsEdited();   // as it was: the refusal ends
        EXPECT_EQ(statusText(editor), "The map definition is as before: Apply writes these cells again.");
    }
    // Nor does the map moving in the list (a Delete before it), or its title.
    DefinitionStore& store = frame()->workspace().definitions;
    editor->SetStatusText("", 1);
    std::swap(store.maps[Ignition], store.maps[NoCells]);
    frame()->workspace().definitionsEdited();
    EXPECT_EQ(statusText(editor), "");
    std::swap(store.maps[Ignition], store.maps[NoCells]);
    map.title = "Renamed";
    frame()->workspace().definitionsEdited();
    editor->apply();
    pumpEvents(20);
    EXPECT_TRUE(openEditors().empty());
    EXPECT_EQ(frame()->workspace().buffers[0].data[0x11], 14);
}

// Whatever changes its image (another editor's Apply, a load, a copy), an
// editor shows it, keeps the cells changed in it, and applies only those.
TEST_F(TableEditorTest, AnEditorTakesUpItsImageChangingAndKeepsItsOwnCells)
{
    prepare();
    TableEditorFrame* first = openThroughMenu();
    TableEditorFrame* second = openThroughMenu();
    ASSERT_TRUE(first && second && first != second);
    edit(second, 1, 1, "9");
    edit(first, 0, 0, "7");
    first->apply();
    pumpEvents(20);
    EXPECT_EQ(second->cellText(0, 0), "7.0");
    EXPECT_EQ(statusText(second), "BIN #1 changed: the table shows it anew, with the 1 cell changed here kept.");

    // Load BIN over it (the first editor's Apply is not saved: discarded).
    std::vector<std::uint8_t> other = testImage(2);
    other[0x12] = 0, other[0x13] = 40;   // (0, 1): 20.0
    other[0x18] = 0, other[0x19] = 50;   // (1, 1): 25.0, under the 9.0 typed in the second editor
    const std::string otherPath = files.file("other.bin");
    writeBytes(otherPath, other);
    wxTEST_DIALOG(sendMenuCommand(frame(), frame()->commandIds().loadBin), wxExpectModal<wxMessageDialog>(wxID_NO),
                  ExpectFileDialog(otherPath));
    EXPECT_EQ(second->cellText(0, 0) + " " + second->cellText(0, 1) + " " + second->cellText(1, 1), "5.0 20.0 9.0");
    // Undo puts back the loaded image's cell, not the one it replaced.
    ASSERT_TRUE(second->undo());
    EXPECT_EQ(second->cellText(1, 1), "25.0");
    ASSERT_TRUE(second->redo());
    second->apply();
    pumpEvents(20);
    std::vector<std::uint8_t> expected = other;
    expected[0x18] = 0, expected[0x19] = 18;   // (1, 1): 9.0, typed in the second editor
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);

    // An image now too short for the map takes nothing, and the message names the editor's BIN.
    TableEditorFrame* third = openThroughMenu();
    ASSERT_NE(third, nullptr);
    edit(third, 0, 0, "3");
    const std::string shortPath = files.file("short.bin");
    writeBytes(shortPath, std::vector<std::uint8_t>(8, 1));
    clickRadio(findControl<wxRadioButton>(frame(), "ID_RADIOBUTTON1"));
    wxTEST_DIALOG(sendMenuCommand(frame(), frame()->commandIds().loadBin), wxExpectModal<wxMessageDialog>(wxID_NO),
                  ExpectFileDialog(shortPath));
    clickRadio(findControl<wxRadioButton>(frame(), "ID_RADIOBUTTON2"));
    third->apply();
    EXPECT_EQ(statusText(third), "The map does not fit in BIN #1!");
    EXPECT_EQ(frame()->workspace().buffers[0].data, std::vector<std::uint8_t>(8, 1));
    closeWith(third, third->commandIds().toolCancel);
}

// A menu item or tool used while a value is typed takes the value in first,
// as it was meant: in the view it was typed in, before the command acts.
TEST_F(TableEditorTest, CommandsTakeATypedValueInFirst)
{
    prepare();
    const struct {
        const char* name;
        int TableEditorIds::*command;
        bool check;           // a check item: the menu toggles it before the command
        std::uint8_t raw;     // of cell (1, 1) after Apply
    } rows[] = {
        {"view switch", &TableEditorIds::showRaw, true, 14},   // 7.0 typed in the engineering view
        {"raw step", &TableEditorIds::incRaw, false, 15},      // then stepped by 1
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TableEditorFrame* editor = openThroughMenu();
        ASSERT_NE(editor, nullptr);
        findControl<wxSpinCtrl>(editor, "ID_SPINCTRL1")->SetValue(1);
        typeIntoCell(editor->grid(), 1, 1, "7");
        const int id = editor->commandIds().*row.command;
        if (row.check)
            editor->GetMenuBar()->Check(id, true);
        sendMenuCommand(editor, id);
        closeWith(editor, editor->commandIds().apply);
        EXPECT_EQ(frame()->workspace().buffers[0].data[0x19], row.raw);
    }
}

TEST_F(TableEditorTest, ColumnsShowTheWidestValueACellCanHoldInFull)
{
    prepare();
    frame()->workspace().definitions.maps[Ignition].axes[AxisZ].factor = 100000;
    frame()->workspace().definitions.maps[Ignition].axes[AxisX].count = 8;
    TableEditorFrame* editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    wxClientDC dc(editor->grid()->GetGridWindow());
    dc.SetFont(editor->grid()->GetDefaultCellFont());
    EXPECT_GT(editor->grid()->GetColSize(7), dc.GetTextExtent("-3276800000.0").x);
    // A table that fits the screen opens whole, its wide columns counted.
    pumpEvents(100);
    EXPECT_LE(editor->grid()->CellToRect(0, 7).GetRight(), editor->grid()->GetGridWindow()->GetClientSize().x);
}

TEST_F(OpenedEditorTest, DeleteAndBackspaceNeverChangeAValue)
{
    wxGrid* grid = editor->grid();
    clickCell(grid, 0, 1);
    press(WXK_DELETE);   // opens the editor with the whole text selected...
    ASSERT_TRUE(grid->IsCellEditControlShown());
    wxGridCellEditor* cellEditor = grid->GetCellEditor(0, 1);
    EXPECT_EQ(dynamic_cast<wxTextCtrl*>(cellEditor->GetControl())->GetStringSelection(), "10.0");
    cellEditor->DecRef();
    press(WXK_RETURN);   // ...which Enter keeps
    EXPECT_EQ(editor->cells().raw(0, 1), 20);
    press(WXK_UP);
    press(WXK_DELETE);
    user.Text("16.5");   // typing replaces it
    press(WXK_RETURN);
    EXPECT_EQ(editor->cells().raw(0, 1), 33);
    // With Ctrl or Shift held too: the toolkit's own handling would open the
    // editor with a character already gone, and Enter would store the rest.
    for (int key : {WXK_BACK, WXK_DELETE})
        for (int modifiers : {int(wxMOD_NONE), int(wxMOD_CONTROL), int(wxMOD_SHIFT), wxMOD_CONTROL | wxMOD_SHIFT}) {
            SCOPED_TRACE(testing::Message() << key << " with " << modifiers);
            press(WXK_UP);
            press(key, modifiers);
            press(WXK_RETURN);
            EXPECT_EQ(editor->cells().raw(0, 1), 33);
            EXPECT_EQ(editor->cellText(0, 1), "16.5");
        }
}

TEST_F(OpenedEditorTest, SelectionFollowsTheMouseAndShowsTheMask)
{
    pumpEvents(300);
    wxGrid* grid = editor->grid();
    auto selected = [&](int row, int col) { return grid->GetCellBackgroundColour(row, col) == grid->GetSelectionBackground(); };
    user.MouseMove(cellOnScreen(grid, 0, 0));
    pumpEvents(50);
    user.MouseDown();
    pumpEvents(50);
    user.MouseMove(cellOnScreen(grid, 1, 1));
    pumpEvents(50);
    user.MouseUp();
    pumpEvents(50);
    CellSelection& selection = editor->selection();
    EXPECT_EQ(selection.count(), 4u);
    EXPECT_TRUE(selected(1, 1));
    EXPECT_FALSE(selected(1, 2));

    // A pattern set by an operation shows, and a Ctrl-click builds on it.
    selection.clear();
    selection.set(0, 2);
    editor->selectionChanged();
    EXPECT_TRUE(selected(0, 2) && !selected(0, 0));
    user.MouseMove(cellOnScreen(grid, 1, 2));
    pumpEvents(50);
    user.KeyDown(WXK_CONTROL);
    user.MouseClick();
    user.KeyUp(WXK_CONTROL);
    pumpEvents(50);
    EXPECT_EQ(selection.count(), 2u);
    EXPECT_TRUE(selected(1, 2));

    const TableEditorIds& ids = editor->commandIds();
    sendMenuCommand(editor, ids.invertSelection);
    EXPECT_EQ(selection.count(), 4u);
    EXPECT_EQ(statusText(editor), "Selected 4 cells.");
    sendMenuCommand(editor, ids.clearSelection);
    EXPECT_EQ(selection.count(), 0u);
    EXPECT_EQ(statusText(editor), "Selection cleared.");
    sendMenuCommand(editor, ids.selectAll);
    EXPECT_TRUE(selection.count() == 6u && selected(0, 0));
    EXPECT_EQ(statusText(editor), "Selected 6 cells.");
}

TEST_F(OpenedEditorTest, ButtonsAndMenuItemsRunTheirOperations)
{
    const TableEditorIds& ids = editor->commandIds();
    auto percentUp = findControl<wxBitmapButton>(editor, "ID_BITMAPBUTTON3");
    sendMenuCommand(editor, ids.selectAll);
    editor->percentageControl()->SetValue("ten");
    clickButton(percentUp);
    EXPECT_EQ(statusText(editor), "This is not a valid number!");
    EXPECT_EQ(editor->percentageControl()->GetForegroundColour(), wxColour(255, 0, 0));
    editor->percentageControl()->SetValue("10");
    clickButton(percentUp);
    EXPECT_EQ(statusText(editor), "Percentage added to 6 cells.");
    EXPECT_EQ(editor->percentageControl()->GetForegroundColour(), wxColour(0, 0, 0));
    EXPECT_EQ(editor->cellText(0, 0) + " " + editor->cellText(1, 2), "5.5 55.0");
    // The charts through the cursor follow the written cells.
    EXPECT_EQ(editor->xChart()->values()[0], 5.5);

    editor->rawValueControl()->SetValue(11);
    sendMenuCommand(editor, ids.selectByValue);
    EXPECT_EQ(statusText(editor), "Selected 1 cells.");
    clickButton(findControl<wxBitmapButton>(editor, "ID_BITMAPBUTTON9"));
    EXPECT_EQ(statusText(editor), "COUNT=1 MIN=5.5 AVG=5.5 MAX=5.5");
    // The step is one change: undone whole, with the selection it had.
    ASSERT_TRUE(editor->undo());
    EXPECT_EQ(statusText(editor), "Undone: Percentage added to 6 cells.");
    EXPECT_EQ(editor->cellText(0, 0) + " " + editor->cellText(1, 2), "5.0 50.0");
    EXPECT_EQ(editor->selection().count(), 6u);
    EXPECT_EQ(editor->xChart()->values()[0], 5.0);
}

TEST_F(OpenedEditorTest, WithoutASelectionTheCursorCellIsTheTargetAndLimitsHold)
{
    const Workspace& workspace = frame()->workspace();
    EXPECT_EQ(workspace.historyBudget->used(), 0u);
    editor->grid()->SetGridCursor(1, 2);   // where a click puts it
    editor->engineeringControl()->SetValue("0.5");
    clickButton(findControl<wxBitmapButton>(editor, "ID_BITMAPBUTTON5"));
    EXPECT_EQ(statusText(editor), "Engineering number added to 1 cells.");
    EXPECT_EQ(editor->cellText(1, 2), "50.5");
    EXPECT_EQ(editor->gridModel().look(1, 2).background, kWhite);
    clickButton(findControl<wxBitmapButton>(editor, "ID_BITMAPBUTTON9"));
    EXPECT_EQ(statusText(editor), "COUNT=1 MIN=50.5 AVG=50.5 MAX=50.5");
    sendMenuCommand(editor, editor->commandIds().copy);
    EXPECT_EQ(clipboardText(), "ENG-ABS@1:2=50.5");

    edit(editor, 0, 0, "99999");   // raw 199998 in a signed 16-bit cell
    EXPECT_EQ(statusText(editor), "1 cells held at a limit.");
    EXPECT_EQ(editor->cellText(0, 0), "16383.5");
    // The editor's undo history draws on the workspace's budget, and gives it back on closing.
    EXPECT_GT(workspace.historyBudget->used(), 0u);
    closeWith(editor, editor->commandIds().toolCancel);
    EXPECT_EQ(workspace.historyBudget->used(), 0u);
}

TEST_F(OpenedEditorTest, ClipboardIsSharedWithOtherPrograms)
{
    const TableEditorIds& ids = editor->commandIds();
    editor->selection().set(0, 0);
    editor->selection().set(1, 2);
    sendMenuCommand(editor, ids.copy);
    EXPECT_EQ(statusText(editor), "Data copied to clipboard.");
    EXPECT_EQ(clipboardText(), "ENG-ABS@0:0=5.0@1:2=50.0");
    const std::string mime = " -selection clipboard -t 'text/plain;charset=utf-8'";
    EXPECT_EQ(outputWhilePumping("xclip -o" + mime), "ENG-ABS@0:0=5.0@1:2=50.0");

    const std::vector<std::uint8_t> before = editor->cells().workingCopy;
    offerText("RAW-DIF@0:0=1");
    sendMenuCommand(editor, ids.paste);
    EXPECT_EQ(statusText(editor), "Please select a compare BIN before pasting difference values!");
    EXPECT_EQ(editor->cells().workingCopy, before);
    outputWhilePumping("printf 'RAW-ABS@0:1=33@1:0=-8' | xclip -i" + mime + " >/dev/null 2>&1");   // by MIME name only
    sendMenuCommand(editor, ids.toolPaste);
    EXPECT_EQ(editor->cellText(0, 1) + " " + editor->cellText(1, 0), "16.5 -4.0");
    EXPECT_EQ(statusText(editor), "Data pasted into 2 cells.");
    for (const auto& [target, raw] : {std::pair{"text/plain", 3}, std::pair{"TEXT", 4}}) {   // owners that name text only so
        SCOPED_TRACE(target);
        outputWhilePumping("printf 'RAW-ABS@0:1=" + std::to_string(raw) + "' | xclip -i -selection clipboard -t " +
                           target + " >/dev/null 2>&1");
        sendMenuCommand(editor, ids.paste);
        EXPECT_EQ(editor->cells().raw(0, 1), raw);
    }

    // A large paste holds the text about once: read as UTF-8, not widened first.
    std::string large = "ENG\xE2\x80\x94" "ABS";   // a separator of three bytes
    for (int i = 0; large.size() < (24u << 20); ++i)
        large += "@1:2=" + std::to_string(i % 100) + ".5";
    writeText(files.file("large.txt"), large);
    offerFile(files.file("large.txt"));
    const double resident = residentBytes();
    const bool peakKnown = resetPeak();
    sendMenuCommand(editor, ids.paste);
    const double rise = peakBytes() - resident;
    EXPECT_EQ(editor->cellText(1, 2), large.substr(large.rfind('=') + 1));
    EXPECT_EQ(statusText(editor), "Data pasted into 1 cells.");
    if (peakKnown) {
        EXPECT_LT(rise, 4.0 * double(large.size())) << "peak rise " << rise / 1048576 << " MB";
    }
    sendMenuCommand(editor, ids.toolCopy);   // taking the clipboard back ends xclip
}

TEST_F(OpenedEditorTest, View3DReplotsInTheEditorsOwnGnuplotUntilTheEditorCloses)
{
    TempDir plotDir;
    const std::filesystem::path previous = std::filesystem::current_path();
    // The plot files are written to the current folder.
    auto plot = [&](int id) {
        std::filesystem::current_path(plotDir.path());
        sendMenuCommand(editor, id);
        std::filesystem::current_path(previous);
    };
    plot(editor->commandIds().toolView3d);
    std::ifstream script(plotDir.file("3d_plot")), data(plotDir.file("3d_data.gnuplot"));
    std::string title, firstPoint;
    std::getline(script, title);
    std::getline(data, firstPoint);
    EXPECT_EQ(title + "|" + firstPoint, "set title \"Ignition\"|1000 10.0 5.0");

    const std::vector<long> pids = runningPlotProcesses(editor);
    ASSERT_EQ(pids.size(), 1u);
    // Each wait below ends as soon as gnuplot has done its part; the limit
    // is generous, as a busy machine may take many seconds to start it.
    wxStopWatch watch;
    bool shown = false;
    while (!(shown = outputWhilePumping("xwininfo -root -tree").find("Gnuplot window") != std::string::npos) &&
           watch.Time() < 60000)
        pumpEvents(100);
    EXPECT_TRUE(shown);
    // Again: the same gnuplot draws the new files.
    edit(editor, 0, 0, "8");
    plot(editor->commandIds().viewer3d);
    EXPECT_EQ(statusText(editor), "");
    pumpEvents(500);
    EXPECT_EQ(runningPlotProcesses(editor), pids) << "the plot must stay while the editor is open";
    const std::string ownGnuplots = "pgrep -x -P " + std::to_string(::getpid()) + " gnuplot";
    EXPECT_EQ(outputWhilePumping(ownGnuplots), std::to_string(pids[0]) + "\n");

    // A gnuplot that ended unnoticed (its pipe has no reader any more) is
    // started anew, without a word.
    ::kill(pids[0], SIGKILL);
    auto state = [](long pid) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string id, name, letter;
        stat >> id >> name >> letter;
        return letter;
    };
    watch.Start();
    while (state(pids[0]) != "Z" && watch.Time() < 60000)   // dead, but not yet reaped by the toolkit
        std::this_thread::yield();
    {
        LoggedErrors logged;
        plot(editor->commandIds().viewer3d);
        EXPECT_EQ(logged.count, 0);
    }
    const std::vector<long> restarted = runningPlotProcesses(editor);
    ASSERT_EQ(restarted.size(), 1u);
    EXPECT_NE(restarted, pids);

    // Closing the editor ends its gnuplot.
    sendMenuCommand(editor, editor->commandIds().toolCancel);
    watch.Start();
    while (::kill(restarted[0], 0) == 0 && watch.Time() < 60000)
        pumpEvents(20);
    EXPECT_NE(::kill(restarted[0], 0), 0) << "gnuplot did not end with its editor";
    ::kill(restarted[0], SIGKILL);

    // Out of descriptors, gnuplot cannot start: nothing is said, no box opens.
    editor = openThroughMenu();
    ASSERT_NE(editor, nullptr);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit saved = limit;
    const auto open = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    limit.rlim_cur = rlim_t(open + 3);   // room for the plot files, not for the pipes
    LoggedErrors logged;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
    plot(editor->commandIds().viewer3d);
    setrlimit(RLIMIT_NOFILE, &saved);
    pumpEvents(50);
    EXPECT_EQ(logged.count, 0);
    EXPECT_TRUE(runningPlotProcesses(editor).empty());

    // A gnuplot that has ended before the toolkit first looks at it is
    // reaped within the start itself: the editor keeps no process, plots
    // again and closes as ever.
    TempDir bin;
    writeText(bin.file("gnuplot"), "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(bin.file("gnuplot"), std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (bin.path().string() + ":" + path).c_str(), 1);
    lateChildLooks = true;
    plot(editor->commandIds().viewer3d);
    plot(editor->commandIds().viewer3d);
    lateChildLooks = false;
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_TRUE(runningPlotProcesses(editor).empty());
    sendMenuCommand(editor, editor->commandIds().toolCancel);
    pumpEvents(50);
}

TEST_F(OpenedEditorTest, CtrlZUndoesAndCtrlYRedoesATypedValue)
{
    std::vector<std::uint8_t> expected = frame()->workspace().buffers[0].data;
    clickCell(editor->grid(), 0, 0);
    user.Text("12");
    press(WXK_RETURN);
    EXPECT_EQ(editor->cellText(0, 0), "12");
    // Enter moved the cursor down: a Shift block starts there.
    press(WXK_RIGHT, wxMOD_SHIFT);
    EXPECT_TRUE(editor->selection().isSelected(1, 1));
    EXPECT_FALSE(editor->selection().isSelected(0, 0));
    const struct {
        char key;
        int modifiers;
        const char* value;
        const char* status;
    } keys[] = {{'z', wxMOD_CONTROL, "5.0", "Undone"},
                {'y', wxMOD_CONTROL, "12.0", "Redone"},
                {'z', wxMOD_CONTROL, "5.0", "Undone"},
                {'z', wxMOD_CONTROL | wxMOD_SHIFT, "12.0", "Redone"},
                {'z', wxMOD_CONTROL, "5.0", "Undone"}};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        SCOPED_TRACE("key " + std::to_string(i));
        press(keys[i].key, keys[i].modifiers);
        EXPECT_EQ(editor->cellText(0, 0), keys[i].value);
        EXPECT_EQ(statusText(editor), std::string(keys[i].status) + ": Value typed into a cell.");
    }
    sendMenuCommand(editor, editor->commandIds().apply);
    pumpEvents(20);
    EXPECT_EQ(frame()->workspace().buffers[0].data, expected);
}

// The keys of a tuner who works from the keyboard and with spreadsheets,
// pressed for real: a block selected with Shift and the arrows is copied as
// tab-separated rows and shows its size; a spreadsheet's block pastes at the
// cursor (outside cells skipped, undone in one step); the steps have keys;
// F6 moves to the controls, Tab walks them in their order, F6 comes back.
TEST_F(OpenedEditorTest, KeysCopyPasteStepAndMoveLikeASpreadsheet)
{
    wxGrid* grid = editor->grid();
    clickCell(grid, 1, 2);
    auto cells = [&] {
        std::string all;
        for (int i = 0; i < 6; ++i)
            all += editor->cellText(i / 3, i % 3).utf8_string() + (i == 2 ? " / " : " ");
        return all;
    };

    press(WXK_LEFT, wxMOD_SHIFT);
    EXPECT_EQ(statusText(editor, 0), wxString::FromUTF8("2 \u00d7 1 = 2 cells"));
    press(WXK_LEFT, wxMOD_SHIFT);
    press(WXK_UP, wxMOD_SHIFT);
    EXPECT_EQ(statusText(editor, 0), wxString::FromUTF8("3 \u00d7 2 = 6 cells"));
    press('c', wxMOD_CONTROL);
    EXPECT_EQ(statusText(editor), "Data copied to clipboard.");
    EXPECT_EQ(clipboardText(), "5.0\t10.0\t-2.0\n3.5\t0.0\t50.0\n");
    sendMenuCommand(editor, editor->commandIds().clearSelection);
    EXPECT_EQ(statusText(editor, 0), "");
    press(WXK_INSERT, wxMOD_CONTROL);   // nothing selected: the cursor cell
    EXPECT_EQ(clipboardText(), "50.0\n");

    offerText("1\\t2\\n3\\t4\\n");
    press(WXK_NUMPAD_UP);   // the keypad's cursor keys move as the main ones
    press(WXK_NUMPAD_LEFT);
    press('v', wxMOD_CONTROL);
    EXPECT_EQ(statusText(editor), "Data pasted into 4 cells.");
    EXPECT_EQ(cells(), "5.0 1.0 2.0 / 3.5 3.0 4.0 ");
    press(WXK_RIGHT);
    press(WXK_INSERT, wxMOD_SHIFT);   // the right column falls outside the map
    EXPECT_EQ(statusText(editor), "Data pasted into 2 cells.");
    EXPECT_EQ(cells(), "5.0 1.0 1.0 / 3.5 3.0 3.0 ");
    press('z', wxMOD_CONTROL);
    EXPECT_EQ(statusText(editor), "Undone: Data pasted into 2 cells.");
    EXPECT_EQ(cells(), "5.0 1.0 2.0 / 3.5 3.0 4.0 ");
    offerText("Fuel\\t1\\n");
    press('v', wxMOD_CONTROL);
    EXPECT_EQ(statusText(editor), "No data to be pasted!");
    EXPECT_EQ(cells(), "5.0 1.0 2.0 / 3.5 3.0 4.0 ");
    offerText("7,5\\n");   // the menu item takes a block too
    sendMenuCommand(editor, editor->commandIds().paste);
    EXPECT_EQ(cells(), "5.0 1.0 7.5 / 3.5 3.0 4.0 ");

    // Steps on the whole table.
    press('a', wxMOD_CONTROL);
    EXPECT_EQ(statusText(editor, 0), wxString::FromUTF8("3 \u00d7 2 = 6 cells"));
    editor->rawValueControl()->SetValue(2);
    editor->percentageControl()->SetValue("100");
    editor->engineeringControl()->SetValue("0.5");
    const struct {
        int key, modifiers;
        const char* after;
    } steps[] = {
        {WXK_NUMPAD_ADD, wxMOD_CONTROL, "Raw number added to 6 cells.|6.0 2.0 8.5 / 4.5 4.0 5.0 "},
        {'-', wxMOD_CONTROL, "Raw number subtracted from 6 cells.|5.0 1.0 7.5 / 3.5 3.0 4.0 "},
        {WXK_PAGEUP, wxMOD_CONTROL, "Percentage added to 6 cells.|10.0 2.0 15.0 / 7.0 6.0 8.0 "},
        {WXK_PAGEDOWN, wxMOD_ALT, "Engineering number subtracted from 6 cells.|9.5 1.5 14.5 / 6.5 5.5 7.5 "},
    };
    for (const auto& step : steps) {
        press(step.key, step.modifiers);
        EXPECT_EQ(statusText(editor) + "|" + cells(), step.after);
    }

    // To the controls and back; Tab follows their layout, row by row, then
    // passes the charts by to the grid.
    auto focusName = [] { return wxWindow::FindFocus() ? wxWindow::FindFocus()->GetName() : wxString("none"); };
    press(WXK_F6);
    wxString walked = focusName();
    for (int i = 0; i < 23; ++i) {
        press(WXK_TAB);
        walked += " " + focusName();
    }
    EXPECT_EQ(walked, "ID_RADIOBUTTON1 ID_SPINCTRL1 ID_BITMAPBUTTON1 ID_BITMAPBUTTON2 "
                      "ID_TEXTCTRL1 ID_BITMAPBUTTON3 ID_BITMAPBUTTON4 ID_TEXTCTRL2 ID_BITMAPBUTTON5 ID_BITMAPBUTTON6 "
                      "ID_BUTTON1 ID_BUTTON2 ID_BUTTON3 ID_BITMAPBUTTON7 ID_BITMAPBUTTON8 ID_BITMAPBUTTON9 "
                      "ID_BITMAPBUTTON10 ID_BITMAPBUTTON11 ID_TEXTCTRL3 ID_TEXTCTRL4 ID_TEXTCTRL5 ID_TEXTCTRL6 "
                      "ID_BUTTON4 ID_GRID1");
    press(WXK_TAB, wxMOD_CONTROL);   // back to where the controls were left
    EXPECT_EQ(focusName(), "ID_BUTTON4");
    press(WXK_F6);
    EXPECT_TRUE(wxWindow::FindFocus() == grid || grid->IsDescendant(wxWindow::FindFocus())) << focusName();
}

TEST_F(TableEditorTest, TheViewerPassesOnTheMainWindowsShortcuts)
{
    prepare();
    MapViewerFrame* viewer = frame()->viewer();
    pumpEvents(300);
    wxTreeCtrl* tree = viewer->tree();
    wxRect line;
    ASSERT_TRUE(tree->GetBoundingRect(viewer->mapItem(Ignition), line, true));
    auto clickMap = [&] {
        user.MouseMove(tree->ClientToScreen(line.GetPosition() + line.GetSize() / 2));
        user.MouseClick();
        pumpEvents(100);
    };
    clickMap();
    press('t', wxMOD_ALT);
    ASSERT_EQ(openEditors().size(), 1u);
    EXPECT_EQ(openEditors().front()->GetParent(), frame());   // opened by the main window's command
    viewer->Raise();
    clickMap();
    {
        ModalDialogCounter dialogs;
        press(WXK_F1);   // the about box
        press('i', wxMOD_ALT);   // the map editor on the selected map
        EXPECT_EQ(dialogs.count(), 2);
    }
    press(WXK_F4, wxMOD_ALT);   // closes the viewer, not the program
    EXPECT_FALSE(viewer->IsShown());
    EXPECT_TRUE(window.alive());
}

} // namespace
