// libFuzzer target for both XDF imports. Whatever a file holds, importing it
// must stay within the store, and the imported set must save as a maps file
// that loads again; from the second save on, the text must not change.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "definitions/maps_file.h"
#include "definitions/xdf_complete_import.h"
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
    const char* text = reinterpret_cast<const char*>(data);
    for (bool complete : {false, true}) {
        if (complete) {
            const XdfCompleteImport r = importCompleteXdfText(*store, text, size);
            if (!xdfImported(r.status))
                continue;
            if (r.maps != store->mapCount || r.needAddress > r.maps || r.needScaling > r.maps)
                __builtin_trap();
            xdfCompleteImportMessage(r);
        } else if (!xdfImported(importXdfText(*store, text, size))) {
            continue;
        }
        if (store->mapCount > kMaxMaps)
            __builtin_trap();
        const std::string first = savedAndReloaded(*again, mapsFileText(*store));
        if (savedAndReloaded(*again, first) != first)
            __builtin_trap();
    }
    return 0;
}
