// Load, save, save as and copy of the ROM buffers, driven through the real
// menu commands and buttons with the file dialogs answered by the test.
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/textctrl.h>

#include "app/TorvaneStudioFrame.h"
#include "rom/rom_image.h"
#include "common/safe_file.h"
#include "bin_panel_names.h"
#include "commands/maps_commands_ui.h"
#include "commands/rom_commands_ui.h"
#include "gui_test_support.h"

namespace {

const std::vector<std::uint8_t> kDigits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};

// What a BIN panel shows: file name, size and the three checksums.
struct PanelText {
    std::string fileName, size, chk8, chk16, chk32;
    bool operator==(const PanelText&) const = default;
};

void PrintTo(const PanelText& p, std::ostream* os)
{
    *os << "{" << p.fileName << ", " << p.size << ", " << p.chk8 << ", " << p.chk16 << ", " << p.chk32 << "}";
}

const PanelText kEmptyPanel{"", "---", "---", "---", "---"};
const PanelText kDigitsPanel{"digits.bin", "9", "0xFB", "0x4B37", "0x340BC6D9"};

// Stops simulating a full disk however the test ends.
struct WriteFaultGuard {
    WriteFaultGuard()
    {
        setWriteFaultHookForTesting([](std::size_t requested) { return requested / 2; });
    }
    ~WriteFaultGuard() { setWriteFaultHookForTesting({}); }
};

struct AllocationFaultGuard {
    AllocationFaultGuard() { setRomAllocationFailureForTesting(true); }
    ~AllocationFaultGuard() { setRomAllocationFailureForTesting(false); }
};

class RomCommandsTest : public MainWindowTestBase {
protected:
    RomBuffer& buffer(int index) { return frame()->workspace().buffers[index]; }
    wxString status() { return statusText(frame(), 1); }
    const std::string digitsPath = bytesFile("digits.bin", kDigits);

    PanelText panel(int index)
    {
        const BinPanelNames& n = kBinPanels[index];
        auto label = [&](BinPanelRow row) {
            return findControl<wxStaticText>(frame(), staticName(n.values[row]))->GetLabel().utf8_string();
        };
        return {findControl<wxTextCtrl>(frame(), n.fileBox)->GetValue().utf8_string(), label(RowSize),
                label(RowChk8), label(RowChk16), label(RowChk32)};
    }

    wxRadioButton* radio(int index) { return findControl<wxRadioButton>(frame(), kBinPanels[index].radio); }

    void select(int index) { clickRadio(radio(index)); }

    // "Load BIN" from the menu, the dialog answered with `path` (after
    // discarding unsaved changes of the buffer when asked).
    void loadThroughMenu(const std::string& path)
    {
        if (frame()->workspace().unsaved.bufferUnsaved(frame()->workspace().selectedBuffer)) {
            wxTEST_DIALOG(sendMenuCommand(frame(), ids().loadBin), wxExpectModal<wxMessageDialog>(wxID_NO),
                          ExpectFileDialog(wxString::FromUTF8(path)));
        } else {
            wxTEST_DIALOG(sendMenuCommand(frame(), ids().loadBin), ExpectFileDialog(wxString::FromUTF8(path)));
        }
    }

    void loadInto(int index, const std::string& path)
    {
        select(index);
        loadThroughMenu(path);
    }
};

TEST_F(RomCommandsTest, LoadShowsSizeAndChecksumsOfTheImageUpToTheLargest)
{
    loadThroughMenu(digitsPath);

    EXPECT_EQ(status(), "File loaded successfully.");
    EXPECT_EQ(panel(0), kDigitsPanel);
    EXPECT_EQ(panel(1), kEmptyPanel);
    EXPECT_EQ(panel(2), kEmptyPanel);
    EXPECT_EQ(buffer(0).size, 9);
    EXPECT_EQ(buffer(0).data, kDigits);
    EXPECT_EQ(buffer(0).path, digitsPath);
    EXPECT_EQ(buffer(0).fileName, "digits.bin");

    // The largest image fits.
    const std::vector<std::uint8_t> bytes = randomBytes(0x200000);
    select(2);
    loadThroughMenu(bytesFile("full.bin", bytes));
    EXPECT_EQ(status(), "File loaded successfully.");
    EXPECT_EQ(panel(2).size, "2097152");
    EXPECT_EQ(buffer(2).data, bytes);
}

// Each row loads into a buffer that already holds the nine digits: a success
// replaces the image (also shrinking it), a failure leaves it as it was.
TEST_F(RomCommandsTest, LoadOutcomes)
{
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* message;
        PanelText expected;   // fileName filled in below for successes
    };
    const Row rows[] = {
        {"zero.bin", {0x00}, "File loaded successfully.",
         {"zero.bin", "1", "0xF3", "0x40BF", "0x2DFD1072"}},
        {"ff.bin", {0xFF}, "File loaded successfully.", {"ff.bin", "1", "0x0", "0xFF", "0xFFFFFF"}},
        {"empty.bin", {}, "File size error!", kDigitsPanel},
        {"too-big.bin", std::vector<std::uint8_t>(0x200001, 0xAA), "File size error!", kDigitsPanel},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        loadInto(1, digitsPath);
        ASSERT_EQ(panel(1), kDigitsPanel);
        const std::string path = bytesFile(row.name, row.bytes);

        loadThroughMenu(path);
        EXPECT_EQ(status(), row.message);
        EXPECT_EQ(panel(1), row.expected);
        if (row.expected == kDigitsPanel) {
            EXPECT_EQ(buffer(1).data, kDigits);
            EXPECT_EQ(buffer(1).path, digitsPath);
        } else {
            EXPECT_EQ(buffer(1).data, row.bytes);
            EXPECT_EQ(buffer(1).path, path);
        }
        EXPECT_EQ(panel(0), kEmptyPanel);
    }

    // A file that vanished (a remembered one, say) is named by the caller.
    wxString fileName = "missing.bin";
    wxString path = wxString::FromUTF8(files.file("missing.bin"));
    EXPECT_EQ(loadRomFile(*frame(), 1, false, fileName, path), 0);
    EXPECT_EQ(status(), "File not found!");
    EXPECT_EQ(panel(1), kDigitsPanel);
    EXPECT_EQ(buffer(1).data, kDigits);
    EXPECT_EQ(buffer(1).fileName, "digits.bin");
}

TEST_F(RomCommandsTest, FileDialogsAskForRomImages)
{
    const wxString wildcard =
        "BIN files (*.bin)|*.bin|ORI files (*.ori)|*.ori|MOD files (*.mod)|*.mod|All files (*.*)|*.*";
    loadThroughMenu(digitsPath);
    // Title, wildcard, folder and file name; no folder or name is proposed.
    const auto asked = [] {
        const ExpectFileDialog::Seen& seen = ExpectFileDialog::lastSeen();
        return std::make_tuple(seen.title, seen.wildcard, seen.directory, seen.fileName);
    };
    EXPECT_EQ(asked(), std::make_tuple(wxString("Select BIN file to load"), wildcard, wxString(), wxString()));
    EXPECT_TRUE(ExpectFileDialog::lastSeen().style & wxFD_OPEN);

    wxTEST_DIALOG(sendMenuCommand(frame(), ids().saveBinAs), ExpectFileDialog("", wxID_CANCEL));
    EXPECT_EQ(asked(), std::make_tuple(wxString("Select save location & filename"), wildcard, wxString(), wxString()));
    EXPECT_TRUE(ExpectFileDialog::lastSeen().style & wxFD_SAVE);
    EXPECT_TRUE(ExpectFileDialog::lastSeen().style & wxFD_OVERWRITE_PROMPT);   // asks before replacing an image
}

TEST_F(RomCommandsTest, CancelledLoadChangesNothing)
{
    loadInto(0, digitsPath);
    frame()->showStatus("");
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().loadBin), ExpectFileDialog("", wxID_CANCEL));
    EXPECT_EQ(status(), "");
    EXPECT_EQ(panel(0).size, "9");
    EXPECT_EQ(buffer(0).data, kDigits);
}

TEST_F(RomCommandsTest, LoadButtonSelectsItsBinEvenWhenCancelled)
{
    wxTEST_DIALOG(clickButton(findControl<wxButton>(frame(), kBinPanels[1].button)),
                  ExpectFileDialog("", wxID_CANCEL));
    EXPECT_TRUE(radio(1)->GetValue());
    EXPECT_FALSE(radio(0)->GetValue());
    EXPECT_EQ(frame()->workspace().selectedBuffer, 1);
    EXPECT_EQ(panel(1), kEmptyPanel);
    EXPECT_EQ(buffer(1).size, 0);
    EXPECT_EQ(status(), "");

    wxTEST_DIALOG(clickButton(findControl<wxButton>(frame(), kBinPanels[2].button)),
                  ExpectFileDialog(wxString::FromUTF8(digitsPath)));
    EXPECT_TRUE(radio(2)->GetValue());
    EXPECT_EQ(frame()->workspace().selectedBuffer, 2);
    EXPECT_EQ(panel(2).size, "9");
    EXPECT_EQ(panel(1), kEmptyPanel);
    EXPECT_EQ(panel(0), kEmptyPanel);
}

TEST_F(RomCommandsTest, SaveWritesTheSelectedBufferToItsFile)
{
    loadInto(2, digitsPath);
    buffer(2).data[0] = 'X';
    select(0);
    sendMenuCommand(frame(), ids().saveBin);
    EXPECT_EQ(status(), "Buffer empty error!");
    EXPECT_EQ(readBytes(digitsPath), kDigits);

    select(2);
    sendMenuCommand(frame(), ids().saveBin);
    EXPECT_EQ(status(), "File saved successfully.");
    std::vector<std::uint8_t> expected = kDigits;
    expected[0] = 'X';
    EXPECT_EQ(readBytes(digitsPath), expected);
}

TEST_F(RomCommandsTest, FailedSaveKeepsTheOldFile)
{
    loadInto(0, digitsPath);
    buffer(0).data.assign(9, 'Z');
    {
        WriteFaultGuard fullDisk;
        sendMenuCommand(frame(), ids().saveBin);
        EXPECT_EQ(status(), "File write error!");
        EXPECT_EQ(readBytes(digitsPath), kDigits);

        const std::string other = files.file("other.bin");
        wxTEST_DIALOG(sendMenuCommand(frame(), ids().saveBinAs),
                      ExpectFileDialog(wxString::FromUTF8(other)));
        EXPECT_EQ(status(), "File write error!");
        EXPECT_EQ(readBytes(digitsPath), kDigits);
    }
    EXPECT_EQ(buffer(0).path, digitsPath);
}

TEST_F(RomCommandsTest, SaveAsWritesElsewhereAndKeepsTheBuffersFile)
{
    {
        ModalDialogCounter dialogs;
        sendMenuCommand(frame(), ids().saveBinAs);
        EXPECT_EQ(status(), "Buffer empty error!");
        EXPECT_EQ(dialogs.count(), 0);
    }

    loadInto(1, digitsPath);
    frame()->showStatus("");
    const std::string copy = files.file("copy.bin");
    wxTEST_DIALOG(sendMenuCommand(frame(), ids().saveBinAs), ExpectFileDialog("", wxID_CANCEL));
    EXPECT_EQ(status(), "");
    EXPECT_FALSE(wxFileExists(wxString::FromUTF8(copy)));

    wxTEST_DIALOG(sendMenuCommand(frame(), ids().saveBinAs), ExpectFileDialog(wxString::FromUTF8(copy)));
    EXPECT_EQ(status(), "File saved successfully.");
    EXPECT_EQ(readBytes(copy), kDigits);
    EXPECT_EQ(panel(1).fileName, "digits.bin");
    EXPECT_EQ(buffer(1).path, digitsPath);
    EXPECT_EQ(buffer(1).fileName, "digits.bin");

    // Save BIN still goes to the file the image came from.
    buffer(1).data[8] = '0';
    sendMenuCommand(frame(), ids().saveBin);
    EXPECT_EQ(status(), "File saved successfully.");
    EXPECT_EQ(readBytes(digitsPath), buffer(1).data);
    EXPECT_EQ(readBytes(copy), kDigits);
}

// Names that are not valid UTF-8 (a Latin-1 "\xe9" from an old archive) load
// and show as the file dialog gives them (GTK's dialog cannot be handed such
// a name here: the commands take it as the dialog gave it); maps files too.
TEST_F(RomCommandsTest, NamesThatAreNotUtf8)
{
    const auto asDialogGivesIt = [](const std::string& bytes) { return wxString(bytes.c_str(), *wxConvFileName); };
    const std::string latin1 = bytesFile("caf\xe9.bin", kDigits);
    wxString path = asDialogGivesIt(latin1);
    wxString fileName = wxFileName(path).GetFullName();
    ASSERT_FALSE(fileName.empty());
    EXPECT_EQ(loadRomFile(*frame(), 0, false, fileName, path), 9);
    EXPECT_EQ(buffer(0).path, latin1);
    copyRomBufferCommand(*frame(), 0, 1);
    EXPECT_EQ(findControl<wxTextCtrl>(frame(), kBinPanels[1].fileBox)->GetValue(), fileName);

    const std::string maps = files.file("d\xe9" "f.xts");
    writeText(maps, "<XTS version=\"1.0\"><TABLE><title>Map</title></TABLE></XTS>\n");
    EXPECT_EQ(loadMapsFile(*frame(), asDialogGivesIt(maps)), MapsFileStatus::Loaded);
}

TEST_F(RomCommandsTest, CopyCommandsCopyImageAndPanel)
{
    struct Row {
        int source, destination;
        const char* message;
    };
    const Row rows[6] = {
        {0, 1, "BIN #1 copied to BIN #2."}, {0, 2, "BIN #1 copied to BIN #3."}, {1, 0, "BIN #2 copied to BIN #1."},
        {1, 2, "BIN #2 copied to BIN #3."}, {2, 0, "BIN #3 copied to BIN #1."}, {2, 1, "BIN #3 copied to BIN #2."},
    };
    const std::string zeroPath = bytesFile("zero.bin", {0x00});
    for (int i = 0; i < 6; ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.message);
        // Every buffer starts from a known image; the destination differs from the source.
        for (int index = 0; index < 3; ++index)
            loadInto(index, index == row.source ? digitsPath : zeroPath);
        const PanelText sourcePanel = panel(row.source);
        const int other = 3 - row.source - row.destination;
        const PanelText otherPanel = panel(other);
        select(other);

        sendMenuCommand(frame(), ids().copyBuffer[i]);
        EXPECT_EQ(status(), row.message);
        EXPECT_EQ(panel(row.destination), sourcePanel);
        EXPECT_EQ(panel(row.source), sourcePanel);
        EXPECT_EQ(panel(other), otherPanel);
        EXPECT_EQ(buffer(row.destination).data, kDigits);
        EXPECT_EQ(buffer(row.destination).size, 9);
        EXPECT_EQ(buffer(row.destination).path, digitsPath);
        EXPECT_TRUE(radio(other)->GetValue());
        EXPECT_EQ(frame()->workspace().selectedBuffer, other);
    }
}

TEST_F(RomCommandsTest, CopyCopiesThePanelTextsAsShown)
{
    loadInto(0, digitsPath);
    // Bytes changed and announced, as Apply does: the panel follows them, and the copy carries it.
    buffer(0).data[0] = '0';
    frame()->workspace().bufferListeners.notify(0);
    const PanelText changed = panel(0);
    EXPECT_NE(changed, kDigitsPanel);
    sendMenuCommand(frame(), ids().copyBuffer[1]);   // 1 -> 3
    EXPECT_EQ(panel(2), changed);
    EXPECT_EQ(buffer(2).data, buffer(0).data);
}

TEST_F(RomCommandsTest, FailedCopyChangesNothing)
{
    sendMenuCommand(frame(), ids().copyBuffer[2]);   // 2 -> 1, BIN #2 empty
    EXPECT_EQ(status(), "Buffer empty error!");
    EXPECT_EQ(panel(0), kEmptyPanel);
    EXPECT_EQ(buffer(0).size, 0);

    const std::string zeroPath = bytesFile("zero.bin", {0x00});
    loadInto(1, digitsPath);
    loadInto(2, zeroPath);
    const PanelText before = panel(2);
    {
        AllocationFaultGuard noMemory;
        sendMenuCommand(frame(), ids().copyBuffer[3]);   // 2 -> 3
    }
    EXPECT_EQ(status(), "Buffer reallocation error!");
    EXPECT_EQ(panel(2), before);
    EXPECT_EQ(buffer(2).data, std::vector<std::uint8_t>{0x00});
    EXPECT_EQ(buffer(2).path, zeroPath);
    EXPECT_TRUE(radio(2)->GetValue());
}

TEST_F(RomCommandsTest, SaveAfterCopyWritesTheSourcesFile)
{
    loadInto(0, digitsPath);
    sendMenuCommand(frame(), ids().copyBuffer[0]);   // 1 -> 2
    select(1);
    buffer(1).data.assign(9, 'B');
    sendMenuCommand(frame(), ids().saveBin);
    EXPECT_EQ(status(), "File saved successfully.");
    EXPECT_EQ(readBytes(digitsPath), std::vector<std::uint8_t>(9, 'B'));
}

} // namespace
