#include "commands/import_commands_ui.h"

#include <wx/filedlg.h>
#include <wx/intl.h>

#include "commands/file_dialog_ui.h"
#include "commands/unsaved_work_ui.h"
#include "common/freed_memory.h"
#include "definitions/xdf_complete_import.h"
#include "definitions/xdf_import.h"
#include "viewer/viewer_commands_ui.h"
#include "workspace/command_context_ui.h"

namespace {

// Unsaved definitions first (save, discard or stop), then the file.
bool chooseXdfFile(CommandContext& context, wxString& path)
{
    return definitionsMayBeReplaced(context)
           && askForFile(context.window(), _("Select XDF file to import"),
                         "XDF files (*.xdf)|*.xdf|All files (*.*)|*.*", wxFD_OPEN, path);
}

// An imported set counts as saved: it is meant to be completed in the map
// editor and saved as a maps file, so the path is not remembered either.
void showImportedSet(CommandContext& context)
{
    context.workspace().definitionsReplaced();
    showReplacedMapList(context);
    returnFreedMemory();
}

} // namespace

void importXdfCommand(CommandContext& context)
{
    const FocusKeeper focus;
    wxString path;
    if (!chooseXdfFile(context, path))
        return;
    const XdfImportStatus status = importXdfFile(context.workspace().definitions, fileSystemName(path));
    if (xdfImported(status))
        showImportedSet(context);
    context.showStatus(xdfImportStatusMessage(status));
}

void importCompleteXdfCommand(CommandContext& context)
{
    const FocusKeeper focus;
    wxString path;
    if (!chooseXdfFile(context, path))
        return;
    const XdfCompleteImport result = importCompleteXdfFile(context.workspace().definitions, fileSystemName(path));
    if (xdfImported(result.status))
        showImportedSet(context);
    const std::string message = xdfCompleteImportMessage(result).compose(
        [](const std::string& piece) { return wxGetTranslation(wxString::FromUTF8(piece)).utf8_string(); });
    context.showStatus(wxString::FromUTF8(message));
}
