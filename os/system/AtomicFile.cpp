/** @file AtomicFile.cpp Whole-file writes through a temporary file, fsync and rename. */
#include "os/system/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "os/system/System.h"

namespace os::system
{

namespace
{

std::atomic<unsigned> gTempCounter{0};

bool Fail(int error, const std::string& temp, int fd)
{
    if (fd >= 0)
        ::close(fd);
    if (!temp.empty())
        ::unlink(temp.c_str());
    SetLastErrorFromErrno(error);
    return false;
}

} // namespace

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty())
        return Fail(EISDIR, std::string(), -1);

    int fd = -1;
    std::string temp;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = folder + "." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(gTempCounter++) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return Fail(errno, std::string(), -1);
    }
    if (fd < 0)
        return Fail(EEXIST, std::string(), -1);

    const char* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd, bytes + done, size - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail(errno, temp, fd);
        }
        done += static_cast<std::size_t>(written);
    }
    if (::fsync(fd) != 0)
        return Fail(errno, temp, fd);
    const int closed = ::close(fd);
    if (closed != 0)
        return Fail(errno, temp, -1);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return Fail(errno, temp, -1);
    // The rename itself reaches the disk only with the folder's own entry.
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace os::system
