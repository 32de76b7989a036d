#include "tableeditor/table_editor_commands_ui.h"

#include <algorithm>

#include <wx/intl.h>

#include "cells/table_display.h"
#include "tableeditor/TableEditorFrame.h"
#include "viewer/MapViewerFrame.h"
#include "workspace/command_context_ui.h"

void tableEditorCommand(CommandContext& context)
{
    Workspace& workspace = context.workspace();
    if (workspace.definitions.mapCount == 0) {
        context.showStatus(wxTRANSLATE("No maps have been loaded!"));
        return;
    }
    MapViewerFrame* viewer = context.viewer();
    if (!viewer) {
        context.showStatus(wxTRANSLATE("Map viewer not initialized!"));
        return;
    }
    const int buffer = context.selectedBuffer();
    if (workspace.buffers[buffer].empty()) {
        context.showStatus(wxTRANSLATE("No BIN file has been loaded in the selected buffer!"));
        return;
    }
    // A selection left on a slot that no longer holds a map counts as none.
    const int map = viewer->selectedMapIndex();
    if (map < 0 || map >= workspace.definitions.mapCount) {
        context.showStatus(wxTRANSLATE("Please select a map first in the map viewer!"));
        return;
    }
    openTableEditor(context, context.window(), buffer, map);
}

TableEditorFrame* openTableEditor(CommandContext& context, wxWindow* parent, int buffer, int map)
{
    Workspace& workspace = context.workspace();
    if (buffer < 0 || buffer >= kRomBufferCount || map < 0 || map >= workspace.definitions.mapCount)
        return nullptr;
    const RomBuffer& image = workspace.buffers[buffer];
    const std::size_t size = std::min(image.data.size(), static_cast<std::size_t>(std::max(image.size, 0)));
    const MapFit fit = checkMapFits(workspace.definitions.maps[map], size);
    if (fit != MapFit::Fits) {
        context.showStatus(mapFitMessage(fit));
        return nullptr;
    }
    auto* editor = new TableEditorFrame(parent, workspace, buffer, map);
    editor->Show();
    return editor;
}
