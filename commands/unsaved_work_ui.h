#pragma once
// The question asked before unsaved work would be dropped: save (through the
// save commands, each in turn), discard, or keep it (the default).
class CommandContext;
struct StatusText;
class wxWindow;

enum class UnsavedAnswer { Save, Discard, Keep };

// Shows the question with "Save", "Discard" and "Keep running" (on quitting)
// or "Cancel"; the last is the default.
UnsavedAnswer askAboutUnsavedWork(wxWindow* parent, const StatusText& question, bool quitting);

// Before a load, an import or New replaces the definitions: true when they
// hold nothing unsaved or the user saved or discarded it.
bool definitionsMayBeReplaced(CommandContext& context);

// The same before a load replaces the image of buffer `index`.
bool bufferMayBeReplaced(CommandContext& context, int index);

// Before the program ends: closes every table editor (each may keep itself
// open), then asks once over everything unsaved. False: keep running.
bool mayQuit(CommandContext& context);
