#pragma once
// The one record the main window owns: three ROM image buffers, the selected
// buffer and the map definition store.
#include <cstdint>

#include "definitions/map_definition.h"
#include "rom/rom_image.h"

// Large (the store has 256 slots with 768 label arrays): allocate on the heap.
struct Workspace {
    RomBuffers buffers;
    std::uint16_t selectedBuffer = 0;   // 0, 1 or 2
    DefinitionStore definitions;
};
