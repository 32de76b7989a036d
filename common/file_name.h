#pragma once
// File names as the user types them into a save dialog.
#include <string>
#include <string_view>

// The path with `extension` (".xts") appended when its file name has none:
// no '.' after the name's first character that is followed by up to four
// letters and digits, the first a letter ("set", ".set", "v2.1" and "1.8T"
// get it; "set.old", "set.bak1" and "set." keep their names).
std::string withDefaultExtension(std::string path, std::string_view extension);

// Whether two paths name one file: the same file on disk however spelled (a
// link, a linked folder, a second hard link), or, where either names no
// file, the same text.
bool sameFile(const std::string& a, const std::string& b);
