/** @file AtomicFile.cpp File replacements through a temporary file, fsync and rename. */
#include "os/system/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

// Built into the configuration dialog's library too: only the C library may be called here.

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

/// Reads a run of decimal digits at the front of `text` into `value`; false when there is none, or
/// it is not as std::to_string writes a number (a leading zero), or too long for a process id or a counter.
bool TakeNumber(std::string_view& text, unsigned long& value)
{
    std::size_t length = 0;
    value = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9') {
        if (++length > 10)
            return false;
        value = value * 10 + static_cast<unsigned long>(text[length - 1] - '0');
    }
    if (length > 1 && text[0] == '0')
        return false;
    text.remove_prefix(length);
    return length > 0;
}

/// The process id in a temporary file name this writer gives `name` (".<name>.<pid>-<n>.tmp"), or 0
/// when `entry` is not one.
pid_t TemporaryFileOwner(std::string_view entry, const std::string& name)
{
    if (entry.size() < name.size() + 2 || entry[0] != '.' || entry.substr(1, name.size()) != name ||
        entry[name.size() + 1] != '.')
        return 0;
    entry.remove_prefix(name.size() + 2);
    unsigned long pid = 0;
    unsigned long counter = 0;
    if (!TakeNumber(entry, pid) || entry.empty() || entry[0] != '-')
        return 0;
    entry.remove_prefix(1);
    if (!TakeNumber(entry, counter) || entry != ".tmp" || pid == 0 || pid > 0x7FFFFFFFul || counter > UINT_MAX)
        return 0;
    return static_cast<pid_t>(pid);
}

/// Whether the descriptor and the name are still the same file: a clean-up may remove a name between
/// its open and its lock, and a writer make a new file of that name since.
bool StillNamed(int fd, const std::string& path)
{
    struct stat opened;
    struct stat named;
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

/// Whether a failed flock says only that the file system has no locks, rather than that someone holds one.
bool NoLocksHere(int error)
{
    return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS;
}

/// Removes the temporary file at `path` unless a writer still holds it (Begin locks the file for as long
/// as it is pending; two descriptors of one file conflict under flock, so this process's own pending
/// writers count too). Where the file system has no locks, only a file whose process has ended
/// (`ownerEnded`) goes; any other failure to lock counts as held.
void RemoveUnlessHeld(const std::string& path, bool ownerEnded)
{
    // Only a regular file is opened: nothing else is a writer's, and opening a device may act on it.
    struct stat named;
    if (::lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode))
        return;
    // Open for writing first: over NFS an exclusive lock needs a descriptor open for writing.
    int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (!free && NoLocksHere(errno))
        free = ownerEnded;
    // Under the lock the name must still be the file locked.
    if (free && StillNamed(fd, path))
        ::unlink(path.c_str());
    ::close(fd);
}

/// Removes the temporary files of `name` in `folder` that no writer holds any more. A file of another
/// process that runs (or may: one of another user answers EPERM) stays; one of an ended process, or of
/// this process's own id, goes once no writer holds it. The id alone cannot tell: a writer in another
/// process-id namespace sharing the folder is not found here, and in a sandbox the program has the same
/// id at every start, so its killed saves' files carry its own id.
void RemoveStaleTemporaryFiles(const std::string& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return;
    std::vector<std::pair<std::string, bool>> candidates; // path, whether its process has ended
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = TemporaryFileOwner(entry->d_name, name);
        if (owner == 0)
            continue;
        if (owner == self)
            candidates.emplace_back(folder + entry->d_name, false);
        else if (::kill(owner, 0) == -1 && errno == ESRCH)
            candidates.emplace_back(folder + entry->d_name, true);
    }
    ::closedir(dir);
    for (const auto& [path, ownerEnded] : candidates)
        RemoveUnlessHeld(path, ownerEnded);
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
    RemoveStaleTemporaryFiles(folder, name);

    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string temp =
            folder + "." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(gTempCounter++) + ".tmp";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        // Held until Commit or Abandon lets the file go, so that no clean-up takes it. Between the open and
        // the lock another writer's clean-up may have locked the new file (it removes it), or already removed
        // it: then another name is taken.
        if ((::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) || !StillNamed(fd, temp)) {
            ::close(fd);
            continue;
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

int AtomicFileWriter::Write(const void* data, std::size_t size)
{
    if (handle_ < 0)
        return EBADF;
    const char* bytes = static_cast<const char*>(data);
    for (std::size_t done = 0; done < size;) {
        const ssize_t written = ::write(handle_, bytes + done, size - done);
        if (written > 0)
            done += static_cast<std::size_t>(written);
        else if (written == 0)
            return ENOSPC;
        else if (errno != EINTR)
            return errno;
    }
    return 0;
}

int AtomicFileWriter::Commit()
{
    if (handle_ < 0)
        return EBADF;
    const int fd = handle_;
    handle_ = -1;
    // The lock lasts while a descriptor of the file is open: one more keeps it over the rename. Without it a
    // clean-up could take the file between the close and the rename, so the commit fails instead.
    const int hold = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    int error = hold < 0 ? errno : 0;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(tempPath_.c_str(), targetPath_.c_str()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(tempPath_.c_str());
    if (hold >= 0)
        ::close(hold);
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
    // Removed while still held, so that the name cannot be another writer's by then.
    ::unlink(tempPath_.c_str());
    ::close(handle_);
    handle_ = -1;
    tempPath_.clear();
}

} // namespace os::system
