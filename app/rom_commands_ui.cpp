// Load, save and copy of the three ROM buffers: the main window asks for file
// names, calls the ROM image logic and shows its outcome.
#include <string>

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/TorvaneStudioFrame.h"
#include "app/checksums.h"
#include "app/file_dialog_ui.h"
#include "app/hex_format.h"
#include "app/rom_image.h"

namespace {

// Not translated: the toolkit parses it.
const char* const kRomWildcard =
    "BIN files (*.bin)|*.bin|ORI files (*.ori)|*.ori|MOD files (*.mod)|*.mod|All files (*.*)|*.*";

bool validIndex(int index)
{
    return index >= 0 && index < kRomBufferCount;
}

std::string utf8(const wxString& text)
{
    return text.ToStdString(wxConvUTF8);
}

} // namespace

std::uint16_t TorvaneStudioFrame::selectedBuffer()
{
    std::uint16_t index = 2;
    if (m_bins[0].radio->GetValue())
        index = 0;
    else if (m_bins[1].radio->GetValue())
        index = 1;
    m_workspace->selectedBuffer = index;
    return index;
}

std::int32_t TorvaneStudioFrame::loadRomFile(int index, bool askUser, wxString& fileName, wxString& path)
{
    if (!validIndex(index))
        return 0;
    if (askUser) {
        if (!askForFile(this, _("Select BIN file to load"), kRomWildcard, wxFD_OPEN, path))
            return 0;
        fileName = wxFileName(path).GetFullName();
    }
    RomBuffer& buffer = m_workspace->buffers[index];
    const RomStatus status = loadRomImage(buffer, utf8(path), utf8(fileName));
    showStatus(wxString::FromUTF8(romStatusMessage(status)));
    return status == RomStatus::Loaded ? buffer.size : 0;
}

void TorvaneStudioFrame::loadBin()
{
    const int index = selectedBuffer();
    wxString fileName;
    wxString path;
    if (loadRomFile(index, true, fileName, path) == 0)
        return;
    updateBinPanel(index);
    rememberBinFile(index, path, fileName);
}

void TorvaneStudioFrame::saveRomFile(int index)
{
    if (!validIndex(index))
        return;
    const RomBuffer& buffer = m_workspace->buffers[index];
    showStatus(wxString::FromUTF8(romStatusMessage(saveRomImage(buffer, buffer.path))));
}

void TorvaneStudioFrame::saveRomFileAs(int index)
{
    if (!validIndex(index))
        return;
    const RomBuffer& buffer = m_workspace->buffers[index];
    if (buffer.empty()) {
        showStatus(wxString::FromUTF8(romStatusMessage(RomStatus::BufferEmpty)));
        return;
    }
    wxString path;
    if (!askForFile(this, _("Select save location & filename"), kRomWildcard, wxFD_SAVE, path))
        return;
    // The buffer keeps its own path and name: Save BIN still writes the file it came from.
    showStatus(wxString::FromUTF8(romStatusMessage(saveRomImage(buffer, utf8(path)))));
}

void TorvaneStudioFrame::copyRomBuffer(int source, int destination)
{
    if (!validIndex(source) || !validIndex(destination) || source == destination)
        return;
    const RomStatus status = ::copyRomBuffer(*m_workspace, source, destination);
    if (status != RomStatus::Copied) {
        showStatus(wxString::FromUTF8(romStatusMessage(status)));
        return;
    }
    const BinPanelControls& from = m_bins[source];
    const BinPanelControls& to = m_bins[destination];
    to.fileName->ChangeValue(wxString::FromUTF8(m_workspace->buffers[destination].fileName));
    // The summary travels as the source panel shows it; it is not recomputed.
    to.size->SetLabel(from.size->GetLabel());
    to.chk8->SetLabel(from.chk8->GetLabel());
    to.chk16->SetLabel(from.chk16->GetLabel());
    to.chk32->SetLabel(from.chk32->GetLabel());
    to.size->GetParent()->Layout();
    showStatus(wxString::FromUTF8(copyMessage(source, destination)));
}

void TorvaneStudioFrame::updateBinPanel(int index)
{
    if (!validIndex(index))
        return;
    const RomBuffer& buffer = m_workspace->buffers[index];
    const BinPanelControls& bin = m_bins[index];
    const ImageChecksums sums =
        imageChecksums(buffer.data.data(), buffer.empty() ? 0 : static_cast<std::size_t>(buffer.size));
    bin.fileName->ChangeValue(wxString::FromUTF8(buffer.fileName));
    bin.size->SetLabel(wxString::Format("%i", static_cast<int>(buffer.size)));
    bin.chk8->SetLabel(_("0x") + wxString(formatHex(sums.c8)));
    bin.chk16->SetLabel(_("0x") + wxString(formatHex(sums.c16)));
    bin.chk32->SetLabel(_("0x") + wxString(formatHex(sums.c32)));
    bin.size->GetParent()->Layout();
}
