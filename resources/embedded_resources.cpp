#include "resources/embedded_resources.h"

const EmbeddedResource* findEmbeddedResource(std::string_view name)
{
    for (const EmbeddedResource* r = kEmbeddedResources; r->name; ++r)
        if (name == r->name)
            return r;
    return nullptr;
}
