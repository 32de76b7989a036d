// libFuzzer target for the maps file reader. Whatever a file holds, reading it
// must stay within the store, and what was read must survive being written
// and read again. (The first save is in the writer's own notation, which the
// input need not be, so the check starts from the second one.)
// The XML input guard must agree with the parser: it lets a document through
// exactly when the parser, in any of its encodings, builds nothing deeper or
// with more attributes than the limits (fuzz inputs are far too small to
// reach the work limit) and does not stop inside an XML declaration. The
// patched parser shows no trace of the latter, so for a document refused
// within the limits the check is only that a declaration may have ended the
// parse: the text holds "<?xml" and the parse failed or ended on one.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <tinyxml.h>

#include "common/xml_guard.h"
#include "definitions/maps_file.h"

namespace {

std::string savedAndReloaded(DefinitionStore& store, const std::string& text)
{
    if (loadMapsText(store, text.data(), text.size()) != MapsFileStatus::Loaded)
        __builtin_trap();   // the program's own output must always load
    return mapsFileText(store);
}

struct ParserOutcome {
    bool beyondLimits = false;
    bool endedByDeclaration = false;   // possibly
};

ParserOutcome parse(const std::uint8_t* data, std::size_t size)
{
    const std::string text = std::string(reinterpret_cast<const char*>(data), size) + std::string(8, '\0');
    std::string lower = text;   // as UTF-8 the parser may step over a NUL
    for (char& c : lower)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    const bool declarationInText = lower.find("<?xml") != std::string::npos;
    ParserOutcome outcome;
    for (TiXmlEncoding encoding : {TIXML_ENCODING_LEGACY, TIXML_ENCODING_UTF8, TIXML_ENCODING_UNKNOWN}) {
        TiXmlDocument doc;
        doc.Parse(text.c_str(), nullptr, encoding);
        if (declarationInText && (doc.Error() || (doc.LastChild() && doc.LastChild()->ToDeclaration())))
            outcome.endedByDeclaration = true;
        std::vector<std::pair<const TiXmlNode*, std::size_t>> todo{{&doc, 0}};
        while (!todo.empty()) {
            const auto [node, depth] = todo.back();
            todo.pop_back();
            if (const TiXmlElement* e = node->ToElement()) {
                std::size_t attributes = 0;
                for (const TiXmlAttribute* a = e->FirstAttribute(); a; a = a->Next())
                    ++attributes;
                if (depth > kXmlMaxDepth || attributes > kXmlMaxAttributes)
                    outcome.beyondLimits = true;
            }
            for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
                todo.push_back({child, depth + 1});
        }
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Inputs of the fuzzer's own size stay far below the nesting that would
    // overflow the parser's stack, so the parser may run on refused ones too.
    const bool accepted = xmlWithinLimits(reinterpret_cast<const char*>(data), size);
    const ParserOutcome parsed = parse(data, size);
    if (accepted ? parsed.beyondLimits : !parsed.beyondLimits && !parsed.endedByDeclaration)
        __builtin_trap();

    static const auto store = std::make_unique<DefinitionStore>();
    static const auto again = std::make_unique<DefinitionStore>();
    if (!mapsFileLoaded(loadMapsText(*store, reinterpret_cast<const char*>(data), size)))
        return 0;
    const std::string first = savedAndReloaded(*again, mapsFileText(*store));
    if (savedAndReloaded(*again, first) != first)
        __builtin_trap();
    return 0;
}
