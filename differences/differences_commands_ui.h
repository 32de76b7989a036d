#pragma once
// The differences list as the main window's "BIN Differences" item reaches it.
class CommandContext;
class BinDifferencesFrame;

// Shows the one differences window (created on first need, else raised),
// comparing the selected BIN with another loaded BIN.
BinDifferencesFrame& showBinDifferences(CommandContext& context);
