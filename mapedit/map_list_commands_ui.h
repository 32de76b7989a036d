#pragma once
// The map list commands of the main window: they act on the map selected in
// the map viewer, change the store in place and keep the viewer in step.
class CommandContext;

// "Add New Map": composes a map in the editor and inserts it after the selected one.
void addMap(CommandContext& context);

// "Edit Selected Map" (and the "Map Editor" tool): the editor on the selected map.
void editMap(CommandContext& context);

// "Delete Selected Map": removes the selected map, without asking.
void deleteMap(CommandContext& context);

// "Duplicate Selected Map": appends a copy of the selected map to the list.
void duplicateMap(CommandContext& context);
