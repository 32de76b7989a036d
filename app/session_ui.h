#pragma once
// What the program remembers between runs: the files last loaded into the
// three BIN buffers, the last maps file, and where the windows stood. The
// settings file is opened and written back within each operation.
#include <wx/gdicmn.h>
#include <wx/string.h>

class CommandContext;
class wxFrame;

// Reloads the remembered files (which may open the map viewer), then moves
// the main window and an open viewer to their remembered places.
void restoreSession(CommandContext& context, wxFrame& mainWindow);

// Where the main window and a shown viewer stand.
struct WindowPlaces {
    wxPoint main;
    bool viewerShown = false;
    wxPoint viewer;
    wxSize viewerInside;
};
WindowPlaces windowPlaces(CommandContext& context, const wxFrame& mainWindow);

// Records the places (taken at close before any question is asked).
void saveWindowPlaces(const WindowPlaces& places);

void rememberBinFile(int index, const wxString& path, const wxString& fileName);
void rememberMapsFile(const wxString& path);
