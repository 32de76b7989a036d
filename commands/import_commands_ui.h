#pragma once
// Imports of definition sets written by other tools.
class CommandContext;

// "Import" > "TunerPro (XDF v1.50)": asks for the file, imports it into the
// store and lists the imported maps in the map viewer (opening it).
void importXdfCommand(CommandContext& context);
