#pragma once
// What the program remembers between runs: the files last loaded into the
// three BIN buffers, the last maps file, and where the windows stood. The
// settings file is opened and written back within each operation.
#include <wx/string.h>

class CommandContext;
class wxFrame;

// Reloads the remembered files (which may open the map viewer), then moves
// the main window and an open viewer to their remembered places.
void restoreSession(CommandContext& context, wxFrame& mainWindow);

// Records where the main window and a shown viewer stand.
void saveWindowPositions(CommandContext& context, const wxFrame& mainWindow);

void rememberBinFile(int index, const wxString& path, const wxString& fileName);
void rememberMapsFile(const wxString& path);
