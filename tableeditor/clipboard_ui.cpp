#include "tableeditor/clipboard_ui.h"

#include <cstring>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

namespace {

// Receives the clipboard's UTF-8 text straight into a std::string.
class Utf8TextData : public wxDataObjectSimple {
public:
    explicit Utf8TextData(std::string& text) : wxDataObjectSimple(wxDF_UNICODETEXT), m_text(text) {}

    size_t GetDataSize() const override { return m_text.size(); }
    bool GetDataHere(void* buffer) const override
    {
        std::memcpy(buffer, m_text.data(), m_text.size());
        return true;
    }
    using wxDataObjectSimple::SetData;
    bool SetData(size_t length, const void* buffer) override
    {
        m_text.assign(static_cast<const char*>(buffer), length);
        // Some owners end the text with a terminating zero.
        while (!m_text.empty() && m_text.back() == '\0')
            m_text.pop_back();
        return true;
    }

private:
    std::string& m_text;
};

} // namespace

bool readClipboardText(std::string& text)
{
    if (!wxTheClipboard->Open())
        return false;
    text.clear();
    if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) {
        Utf8TextData data(text);
        if (!wxTheClipboard->GetData(data))
            text.clear();
    } else if (wxTheClipboard->IsSupported(wxDF_TEXT)) {
        // An owner that offers only the legacy text form.
        wxTextDataObject data;
        if (wxTheClipboard->GetData(data))
            text = data.GetText().utf8_string();
    }
    wxTheClipboard->Close();
    return true;
}

bool writeClipboardText(const std::string& text)
{
    if (!wxTheClipboard->Open())
        return false;
    wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(text)));
    wxTheClipboard->Close();
    return true;
}
