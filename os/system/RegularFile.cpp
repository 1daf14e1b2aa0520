/** @file RegularFile.cpp Opening the save folder's files without waiting, and setting damaged ones aside. */
#include "os/system/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

// Built into the configuration dialog's library too: only the C library may be called here.

namespace os::system
{

namespace
{

/// Why an entry of this type is not taken as a file; empty for a regular file.
const char* KindText(mode_t type)
{
    if (S_ISREG(type))
        return "";
    if (S_ISDIR(type))
        return "Is a directory";
    if (S_ISFIFO(type))
        return "Is a named pipe";
    if (S_ISSOCK(type))
        return "Is a socket";
    if (S_ISCHR(type) || S_ISBLK(type))
        return "Is a device";
    return "Is not a regular file";
}

int Refuse(mode_t type, std::string& why)
{
    why = KindText(type);
    errno = S_ISDIR(type) ? EISDIR : EINVAL;
    return -1;
}

} // namespace

int OpenRegularFile(const std::string& path, int flags, std::string& why, unsigned mode)
{
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, static_cast<mode_t>(mode));
    struct stat info;
    if (fd < 0) {
        const int error = errno;
        // A writer that may not wait is told ENXIO by a pipe or a socket with no one at the other end:
        // what stands there is the better reason.
        if (error == ENXIO && ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
            return Refuse(info.st_mode, why);
        why = ErrnoText(error);
        errno = error;
        return -1;
    }
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        why = ErrnoText(error);
        errno = error;
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return Refuse(info.st_mode, why);
    }
    if ((flags & O_NONBLOCK) == 0) {
        const int status = ::fcntl(fd, F_GETFL);
        if (status != -1)
            (void)::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    }
    return fd;
}

std::string SetFileAside(const std::string& path)
{
    for (int n = 0; n < 1000; ++n) {
        const std::string aside = path + ".corrupt" + (n == 0 ? std::string() : std::to_string(n));
        struct stat info;
        if (::lstat(aside.c_str(), &info) == 0)
            continue;
        // Never over a file: a name taken since the look above is passed over like any other.
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return aside;
        if (errno == EEXIST)
            continue;
        // A file system (or kernel) that refuses the flag has the look above only.
        if ((errno == EINVAL || errno == ENOSYS) && ::rename(path.c_str(), aside.c_str()) == 0)
            return aside;
        return std::string();
    }
    errno = EEXIST;
    return std::string();
}

std::string ErrnoText(int error)
{
    char buffer[256] = {};
    const char* message = ::strerror_r(error, buffer, sizeof buffer);
    return message != nullptr ? message : "";
}

} // namespace os::system
