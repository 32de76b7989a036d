#pragma once
// What the main window shows after a maps file loaded: "Maps file loaded.",
// or the notice that the file held more maps than the store takes. Shared by
// the load command and the start-up reload.
const char* mapsFileLoadedMessage();
