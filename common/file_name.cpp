#include "common/file_name.h"

#include <sys/stat.h>

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// What follows a name's last '.' reads as an extension when it is short,
// starts with a letter and holds only letters and digits ("old", "xml",
// "bak1"). A version or an engine in the name ("v2.1", "1.8T") is not one.
bool looksLikeExtension(std::string_view text)
{
    if (text.empty() || text.size() > 4 || !isLetter(text.front()))
        return false;
    for (const char c : text)
        if (!isLetter(c) && !isDigit(c))
            return false;
    return true;
}

} // namespace

std::string withDefaultExtension(std::string path, std::string_view extension)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    if (path.size() <= name)
        return path;
    const std::size_t dot = path.rfind('.');
    // A name ending in '.' is the user's way of saying "no extension".
    const bool hasExtension = dot != std::string::npos && dot > name &&
                              (dot + 1 == path.size() || looksLikeExtension(std::string_view(path).substr(dot + 1)));
    if (!hasExtension)
        path += extension;
    return path;
}

bool sameFile(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    struct stat first, second;
    if (a.empty() || b.empty() || stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
