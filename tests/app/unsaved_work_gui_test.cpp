// Unsaved work on the real windows: the question on quitting (every way of
// quitting, each answer), table editors closed first, the questions before a
// load, an import or New replaces unsaved work, the BIN panel after Apply, and
// no map selected after the list was replaced.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/grid.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include "app/TorvaneStudioFrame.h"
#include "bin_panel_names.h"
#include "commands/maps_commands_ui.h"
#include "common/hex_format.h"
#include "commands/rom_commands_ui.h"
#include "gui_test_support.h"
#include "rom/checksums.h"
#include "tableeditor/TableEditorFrame.h"
#include "tableeditor/table_editor_commands_ui.h"
#include "viewer/MapViewerFrame.h"
#include "viewer/viewer_test_maps.h"

namespace {

// How the question was put.
struct Asked {
    wxString message, cancelLabel;
    long style = 0;
};

// Answers the question with `id` (wxID_YES save, wxID_NO discard, wxID_CANCEL keep).
class AnswerQuestion : public wxExpectModalBase<wxMessageDialog, AnswerQuestion> {
public:
    explicit AnswerQuestion(int id, Asked* asked = nullptr) : m_id(id), m_asked(asked) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override
    {
        if (m_asked)
            *m_asked = {dialog->GetMessage(), dialog->GetCancelLabel(), dialog->GetMessageDialogStyle()};
        return m_id;
    }

private:
    int m_id;
    Asked* m_asked;
};

class UnsavedWorkTest : public MainWindowTestBase {
protected:
    const UnsavedWork& unsaved() const { return frame()->workspace().unsaved; }

    // The three test maps (Spark: one 8-bit cell at 0, shown as stored) and
    // BIN #1 holding 2 KiB of zeros, both loaded through their commands.
    void prepare()
    {
        runWithFileDialog(ids().loadMaps, textFile("maps.xts", mapsFileXml(threeTestMaps())));
        frame()->workspace().definitions.maps[0].axes[AxisZ].factor = 1;
        runWithFileDialog(ids().loadBin, bytesFile("image.bin", std::vector<std::uint8_t>(2048, 0)));
        selectMapLine(frame()->viewer(), 0);
    }
    // Types `text` into the first cell of the editor and applies.
    void applyFirstCell(TableEditorFrame* editor, const wxString& text)
    {
        typeIntoCell(editor->grid(), 0, 0, text);
        editor->grid()->DisableCellEditControl();
        sendMenuCommand(editor, editor->commandIds().apply);
        pumpEvents(20);
    }
    // Quits answering Save; the buffer sharing a file is saved as `other`,
    // asked for with `title`, and the program ends.
    void quitSavingUnderOwnName(const std::string& other, const char* title)
    {
        wxTEST_DIALOG(sendMenuCommand(frame(), ids().quit), AnswerQuestion(wxID_YES), ExpectFileDialog(other));
        EXPECT_EQ(ExpectFileDialog::lastSeen().title, title);
        pumpEvents(10);
        EXPECT_FALSE(window.alive());
    }
    wxString chk32(int bin) const
    {
        return findControl<wxStaticText>(frame(), staticName(kBinPanels[bin].values[RowChk32]))->GetLabel();
    }

    std::string mapsPath = files.file("maps.xts");
    std::string binPath = files.file("image.bin");
};

TEST_F(UnsavedWorkTest, QuitAsksOnceNamingWhatIsUnsavedAndSavesEachInTurn)
{
    prepare();
    TableEditorFrame* unchanged = openTableEditor(*frame(), frame(), 0, 0);
    ASSERT_NE(unchanged, nullptr);
    sendMenuCommand(unchanged, unchanged->commandIds().apply);   // nothing changed: nothing to save
    pumpEvents(20);
    EXPECT_TRUE(unsaved().parts().empty());
    // Apply refreshes the panel of the buffer it wrote.
    TableEditorFrame* editor = openTableEditor(*frame(), frame(), 0, 0);
    ASSERT_NE(editor, nullptr);
    applyFirstCell(editor, "7");
    const std::vector<std::uint8_t>& image = frame()->workspace().buffers[0].data;
    ASSERT_EQ(image[0], 7);
    EXPECT_EQ(chk32(0), "0x" + wxString(formatHex(checksum32(image.data(), image.size()))));
    sendMenuCommand(frame(), ids().duplicateMap);

    // The Quit item (Alt-F4), the quit tool and the close box: keep running.
    for (int way : {0, 1, 2}) {
        Asked asked;
        if (way < 2) {
            wxTEST_DIALOG(sendMenuCommand(frame(), way == 0 ? ids().quit : ids().toolQuit),
                          AnswerQuestion(wxID_CANCEL, &asked));
        } else {
            wxTEST_DIALOG(frame()->Close(), AnswerQuestion(wxID_CANCEL, &asked));
        }
        pumpEvents(10);
        ASSERT_TRUE(window.alive()) << way;
        EXPECT_EQ(asked.message, "BIN #1 and the map definitions have unsaved changes. Save before quitting?");
        EXPECT_EQ(asked.cancelLabel, "Keep running");
        EXPECT_TRUE(asked.style & wxCANCEL_DEFAULT);
    }

    // Save: BIN #1 goes to its file, then the maps file dialog is cancelled: keep running.
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().quit), AnswerQuestion(wxID_YES),
                  ExpectFileDialog("", wxID_CANCEL));
    pumpEvents(10);
    ASSERT_TRUE(window.alive());
    EXPECT_EQ(readBytes(binPath), image);
    EXPECT_EQ(unsaved().parts(), std::vector<int>{kDefinitionsPart});

    // Only the definitions are left; saved, the program ends and remembers its place.
    const std::string out = files.file("out.xts");
    Asked asked;
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().quit), AnswerQuestion(wxID_YES, &asked), ExpectFileDialog(out));
    pumpEvents(10);
    EXPECT_EQ(asked.message, "The map definitions have unsaved changes. Save before quitting?");
    EXPECT_FALSE(window.alive());
    EXPECT_NE(readText(out).find("<title>Spark</title>"), std::string::npos);
    EXPECT_NE(readText(home.settingsFile()).find("TorvaneStudioFrameX"), std::string::npos);
}

TEST_F(UnsavedWorkTest, BuffersSharingAFileAreNotSavedOverEachOther)
{
    prepare();
    copyRomBufferCommand(*frame(), 0, 1);   // BIN #2 now names image.bin too
    applyFirstCell(openTableEditor(*frame(), frame(), 0, 0), "7");
    const std::vector<std::uint8_t> first = frame()->workspace().buffers[0].data;
    const std::string other = files.file("other.bin");
    // Cancelling the name keeps the program running, and the request ends.
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().quit), AnswerQuestion(wxID_YES), ExpectFileDialog("", wxID_CANCEL));
    pumpEvents(10);
    ASSERT_TRUE(window.alive());
    EXPECT_EQ(statusText(frame()), "");
    quitSavingUnderOwnName(other, "Save BIN #2 under its own name: BIN #1 shares its file.");
    EXPECT_EQ(readBytes(binPath), first);
    EXPECT_EQ(readBytes(other), std::vector<std::uint8_t>(2048, 0));
}

// Given BIN #1's file as its own name after all, BIN #2 leaves BIN #1's
// image, just saved, in no file: quitting asks again.
TEST_F(UnsavedWorkTest, AQuitThatUnsavesAnImageAsksAgain)
{
    prepare();
    copyRomBufferCommand(*frame(), 0, 1);
    applyFirstCell(openTableEditor(*frame(), frame(), 0, 0), "7");
    Asked asked;
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().quit), AnswerQuestion(wxID_YES), ExpectFileDialog(binPath),
                  AnswerQuestion(wxID_CANCEL, &asked));
    pumpEvents(10);
    ASSERT_TRUE(window.alive());
    EXPECT_EQ(asked.message, "BIN #1 has unsaved changes. Save before quitting?");
    EXPECT_EQ(readBytes(binPath), std::vector<std::uint8_t>(2048, 0));
}

// BIN #2 saved as BIN #1's file, then given another image: saving BIN #1
// there on quitting would leave BIN #2's saved image in no file.
TEST_F(UnsavedWorkTest, ABufferSavedAsAnothersFileIsNotSavedOver)
{
    prepare();
    wxString name = "second.bin", second = wxString::FromUTF8(bytesFile("second.bin", std::vector<std::uint8_t>(2048, 5)));
    ASSERT_EQ(loadRomFile(*frame(), 1, false, name, second), 2048);
    applyFirstCell(openTableEditor(*frame(), frame(), 0, 0), "7");
    wxTEST_DIALOG(saveRomFileAs(*frame(), 1), ExpectFileDialog(binPath));
    wxString thirdName = "third.bin", third = wxString::FromUTF8(bytesFile("third.bin", std::vector<std::uint8_t>(16, 3)));
    ASSERT_EQ(loadRomFile(*frame(), 1, false, thirdName, third), 16);
    const std::vector<std::uint8_t> first = frame()->workspace().buffers[0].data;
    const std::string other = files.file("first.bin");
    quitSavingUnderOwnName(other, "Save BIN #1 under its own name: BIN #2 was saved to its file.");
    EXPECT_EQ(readBytes(binPath), std::vector<std::uint8_t>(2048, 5));
    EXPECT_EQ(readBytes(other), first);
}

TEST_F(UnsavedWorkTest, ACopyIsNeitherSavedOverItsOriginalNorReplacedUnasked)
{
    prepare();
    copyRomBufferCommand(*frame(), 0, 1);
    applyFirstCell(openTableEditor(*frame(), frame(), 1, 0), "7");
    Asked asked;
    wxTEST_DIALOG(copyRomBufferCommand(*frame(), 0, 1), AnswerQuestion(wxID_CANCEL, &asked));
    EXPECT_EQ(asked.message, "BIN #2 has unsaved changes. Save first?");
    EXPECT_EQ(frame()->workspace().buffers[1].data[0], 7);

    const std::string other = files.file("tuned.bin");
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().quit), AnswerQuestion(wxID_YES), ExpectFileDialog(other));
    pumpEvents(10);
    EXPECT_FALSE(window.alive());
    EXPECT_EQ(readBytes(binPath), std::vector<std::uint8_t>(2048, 0));   // the image BIN #1 still shows
    EXPECT_EQ(readBytes(other)[0], 7);
}

// A value an editor has just refused stops quitting before any question:
// the editor comes up saying why.
TEST_F(UnsavedWorkTest, ARefusedValueStopsQuittingFirst)
{
    prepare();
    applyFirstCell(openTableEditor(*frame(), frame(), 0, 0), "7");   // BIN #1 unsaved
    TableEditorFrame* editor = openTableEditor(*frame(), frame(), 0, 0);
    ASSERT_NE(editor, nullptr);
    typeIntoCell(editor->grid(), 0, 0, "abc");
    editor->grid()->DisableCellEditControl();   // as clicking the main window does
    {
        ModalDialogCounter dialogs;
        sendMenuCommand(frame(), ids().quit);
        pumpEvents(10);
        EXPECT_EQ(dialogs.count(), 0);
    }
    EXPECT_TRUE(window.alive());
    EXPECT_EQ(statusText(editor), "This is not a valid number!");
}

TEST_F(UnsavedWorkTest, QuitAsksOnceAboutAnEditorsChanges)
{
    prepare();
    TableEditorFrame* editor = openTableEditor(*frame(), frame(), 0, 0);
    ASSERT_NE(editor, nullptr);
    editor->cells().setRaw(0, 0, 9);
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().quit), AnswerQuestion(wxID_NO));   // discard: nothing else to ask
    pumpEvents(10);
    EXPECT_FALSE(window.alive());
    EXPECT_EQ(readBytes(binPath), std::vector<std::uint8_t>(2048, 0));
}

TEST_F(UnsavedWorkTest, QuitClosesTableEditorsFirst)
{
    prepare();
    TableEditorFrame* own = openTableEditor(*frame(), frame(), 0, 0);
    TableEditorFrame* viewers = openTableEditor(*frame(), frame()->viewer(), 0, 0);
    ASSERT_TRUE(own && viewers);

    // An editor that stays open keeps the program running, without a question.
    const auto stay = [](wxCloseEvent& event) { event.Veto(); };
    own->Bind(wxEVT_CLOSE_WINDOW, stay);
    {
        ModalDialogCounter dialogs;
        sendMenuCommand(frame(), ids().quit);
        pumpEvents(10);
        EXPECT_EQ(dialogs.count(), 0);
    }
    ASSERT_TRUE(window.alive());
    own->Unbind(wxEVT_CLOSE_WINDOW, stay);

    // One holding changes asks first; applied on its way out, it leaves its
    // buffer unsaved, and the question names it. Keeping the program
    // running keeps the editor without changes open.
    typeIntoCell(viewers->grid(), 0, 0, "9");
    Asked asked;
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().quit), AnswerQuestion(wxID_YES),
                  AnswerQuestion(wxID_CANCEL, &asked));
    pumpEvents(10);
    EXPECT_EQ(asked.message, "BIN #1 has unsaved changes. Save before quitting?");
    ASSERT_TRUE(window.alive());
    EXPECT_EQ(frame()->workspace().buffers[0].data[0], 9);
    std::vector<TableEditorFrame*> open;
    for (wxWindow* top : wxTopLevelWindows)
        if (auto* editor = dynamic_cast<TableEditorFrame*>(top); editor && !wxTheApp->IsScheduledForDestruction(editor))
            open.push_back(editor);
    EXPECT_EQ(open, std::vector<TableEditorFrame*>{own});
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().quit), AnswerQuestion(wxID_NO));
    pumpEvents(10);
    EXPECT_FALSE(window.alive());
}

TEST_F(UnsavedWorkTest, LoadImportAndNewAskFirstOverUnsavedWork)
{
    prepare();
    sendMenuCommand(frame(), ids().duplicateMap);
    const int count = frame()->workspace().definitions.mapCount;
    const char* const question = "The map definitions have unsaved changes. Save first?";

    // Cancel: no file dialog, nothing replaced.
    for (int command : {ids().newMaps, ids().loadMaps, ids().toolLoadMap, ids().importXdf}) {
        Asked asked;
        wxTEST_DIALOG(sendMenuCommand(frame(), command), AnswerQuestion(wxID_CANCEL, &asked));
        EXPECT_EQ(asked.message, question);
        EXPECT_EQ(asked.cancelLabel, "Cancel");
        EXPECT_EQ(frame()->workspace().definitions.mapCount, count);
    }
    // Save, then load: the definitions went to a file first.
    const std::string out = files.file("out.xts");
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().loadMaps), AnswerQuestion(wxID_YES), ExpectFileDialog(out),
                  ExpectFileDialog(mapsPath));
    EXPECT_EQ(frame()->workspace().definitions.mapCount, 3);
    EXPECT_NE(readText(out).find("<title>Boost</title>"), std::string::npos);
    // Discard, then New.
    selectMapLine(frame()->viewer(), 0);
    sendMenuCommand(frame(), ids().duplicateMap);
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().newMaps), AnswerQuestion(wxID_NO));
    EXPECT_EQ(frame()->workspace().definitions.mapCount, 0);
    EXPECT_TRUE(unsaved().parts().empty());

    // Load BIN over an applied change: Cancel keeps it, Save writes it before the file dialog.
    frame()->workspace().buffers[0].data[0] = 9;
    frame()->workspace().bufferListeners.notify(0);
    Asked asked;
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().loadBin), AnswerQuestion(wxID_CANCEL, &asked));
    EXPECT_EQ(asked.message, "BIN #1 has unsaved changes. Save first?");
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().loadBin), AnswerQuestion(wxID_YES),
                  ExpectFileDialog("", wxID_CANCEL));
    EXPECT_EQ(readBytes(binPath)[0], 9);
    EXPECT_TRUE(unsaved().parts().empty());
}

TEST_F(UnsavedWorkTest, ReplacedListLeavesNoMapSelected)
{
    prepare();
    const std::string xdf = textFile("set.xdf", "<XDFFORMAT version=\"1.50\"><XDFTABLE><title>A</title></XDFTABLE>"
                                                "<XDFTABLE><title>B</title></XDFTABLE></XDFFORMAT>");
    for (int command : {ids().loadMaps, ids().importXdf}) {
        selectMapLine(frame()->viewer(), 1);
        runWithFileDialog(command, command == ids().loadMaps ? mapsPath : xdf);
        EXPECT_EQ(frame()->viewer()->selectedMapIndex(), -1);
        const int count = frame()->workspace().definitions.mapCount;
        for (int use : {ids().tableEditor, ids().editMap, ids().deleteMap, ids().duplicateMap}) {
            ModalDialogCounter dialogs;
            frame()->showStatus("");
            sendMenuCommand(frame(), use);
            EXPECT_EQ(statusText(frame()), "Please select a map first in the map viewer!");
            EXPECT_EQ(dialogs.count(), 0);
            EXPECT_EQ(frame()->workspace().definitions.mapCount, count);
        }
    }
}

} // namespace
