// The ROM buffer commands ask for file names, call the ROM image logic and
// show its outcome.
#include "commands/rom_commands_ui.h"

#include <string>

#include <wx/filedlg.h>
#include <wx/filename.h>

#include "commands/file_dialog_ui.h"
#include "commands/unsaved_work_ui.h"
#include "rom/rom_image.h"
#include "workspace/command_context_ui.h"

namespace {

// Not translated: the toolkit parses it.
const char* const kRomWildcard =
    "BIN files (*.bin)|*.bin|ORI files (*.ori)|*.ori|MOD files (*.mod)|*.mod|All files (*.*)|*.*";

bool validIndex(int index)
{
    return index >= 0 && index < kRomBufferCount;
}

void showRomStatus(CommandContext& context, RomStatus status)
{
    context.showStatus(wxString::FromUTF8(romStatusMessage(status)));
}

// Shows the outcome of a save of `index` to `file`; a written image holds no
// unsaved change, and an image that file held before may be in none now.
bool saved(CommandContext& context, int index, const std::string& file, RomStatus status)
{
    showRomStatus(context, status);
    if (status != RomStatus::Saved)
        return false;
    Workspace& workspace = context.workspace();
    workspace.unsaved.bufferWritten(workspace.buffers, index, file);
    return true;
}

} // namespace

std::int32_t loadRomFile(CommandContext& context, int index, bool askUser, wxString& fileName, wxString& path)
{
    if (!validIndex(index))
        return 0;
    if (askUser) {
        if (!askForFile(context.window(), _("Select BIN file to load"), kRomWildcard, wxFD_OPEN, path))
            return 0;
        fileName = wxFileName(path).GetFullName();
    }
    RomBuffer& buffer = context.workspace().buffers[index];
    const RomStatus status = loadRomImage(buffer, fileSystemName(path), fileSystemName(fileName));
    showRomStatus(context, status);
    return status == RomStatus::Loaded ? buffer.size : 0;
}

void loadBin(CommandContext& context)
{
    const FocusKeeper focus;
    const int index = context.selectedBuffer();
    if (!bufferMayBeReplaced(context, index))
        return;
    wxString fileName;
    wxString path;
    if (loadRomFile(context, index, true, fileName, path) == 0)
        return;
    context.rememberBinFile(index, path, fileName);
    // The listeners refresh the BIN panel; they count the new bytes as a
    // change, but they are the file's.
    Workspace& workspace = context.workspace();
    workspace.bufferListeners.notify(index);
    workspace.unsaved.bufferSaved(index);
}

bool saveRomFile(CommandContext& context, int index)
{
    if (!validIndex(index))
        return false;
    const RomBuffer& buffer = context.workspace().buffers[index];
    return saved(context, index, buffer.path, saveRomImage(buffer, buffer.path));
}

bool saveRomFileAs(CommandContext& context, int index, const wxString& title)
{
    const FocusKeeper focus;
    if (!validIndex(index))
        return false;
    const RomBuffer& buffer = context.workspace().buffers[index];
    if (buffer.empty()) {
        showRomStatus(context, RomStatus::BufferEmpty);
        return false;
    }
    // A wrong name must not cost an image: the dialog asks before replacing a file.
    wxString path;
    if (!askForFile(context.window(), title.empty() ? _("Select save location & filename") : title, kRomWildcard,
                    wxFD_SAVE | wxFD_OVERWRITE_PROMPT, path))
        return false;
    // The buffer keeps its own path and name: Save BIN still writes the file it came from.
    const std::string file = fileSystemName(path);
    return saved(context, index, file, saveRomImage(buffer, file));
}

void copyRomBufferCommand(CommandContext& context, int source, int destination)
{
    if (!validIndex(source) || !validIndex(destination) || source == destination)
        return;
    // Asked as before a load: the copy replaces the destination's image.
    if (!context.workspace().buffers[source].empty() && !bufferMayBeReplaced(context, destination))
        return;
    const RomStatus status = copyRomBuffer(context.workspace().buffers, source, destination);
    if (status != RomStatus::Copied) {
        showRomStatus(context, status);
        return;
    }
    context.copyBufferSummary(source, destination);
    context.showStatus(wxString::FromUTF8(copyMessage(source, destination)));
    context.workspace().bufferListeners.notify(destination);
}
