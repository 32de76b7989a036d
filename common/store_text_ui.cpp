#include "common/store_text_ui.h"

#include <wx/strconv.h>

wxString fromStoreText(const std::string& text)
{
    wxString converted = wxString::FromUTF8(text.data(), text.size());
    if (converted.empty() && !text.empty())
        converted = wxString(text.data(), wxCSConv(wxFONTENCODING_CP1252), text.size());
    return converted;
}
