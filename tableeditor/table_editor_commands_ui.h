#pragma once
// Opening table editors, from the main window's command and from the map viewer.
class CommandContext;
class TableEditorFrame;
class wxWindow;

// "Table Map Editor" and the "Table Editor" tool: maps loaded, viewer open,
// an image in the selected buffer and a map selected, else the reason in the
// main window's message line; then an editor on (selected buffer, selected
// map), child of the main window.
void tableEditorCommand(CommandContext& context);

// Opens and shows an editor child of `parent` on (buffer, map), or says in
// the main window's message line why the map cannot open (no cells, or not
// inside the buffer's image). The new editor, or null.
TableEditorFrame* openTableEditor(CommandContext& context, wxWindow* parent, int buffer, int map);
