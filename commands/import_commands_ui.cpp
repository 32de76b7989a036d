#include "commands/import_commands_ui.h"

#include <wx/filedlg.h>
#include <wx/intl.h>

#include "commands/file_dialog_ui.h"
#include "definitions/xdf_complete_import.h"
#include "definitions/xdf_import.h"
#include "viewer/viewer_commands_ui.h"
#include "workspace/command_context_ui.h"

void importXdfCommand(CommandContext& context)
{
    wxString path;
    if (!askForFile(context.window(), _("Select XDF file to import"),
                    "XDF files (*.xdf)|*.xdf|All files (*.*)|*.*", wxFD_OPEN, path))
        return;
    // The path is not remembered: the imported set is meant to be completed
    // in the map editor and saved as a maps file.
    const XdfImportStatus status = importXdfFile(context.workspace().definitions, path.utf8_string());
    if (xdfImported(status))
        showReplacedMapList(context);
    context.showStatus(xdfImportStatusMessage(status));
}

void importCompleteXdfCommand(CommandContext& context)
{
    wxString path;
    if (!askForFile(context.window(), _("Select XDF file to import"),
                    "XDF files (*.xdf)|*.xdf|All files (*.*)|*.*", wxFD_OPEN, path))
        return;
    const XdfCompleteImport result = importCompleteXdfFile(context.workspace().definitions, path.utf8_string());
    if (xdfImported(result.status))
        showReplacedMapList(context);
    const std::string message = xdfCompleteImportMessage(result).compose(
        [](const std::string& piece) { return wxGetTranslation(wxString::FromUTF8(piece)).utf8_string(); });
    context.showStatus(wxString::FromUTF8(message));
}
