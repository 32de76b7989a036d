#include "viewer/viewer_commands_ui.h"

#include "tableeditor/table_editor_commands_ui.h"
#include "viewer/MapViewerFrame.h"
#include "workspace/command_context_ui.h"

MapViewerFrame& showMapViewer(CommandContext& context)
{
    if (MapViewerFrame* viewer = context.viewer()) {
        viewer->Show();
        viewer->Raise();
        return *viewer;
    }
    auto* viewer = new MapViewerFrame(context.window());
    context.adoptViewer(viewer);
    viewer->setWorkspace(context.workspace());
    viewer->passShortcutsTo(context.window());
    // The main window outlives the viewer: the context stays valid.
    viewer->setActivationHandler(
        [&context, viewer](int buffer, int map) { openTableEditor(context, viewer, buffer, map); });
    if (viewer->appendMaps(context.workspace().definitions) > 0)
        viewer->expandAll();
    viewer->Show();
    return *viewer;
}

void rebuildMapList(CommandContext& context)
{
    MapViewerFrame* viewer = context.viewer();
    if (!viewer)
        return;
    viewer->clearMapList();
    viewer->appendMaps(context.workspace().definitions);
    viewer->expandAll();
    viewer->showSelectedMap();
}

void showReplacedMapList(CommandContext& context)
{
    if (MapViewerFrame* viewer = context.viewer()) {
        viewer->clearMapList();
        viewer->forgetSelection();
        viewer->appendMaps(context.workspace().definitions);
    }
    showMapViewer(context);
}
