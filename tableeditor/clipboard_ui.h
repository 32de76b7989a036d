#pragma once
// The table editor's side of the system clipboard: its text read as UTF-8
// bytes in one copy. Pasting a large block must not hold the text several
// times over (the toolkit's text object would make a wide-character copy,
// then the editor a UTF-8 one).
#include <string>

// Opens the clipboard and takes its text into `text` as UTF-8 (empty when it
// holds no text). False, leaving `text` alone, when the clipboard cannot be
// opened.
bool readClipboardText(std::string& text);

// Puts UTF-8 text on the clipboard, offered as it is. False when the
// clipboard cannot be opened.
bool writeClipboardText(std::string text);
