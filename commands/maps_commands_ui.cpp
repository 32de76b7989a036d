#include "commands/maps_commands_ui.h"

#include <string>

#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>

#include "commands/file_dialog_ui.h"
#include "common/file_name.h"
#include "common/freed_memory.h"
#include "commands/unsaved_work_ui.h"
#include "viewer/MapViewerFrame.h"
#include "viewer/viewer_commands_ui.h"
#include "workspace/command_context_ui.h"

namespace {

const char* const kMapsWildcard = "XTS files (*.xts)|*.xts|All files (*.*)|*.*";

// The load dialog lists *.xts files, so a name typed without an extension
// gets ".xts". The save dialog asked only about the typed name: a file that
// the completed name would replace is replaced only if the user agrees.
bool completeMapsPath(wxWindow* parent, wxString& path)
{
    const wxString completed = shownFileName(withDefaultExtension(fileSystemName(path), ".xts"));
    if (completed != path && wxFileExists(completed)) {
        wxMessageDialog question(parent,
                                 wxString::Format(_("A file named \"%s\" already exists. Do you want to replace it?"),
                                                  wxFileName(completed).GetFullName()),
                                 _("Save Map Definitions"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
        if (question.ShowModal() != wxID_YES)
            return false;
    }
    path = completed;
    return true;
}

} // namespace

wxString mapsFileLoadedMessage(MapsFileStatus status)
{
    return status == MapsFileStatus::LoadedToLimit ? mapsFileStatusMessage(MapsFileStatus::LoadedToLimit)
                                                   : wxTRANSLATE("Maps file loaded.");
}

MapsFileStatus loadMapsFile(CommandContext& context, const wxString& path)
{
    DefinitionStore& store = context.workspace().definitions;
    const MapsFileStatus status = loadMapsFile(store, fileSystemName(path));
    if (!mapsFileLoaded(status)) {
        context.showStatus(mapsFileStatusMessage(status));
        return status;
    }
    context.workspace().definitionsReplaced();
    showReplacedMapList(context);
    returnFreedMemory();
    return status;
}

void loadMapsCommand(CommandContext& context)
{
    const FocusKeeper focus;
    if (!definitionsMayBeReplaced(context))
        return;
    wxString path;
    if (!askForFile(context.window(), _("Select maps file to load"), kMapsWildcard, wxFD_OPEN, path))
        return;
    const MapsFileStatus status = loadMapsFile(context, path);
    if (!mapsFileLoaded(status))
        return;
    context.rememberMapsFile(path);
    context.showStatus(mapsFileLoadedMessage(status));
}

bool saveMapsCommand(CommandContext& context)
{
    const FocusKeeper focus;
    wxString path;
    if (!askForFile(context.window(), _("Select maps file to save"), kMapsWildcard,
                    wxFD_SAVE | wxFD_OVERWRITE_PROMPT, path)
        || !completeMapsPath(context.window(), path))
        return false;
    const MapsFileStatus status = saveMapsFile(context.workspace().definitions, fileSystemName(path));
    returnFreedMemory();   // the document built for the file: several times the store
    context.showStatus(status == MapsFileStatus::Saved ? wxTRANSLATE("Maps file saved.")
                                                       : wxTRANSLATE("Unable to save maps file!"));
    if (status != MapsFileStatus::Saved)
        return false;
    context.workspace().unsaved.definitionsSaved();
    return true;
}

void clearDefinitionsCommand(CommandContext& context)
{
    const FocusKeeper focus;
    if (!definitionsMayBeReplaced(context))
        return;
    clearDefinitions(context.workspace().definitions);
    context.workspace().definitionsReplaced();
    if (MapViewerFrame* viewer = context.viewer()) {
        viewer->clearMapList();
        viewer->forgetSelection();
    }
}
