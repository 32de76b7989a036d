#pragma once
// File names as the user types them into a save dialog.
#include <string>
#include <string_view>

// The path with `extension` (".xts") appended when its file name has none,
// that is no '.' after the name's first character ("set" and ".set" get it;
// "set.old" and "set." keep their names).
std::string withDefaultExtension(std::string path, std::string_view extension);
