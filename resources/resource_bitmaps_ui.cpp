#include "resources/resource_bitmaps_ui.h"

#include <wx/image.h>
#include <wx/mstream.h>

#include "resources/embedded_resources.h"

wxBitmap resourceBitmap(const char* name)
{
    const EmbeddedResource* resource = findEmbeddedResource(name);
    if (!resource)
        return wxBitmap();
    wxMemoryInputStream stream(resource->data, resource->size);
    wxImage image(stream, wxBITMAP_TYPE_PNG);
    return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

wxIcon resourceIcon(const char* name)
{
    wxIcon icon;
    const wxBitmap bitmap = resourceBitmap(name);
    if (bitmap.IsOk())
        icon.CopyFromBitmap(bitmap);
    return icon;
}
