#pragma once
// The one record the main window owns: three ROM image buffers, the selected
// buffer and the map definition store.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "definitions/map_definition.h"

constexpr std::int32_t kMaxRomSize = 0x200000;   // 2 MiB
constexpr int kRomBufferCount = 3;

struct RomBuffer {
    std::vector<std::uint8_t> data;   // holds at least `size` bytes
    std::int32_t size = 0;            // 0 = empty
    std::string path;                 // full path of the file the image came from
    std::string fileName;             // name part of that path
    bool empty() const { return size == 0 || data.empty(); }
};

// Large (the store has 256 slots with 768 label arrays): allocate on the heap.
struct Workspace {
    std::array<RomBuffer, kRomBufferCount> buffers;
    std::uint16_t selectedBuffer = 0;   // 0, 1 or 2
    DefinitionStore definitions;
};
