#include "mapedit/map_list_commands_ui.h"

#include <wx/intl.h>

#include "commands/file_dialog_ui.h"
#include "common/hex_format.h"
#include "definitions/map_list.h"
#include "mapedit/MapEditorDialog.h"
#include "viewer/MapViewerFrame.h"
#include "viewer/viewer_commands_ui.h"
#include "workspace/command_context_ui.h"

namespace {

const char* const kListFull = wxTRANSLATE("The map list is full!");
const char* const kSelectFirst = wxTRANSLATE("Please select a map first in the map viewer!");

// The selected map of an existing viewer, or -1.
int selectedMap(CommandContext& context)
{
    const MapViewerFrame* viewer = context.viewer();
    return viewer ? viewer->selectedMapIndex() : -1;
}

// Delete and Duplicate over a list without a selected map say so; without
// maps or a viewer they do nothing.
bool listedMapSelected(CommandContext& context)
{
    const DefinitionStore& store = context.workspace().definitions;
    if (!context.viewer() || store.mapCount == 0)
        return false;
    if (isListedMap(store, selectedMap(context)))
        return true;
    context.showStatus(kSelectFirst);
    return false;
}

} // namespace

void addMap(CommandContext& context)
{
    const FocusKeeper focus;   // back to the viewer when the dialog was asked for there
    DefinitionStore& store = context.workspace().definitions;
    if (mapListFull(store)) {
        context.showStatus(kListFull);
        return;
    }
    {
        MapEditorDialog dialog(context.window());
        dialog.prepareNewMap(context.workspace());
        dialog.ShowModal();
        if (!dialog.applied())
            return;
    }
    insertComposedMap(store, selectedMap(context));
    context.workspace().definitionsEdited();
    if (context.viewer()) {
        rebuildMapList(context);
        context.showStatus(wxTRANSLATE("New map added."));
    } else {
        showMapViewer(context);
    }
}

void editMap(CommandContext& context)
{
    const FocusKeeper focus;   // back to the viewer when the dialog was asked for there
    DefinitionStore& store = context.workspace().definitions;
    if (store.mapCount == 0) {
        context.showStatus(wxTRANSLATE("No maps have been loaded!"));
        return;
    }
    if (!context.viewer()) {
        context.showStatus(wxTRANSLATE("Map viewer not initialized!"));
        return;
    }
    // After the last map was deleted the selection may name a free slot.
    const int slot = selectedMap(context);
    if (!isListedMap(store, slot)) {
        context.showStatus(kSelectFirst);
        return;
    }
    {
        const MapDefinition before = store.maps[slot];
        MapEditorDialog dialog(context.window());
        dialog.loadIntoDialog(static_cast<std::uint16_t>(slot), context.workspace());
        dialog.ShowModal();
        // OK on an unchanged form leaves nothing to save.
        if (dialog.applied() && !(store.maps[slot] == before))
            context.workspace().definitionsEdited();
    }
    // Whichever button closed the dialog, the line shows the slot as it now is.
    if (MapViewerFrame* viewer = context.viewer()) {
        const MapDefinition& map = store.maps[slot];
        viewer->updateMapItem(slot, map.title, map.axes[AxisX].count, map.axes[AxisY].count,
                              formatHex(map.axes[AxisZ].address));
    }
}

void deleteMap(CommandContext& context)
{
    if (!listedMapSelected(context)
        || removeMap(context.workspace().definitions, selectedMap(context)) != MapListChange::Done)
        return;
    context.workspace().definitionsEdited();
    rebuildMapList(context);
    context.showStatus(wxTRANSLATE("Map deleted."));
}

void duplicateMap(CommandContext& context)
{
    if (!listedMapSelected(context))
        return;
    switch (appendMapCopy(context.workspace().definitions, selectedMap(context))) {
    case MapListChange::Done:
        context.workspace().definitionsEdited();
        rebuildMapList(context);
        context.showStatus(wxTRANSLATE("Map duplicated."));
        break;
    case MapListChange::Full:
        context.showStatus(kListFull);
        break;
    case MapListChange::Ignored:
        break;
    }
}
