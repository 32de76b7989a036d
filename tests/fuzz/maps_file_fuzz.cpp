// libFuzzer target for the maps file reader. Whatever a file holds, reading it
// must stay within the store, and what was read must survive being written
// and read again. (The first save may still differ: the XML reader trims and
// condenses spaces in texts, so the check starts from the second one.)
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "definitions/maps_file.h"

namespace {

std::string savedAndReloaded(DefinitionStore& store, const std::string& text)
{
    if (loadMapsText(store, text.data(), text.size()) != MapsFileStatus::Loaded)
        __builtin_trap();   // the program's own output must always load
    return mapsFileText(store);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto store = std::make_unique<DefinitionStore>();
    static const auto again = std::make_unique<DefinitionStore>();
    if (!mapsFileLoaded(loadMapsText(*store, reinterpret_cast<const char*>(data), size)))
        return 0;
    const std::string first = savedAndReloaded(*again, mapsFileText(*store));
    if (savedAndReloaded(*again, first) != first)
        __builtin_trap();
    return 0;
}
