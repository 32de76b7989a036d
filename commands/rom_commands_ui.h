#pragma once
// Load, save and copy of the three ROM buffers, as the menus, tools and BIN
// panel buttons run them.
#include <cstdint>

#include <wx/string.h>

class CommandContext;

// Loads a file into buffer `index`, asking for it first when `askUser` is set
// (then `fileName` and `path` receive the choice). Shows the outcome; returns
// the size loaded, or 0 when nothing was loaded.
std::int32_t loadRomFile(CommandContext& context, int index, bool askUser, wxString& fileName, wxString& path);

// "Load BIN": into the selected buffer (asking first over unsaved changes of
// its image), then its panel and the remembered file.
void loadBin(CommandContext& context);

// "Save BIN": the buffer back to the file it came from. True when written.
bool saveRomFile(CommandContext& context, int index);

// "Save BIN as ...": the buffer to a file the user picks. True when written.
// `title` heads the file dialog in place of its usual one.
bool saveRomFileAs(CommandContext& context, int index, const wxString& title = wxString());

// "Copy BIN #a to BIN #b".
void copyRomBufferCommand(CommandContext& context, int source, int destination);
