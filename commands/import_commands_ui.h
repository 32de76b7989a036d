#pragma once
// Imports of definition sets written by other tools.
class CommandContext;

// "Import" > "TunerPro (XDF v1.50)": asks for the file, imports it into the
// store and lists the imported maps in the map viewer (opening it).
void importXdfCommand(CommandContext& context);

// "Import" > "TunerPro XDF with addresses and scaling": the same, taking over
// where each map lies and how it scales, and saying what is left to do by hand.
void importCompleteXdfCommand(CommandContext& context);
