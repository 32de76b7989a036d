#pragma once
// The map viewer as the commands reach it.
class CommandContext;
class MapViewerFrame;

// "Definitions Viewer": shows the viewer, creating and filling it on first need.
MapViewerFrame& showMapViewer(CommandContext& context);

// Lists the store's maps anew in an existing viewer, expanded, with the
// selected map's line selected; no viewer, no change.
void rebuildMapList(CommandContext& context);

// After a definitions file replaced the list: an open viewer is refilled but
// left collapsed, with no map selected; a new one is filled and expanded;
// either way it is shown.
void showReplacedMapList(CommandContext& context);
