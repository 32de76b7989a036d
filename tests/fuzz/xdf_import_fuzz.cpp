// libFuzzer target for the XDF import. Whatever a file holds, importing it
// must stay within the store, and the imported set must save as a maps file
// that loads again; from the second save on, the text must not change.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "definitions/maps_file.h"
#include "definitions/xdf_import.h"

namespace {

std::string savedAndReloaded(DefinitionStore& store, const std::string& text)
{
    if (loadMapsText(store, text.data(), text.size()) != MapsFileStatus::Loaded)
        __builtin_trap();
    return mapsFileText(store);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto store = std::make_unique<DefinitionStore>();
    static const auto again = std::make_unique<DefinitionStore>();
    if (!xdfImported(importXdfText(*store, reinterpret_cast<const char*>(data), size)))
        return 0;
    if (store->mapCount > kMaxMaps)
        __builtin_trap();
    const std::string first = savedAndReloaded(*again, mapsFileText(*store));
    if (savedAndReloaded(*again, first) != first)
        __builtin_trap();
    return 0;
}
