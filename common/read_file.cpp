#include "common/read_file.h"

#include <cerrno>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileReadStatus readRegularFile(const std::string& path, std::string& bytes, std::size_t spare, std::size_t limit)
{
    struct stat st;
    const int fd = path.empty() ? -1 : open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const bool regular = !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
        return regular ? FileReadStatus::Unreadable : FileReadStatus::NotFound;
    }
    FileReadStatus status = FileReadStatus::Read;
    std::string read;
    if (fstat(fd, &st) != 0) {
        status = FileReadStatus::Unreadable;
    } else if (!S_ISREG(st.st_mode)) {
        status = FileReadStatus::NotFound;
    } else if (static_cast<std::uintmax_t>(st.st_size) > limit) {
        status = FileReadStatus::Unreadable;
    } else {
        try {
            // The size is a hint: a file that grows or shrinks meanwhile is read to its end.
            read.reserve(static_cast<std::size_t>(st.st_size) + spare);
            char chunk[65536];
            for (;;) {
                const ssize_t n = ::read(fd, chunk, sizeof chunk);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0 || read.size() + static_cast<std::size_t>(n) > limit) {
                    status = FileReadStatus::Unreadable;
                    break;
                }
                if (n == 0)
                    break;
                read.append(chunk, static_cast<std::size_t>(n));
            }
        } catch (const std::bad_alloc&) {
            status = FileReadStatus::Unreadable;
        }
    }
    close(fd);
    if (status == FileReadStatus::Read)
        bytes.swap(read);
    return status;
}
