#include "common/safe_file.h"

#include <cerrno>
#include <csignal>
#include <climits>
#include <cstdlib>
#include <cctype>
#include <new>
#include <string>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

// Writes all bytes at the file's current offset. `faults` lets the test hook
// shorten the writes (only new contents are written with it).
bool writeAll(int fd, const std::uint8_t* data, std::size_t size, bool faults = true)
{
    while (size > 0) {
        std::size_t chunk = size;
        bool simulatedShort = false;
        if (const auto& hook = writeFaultHook(); faults && hook) {
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

bool readAll(int fd, std::string& bytes)
{
    bytes.clear();
    char chunk[65536];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        try {
            bytes.append(chunk, static_cast<std::size_t>(n));
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
}

class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return m_fd; }
    // Closes now, reporting whether the close succeeded.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Hidden temporary files are "." + name (at most 200 bytes of it) +
// ".saving-" and six letters or digits: a marker no file of the user's
// carries (a hand-made ".image.bin.backup" is never taken for one).
std::string tempPrefix(const std::string& name)
{
    // Appended piece by piece: a literal joined with + trips GCC 12's -Wrestrict.
    std::string prefix(1, '.');
    prefix.append(name, 0, 200).append(".saving-");
    return prefix;
}

bool isTempOf(const std::string& entry, const std::string& prefix)
{
    if (entry.size() != prefix.size() + 6 || entry.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < entry.size(); ++i) {
        if (!std::isalnum(static_cast<unsigned char>(entry[i])))
            return false;
    }
    return true;
}

// Removes what an interrupted save of this target left behind: regular files
// of our own that carry its temporary name.
void removeStaleTemps(const std::string& folder, const std::string& name)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    const std::string prefix = tempPrefix(name);
    while (const dirent* entry = readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (!isTempOf(entryName, prefix))
            continue;
        struct stat st;
        if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)
            && st.st_uid == geteuid())
            unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

// Writes the new bytes into the file itself. Its old bytes are read first,
// and put back if the write fails.
bool writeInPlace(const std::string& target, const std::uint8_t* data, std::size_t size)
{
    FileHandle file(open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    std::string old;
    // The old bytes are kept in memory: a file far larger than anything this
    // program writes (a stray link to a disk image) is not written over.
    constexpr off_t kLargestKept = off_t(1) << 30;
    if (file.get() < 0 || fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kLargestKept ||
        !readAll(file.get(), old))
        return false;
    const auto seekStart = [&] { return lseek(file.get(), 0, SEEK_SET) == 0; };
    if (seekStart() && writeAll(file.get(), data, size) && ftruncate(file.get(), static_cast<off_t>(size)) == 0
        && fsync(file.get()) == 0)
        return file.close();
    // The old bytes go back over blocks the file already had.
    if (seekStart() && writeAll(file.get(), reinterpret_cast<const std::uint8_t*>(old.data()), old.size(), false))
        ftruncate(file.get(), static_cast<off_t>(old.size()));
    fsync(file.get());
    return false;
}

// Gives the file `fd` the extended attributes of `from` (its access control
// list among them). False when one cannot be kept.
bool copyAttributes(const std::string& from, int fd)
{
    const ssize_t listed = listxattr(from.c_str(), nullptr, 0);
    if (listed < 0)
        return errno == ENOTSUP;   // a file system without them has none to keep
    std::string names(static_cast<std::size_t>(listed), '\0');
    const ssize_t got = listxattr(from.c_str(), names.data(), names.size());
    if (got < 0)
        return false;
    names.resize(static_cast<std::size_t>(got));
    // Names, each ended by a zero byte.
    for (std::size_t at = 0; at < names.size();) {
        const char* attribute = names.c_str() + at;
        at += std::char_traits<char>::length(attribute) + 1;
        const ssize_t length = getxattr(from.c_str(), attribute, nullptr, 0);
        if (length < 0)
            return false;
        std::string value(static_cast<std::size_t>(length), '\0');
        const ssize_t read = getxattr(from.c_str(), attribute, value.data(), value.size());
        if (read < 0 || fsetxattr(fd, attribute, value.data(), static_cast<std::size_t>(read), 0) != 0)
            return false;
    }
    return true;
}

// Writes the bytes to a new temporary file beside the target that has the
// target's mode, owner, group and extended attributes (`existing`, when
// there is a target). Empty when that cannot be done.
std::string writeTemp(const std::string& folder, const std::string& name, mode_t mode,
                      const struct stat* existing, const std::uint8_t* data, std::size_t size)
{
    std::string temp = folder + "/" + tempPrefix(name) + "XXXXXX";
    FileHandle file(mkostemp(temp.data(), O_CLOEXEC));
    if (file.get() < 0)
        return {};
    struct stat own;
    bool ok = fstat(file.get(), &own) == 0;
    // The owner first: changing it may clear set-id bits that fchmod then restores.
    if (ok && existing && (own.st_uid != existing->st_uid || own.st_gid != existing->st_gid))
        ok = fchown(file.get(), existing->st_uid, existing->st_gid) == 0;
    ok = ok && fchmod(file.get(), mode) == 0 && (!existing || copyAttributes(folder + "/" + name, file.get())) &&
         writeAll(file.get(), data, size) && fsync(file.get()) == 0;
    ok = file.close() && ok;
    if (!ok) {
        unlink(temp.c_str());
        return {};
    }
    return temp;
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
    const auto* bytes = static_cast<const std::uint8_t*>(data);

    std::string target;
    if (!resolveTarget(path, target))
        return false;

    const std::string folder = parentOf(target);
    const auto slash = target.find_last_of('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    removeStaleTemps(folder, name);

    struct stat st;
    bool exists = false;
    {
        // Opening for writing asks exactly what a plain write would be told;
        // without blocking, in case the path now names a FIFO.
        FileHandle file(open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (file.get() >= 0) {
            if (fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
                return false;
            exists = true;
        } else if (errno != ENOENT || lstat(target.c_str(), &st) == 0) {
            return false;   // there, but not to be written by this user
        }
    }

    if (!exists) {
        const std::string temp = writeTemp(folder, name, defaultFileMode(), nullptr, bytes, size);
        if (temp.empty())
            return false;
        if (rename(temp.c_str(), target.c_str()) != 0) {
            unlink(temp.c_str());
            return false;
        }
    } else {
        // A rename would cut the file's other names off its new contents.
        const std::string temp =
            st.st_nlink > 1 ? std::string() : writeTemp(folder, name, st.st_mode & 07777, &st, bytes, size);
        if (temp.empty())
            return writeInPlace(target, bytes, size);
        if (rename(temp.c_str(), target.c_str()) != 0) {
            unlink(temp.c_str());
            return false;
        }
    }

    // Make the rename itself durable; the new contents are already in place.
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

void failWritesPastTheFileSizeLimit()
{
    signal(SIGXFSZ, SIG_IGN);
}
