#include "common/safe_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

WriteFaultHook& writeFaultHook()
{
    static WriteFaultHook hook;
    return hook;
}

std::string parentOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// The file that really gets replaced: symbolic links are followed (also a
// dangling one, whose target is then created) so that the link itself stays.
bool resolveTarget(const std::string& path, std::string& resolved)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (lstat(current.c_str(), &st) != 0)
            break;   // does not exist yet: it is created under this name
        if (!S_ISLNK(st.st_mode))
            break;
        char link[PATH_MAX];
        const ssize_t n = readlink(current.c_str(), link, sizeof link - 1);
        if (n < 0)
            return false;
        if (n == 0)
            return false;
        const std::string target(link, static_cast<std::size_t>(n));
        current = (target.front() == '/') ? target : parentOf(current) + "/" + target;
    }
    struct stat st;
    if (lstat(current.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        return false;   // a loop of links, or a chain too long to be sane
    resolved = current;
    return true;
}

mode_t defaultFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        std::size_t chunk = size;
        bool simulatedShort = false;
        if (const auto& hook = writeFaultHook()) {
            const std::size_t allowed = hook(chunk);
            simulatedShort = allowed < chunk;
            chunk = allowed < chunk ? allowed : chunk;
        }
        if (chunk > 0) {
            const ssize_t n = write(fd, data, chunk);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        // A short count from the hook stands for a full disk.
        if (simulatedShort)
            return false;
    }
    return true;
}

} // namespace

void setWriteFaultHookForTesting(WriteFaultHook hook)
{
    writeFaultHook() = std::move(hook);
}

bool replaceFileContents(const std::string& path, const void* data, std::size_t size)
{
    if (path.empty() || (data == nullptr && size > 0))
        return false;

    std::string target;
    if (!resolveTarget(path, target))
        return false;

    mode_t mode;
    struct stat st;
    if (stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return false;
        mode = st.st_mode & 07777;
    } else if (errno == ENOENT) {
        mode = defaultFileMode();
    } else {
        return false;
    }

    const std::string folder = parentOf(target);
    auto slash = target.find_last_of('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    // Capped so that a name near the file system's limit still leaves room for the suffix.
    std::string temp = folder + "/." + name.substr(0, 200) + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;

    bool ok = fchmod(fd, mode) == 0 && writeAll(fd, static_cast<const std::uint8_t*>(data), size)
              && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (ok)
        ok = rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }

    // Make the rename itself durable; the new contents are already in place.
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}
