#include "tableeditor/clipboard_ui.h"

#include <cstring>
#include <utility>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

namespace {

// The MIME name of UTF-8 text, which some programs offer and ask for
// instead of (or before) the X name the toolkit uses.
const wxDataFormat& mimeUtf8Text()
{
    static const wxDataFormat format("text/plain;charset=utf-8");
    return format;
}

// Receives the clipboard's UTF-8 text straight into a std::string.
class Utf8TextData : public wxDataObjectSimple {
public:
    explicit Utf8TextData(std::string& text, const wxDataFormat& format = wxDF_UNICODETEXT)
        : wxDataObjectSimple(format), m_text(text)
    {
    }

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

// Offers UTF-8 text as it is: a large copy is not widened and narrowed
// again on its way. Old programs that ask for Latin-1 text get it, converted
// when they ask.
class Utf8TextOffer : public wxDataObject {
public:
    explicit Utf8TextOffer(std::string text) : m_text(std::move(text)) {}

    wxDataFormat GetPreferredFormat(Direction) const override { return wxDF_UNICODETEXT; }
    size_t GetFormatCount(Direction direction) const override { return direction == Get ? 3 : 0; }
    void GetAllFormats(wxDataFormat* formats, Direction direction) const override
    {
        if (direction != Get)
            return;
        formats[0] = wxDF_UNICODETEXT;
        formats[1] = mimeUtf8Text();
        formats[2] = wxDF_TEXT;
    }
    size_t GetDataSize(const wxDataFormat& format) const override { return bytes(format).size(); }
    bool GetDataHere(const wxDataFormat& format, void* buffer) const override
    {
        const std::string& text = bytes(format);
        std::memcpy(buffer, text.data(), text.size());
        return true;
    }
    bool SetData(const wxDataFormat&, size_t, const void*) override { return false; }

private:
    const std::string& bytes(const wxDataFormat& format) const
    {
        if (format != wxDF_TEXT)
            return m_text;
        if (m_latin1.empty() && !m_text.empty()) {
            const wxCharBuffer latin1 = wxString::FromUTF8(m_text).mb_str(wxConvISO8859_1);
            m_latin1.assign(latin1.data(), latin1.length());
        }
        return m_latin1;
    }

    std::string m_text;
    mutable std::string m_latin1;
};

} // namespace

bool readClipboardText(std::string& text)
{
    if (!wxTheClipboard->Open())
        return false;
    text.clear();
    // GetData asks the owner which forms it offers, then for the text: one
    // question less than asking first, which a large paste feels.
    Utf8TextData data(text);
    if (!wxTheClipboard->GetData(data)) {
        text.clear();
        // An owner that names its UTF-8 text only by its MIME type, or
        // offers only the legacy text form, or only the plainest names of
        // text (taken as UTF-8, which ASCII is).
        Utf8TextData mime(text, mimeUtf8Text());
        bool read = wxTheClipboard->IsSupported(mimeUtf8Text()) && wxTheClipboard->GetData(mime);
        if (!read && wxTheClipboard->IsSupported(wxDF_TEXT)) {
            wxTextDataObject legacy;
            read = wxTheClipboard->GetData(legacy);
            if (read)
                text = legacy.GetText().utf8_string();
        }
        for (const char* name : {"text/plain", "TEXT"}) {
            const wxDataFormat format(name);
            Utf8TextData plain(text, format);
            read = read || (wxTheClipboard->IsSupported(format) && wxTheClipboard->GetData(plain));
        }
    }
    wxTheClipboard->Close();
    return true;
}

bool writeClipboardText(std::string text)
{
    if (!wxTheClipboard->Open())
        return false;
    wxTheClipboard->SetData(new Utf8TextOffer(std::move(text)));
    wxTheClipboard->Close();
    return true;
}
