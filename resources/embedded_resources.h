#pragma once
// PNG images compiled into the program (see cmake/EmbedResources.cmake).
#include <cstddef>
#include <string_view>

struct EmbeddedResource {
    const char* name;            // file name without ".png", e.g. "tool_load_bin"
    const unsigned char* data;
    std::size_t size;
};

// Terminated by an entry whose name is null.
extern const EmbeddedResource kEmbeddedResources[];

// The resource of that name, or null when there is none.
const EmbeddedResource* findEmbeddedResource(std::string_view name);
