#pragma once
// Texts the program keeps (titles, units, paths) are UTF-8 bytes; windows
// show them as wxString. A text that is somehow not UTF-8 is shown as
// Windows-1252 rather than as nothing.
#include <string>

#include <wx/string.h>

wxString fromStoreText(const std::string& text);

inline std::string toStoreText(const wxString& text)
{
    return text.utf8_string();
}
