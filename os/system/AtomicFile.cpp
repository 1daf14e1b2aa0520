/** @file AtomicFile.cpp File replacements through a temporary file, fsync and rename. */
#include "os/system/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "os/system/System.h"

namespace os::system
{

namespace
{

std::atomic<unsigned> gTempCounter{0};

/// The folder part of a path with its trailing '/', empty for a bare name.
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

AtomicFileWriter::~AtomicFileWriter()
{
    Abandon();
}

int AtomicFileWriter::Begin(const std::string& path)
{
    Abandon();
    // A link is followed, so the file it names is replaced and the link stays.
    std::string target = path;
    struct stat link;
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    const std::string folder = FolderOf(target);
    const std::string name = target.substr(folder.size());
    if (name.empty())
        return target.empty() ? ENOENT : EISDIR;
    // A folder cannot be replaced by a file: fail now, not at the rename.
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return EISDIR;

    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string temp =
            folder + "." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(gTempCounter++) + ".tmp";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        // The replacement keeps the permissions of the file it replaces.
        if (exists && S_ISREG(old.st_mode))
            (void)::fchmod(fd, old.st_mode & 07777);
        handle_ = fd;
        tempPath_ = temp;
        targetPath_ = target;
        return 0;
    }
    return EEXIST;
}

int AtomicFileWriter::Commit()
{
    if (handle_ < 0)
        return EBADF;
    const int fd = handle_;
    handle_ = -1;
    int error = 0;
    if (::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(tempPath_.c_str(), targetPath_.c_str()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(tempPath_.c_str());
    tempPath_.clear();
    if (error != 0)
        return error;
    // The rename itself reaches the disk only with the folder's own entry.
    const std::string folder = FolderOf(targetPath_);
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return 0;
}

void AtomicFileWriter::Abandon() noexcept
{
    if (handle_ < 0)
        return;
    ::close(handle_);
    handle_ = -1;
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
}

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size)
{
    AtomicFileWriter writer;
    int error = writer.Begin(path);
    const char* bytes = static_cast<const char*>(data);
    for (std::size_t done = 0; error == 0 && done < size;) {
        const ssize_t written = ::write(writer.GetHandle(), bytes + done, size - done);
        if (written > 0)
            done += static_cast<std::size_t>(written);
        else if (written == 0)
            error = ENOSPC;
        else if (errno != EINTR)
            error = errno;
    }
    if (error == 0)
        error = writer.Commit();
    if (error != 0) {
        writer.Abandon();
        SetLastErrorFromErrno(error);
        return false;
    }
    return true;
}

} // namespace os::system
