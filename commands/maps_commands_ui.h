#pragma once
// The maps file commands: New, Load and Save Map Definitions.
#include <wx/string.h>

#include "definitions/maps_file.h"

class CommandContext;

// Loads the maps file at `path` into the store and lists it in the map
// viewer (opening the viewer). A failure shows its message and leaves the
// viewer as it was; success shows nothing: the caller shows
// mapsFileLoadedMessage.
MapsFileStatus loadMapsFile(CommandContext& context, const wxString& path);

// "Maps file loaded.", or the notice that the file held more maps than the
// store takes.
wxString mapsFileLoadedMessage(MapsFileStatus status);

// "Load Map Definitions": asks first over unsaved definitions, then for the
// file; loads it and remembers it.
void loadMapsCommand(CommandContext& context);

// "Save Map Definitions": asks for the file (confirming a replacement) and
// writes it. True when written.
bool saveMapsCommand(CommandContext& context);

// "New Map Definitions": asks first over unsaved definitions, then forgets
// the list of maps and empties the viewer, leaving no map selected.
void clearDefinitionsCommand(CommandContext& context);
