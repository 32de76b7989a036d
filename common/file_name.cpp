#include "common/file_name.h"

std::string withDefaultExtension(std::string path, std::string_view extension)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    if (path.size() > name && path.find('.', name + 1) == std::string::npos)
        path += extension;
    return path;
}
