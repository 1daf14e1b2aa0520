/** @file FileStream.cpp A byte stream over a file of the file system. */
#include "KorvaneXDK/core/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <exception>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "os/system/RegularFile.h"
#include "os/system/System.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "FileStream";

// Records errno as the thread's last error and logs it, as every failing file call does.
void LogSystemError(int error, int line)
{
    os::system::SetLastErrorFromErrno(error);
    LogWin32Error(kSourceFile, line);
}

} // namespace

CFileStream::CFileStream(const std::string& path, std::int32_t openMode, std::int32_t shareMode)
    : path_(path), openMode_(openMode), shareMode_(shareMode)
{
    Open(true);
}

CFileStream::CFileStream(const CFileStream& source) : CFileStream(source, ReopenTag{})
{
    Seek(source.GetPosition());
}

CFileStream::CFileStream(const CFileStream& source, ReopenTag)
    : CObject(source), CStandardStream(source), path_(source.path_), openMode_(source.openMode_),
      shareMode_(source.shareMode_), tempPath_(source.tempPath_)
{
    // A copy never owns pending data and never truncates: it writes into what the source
    // has written so far (the temporary file, or the target once the source committed).
    Open(false);
}

CFileStream::~CFileStream()
{
    if (handle_ < 0)
        return;
    if (pending_.IsPending() && (failed_ || std::uncaught_exceptions() > uncaughtAtOpen_)) {
        LogErrorF("CFileStream: unfinished data for '%s' dropped; the file is unchanged", path_.c_str());
        Abandon();
        return;
    }
    try {
        Close();
    } catch (const EException& error) {
        LogErrorAt(error.GetMessage(), kSourceFile, __LINE__);
        Abandon();
    } catch (...) {
        Abandon();
    }
}

void CFileStream::Open(bool truncate)
{
    const std::string target = ToSystemPath(path_);
    uncaughtAtOpen_ = std::uncaught_exceptions();
    int fd = -1;
    // Only a regular file is opened, and never waited on: a named pipe in its place would hold the
    // program until someone answered it, and a folder holds no file data.
    std::string why;
    switch (openMode_) {
    case 1:
        fd = os::system::OpenRegularFile(target, O_RDONLY, why);
        break;
    case 3:
        fd = os::system::OpenRegularFile(target, O_RDWR | O_CREAT, why);
        break;
    case 0:
    case 2:
        if (!truncate) {
            if (!tempPath_.empty()) {
                fd = os::system::OpenRegularFile(tempPath_, O_WRONLY, why);
                if (fd >= 0 || errno != ENOENT)
                    break;
            }
            fd = os::system::OpenRegularFile(target, O_WRONLY | O_CREAT, why);
            break;
        }
        // The writer follows a link and refuses a folder before anything is written.
        if (const int failure = pending_.Begin(target); failure != 0) {
            errno = failure;
            break;
        }
        fd = pending_.GetHandle();
        tempPath_ = pending_.GetPendingPath();
        break;
    default:
        errno = EINVAL;
        break;
    }
    if (fd < 0) {
        const int error = errno;
        if (why.empty())
            os::system::SetLastErrorFromErrno(error);
        else
            os::system::SetLastError(static_cast<std::uint32_t>(error), why + "\n");
        LogWin32Error(kSourceFile, __LINE__);
        throw EFileOpenError(this, "Cannot open file: \"" + path_ + "\"");
    }
    handle_ = fd;
}

std::int32_t CFileStream::RawRead(void* buffer, std::int32_t count)
{
    if (count < 1)
        return 0;
    if (handle_ < 0) {
        LogSystemError(EBADF, __LINE__);
        throw EReadError(this, "Failed to read from file stream - '" + path_ + "'");
    }
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    std::int32_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(handle_, bytes + done, static_cast<std::size_t>(count - done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            LogSystemError(errno, __LINE__);
            throw EReadError(this, "Failed to read from file stream - '" + path_ + "'");
        }
        if (got == 0)
            break;
        done += static_cast<std::int32_t>(got);
    }
    return done;
}

std::int32_t CFileStream::Read(void* buffer, std::int32_t count)
{
    return RawRead(buffer, count);
}

std::int32_t CFileStream::Write(const void* buffer, std::int32_t count)
{
    if (count < 1)
        return 0;
    auto fail = [this](int error, int line) {
        failed_ = true;
        LogSystemError(error, line);
        return EWriteError(this, "Failed to write to file stream - '" + path_ + "'");
    };
    if (handle_ < 0)
        throw fail(EBADF, __LINE__);
    if (RawTell() + count > INT32_MAX)
        throw fail(EFBIG, __LINE__);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    std::int32_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(handle_, bytes + done, static_cast<std::size_t>(count - done));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            throw fail(errno, __LINE__);
        }
        if (put == 0)
            throw fail(ENOSPC, __LINE__);
        done += static_cast<std::int32_t>(put);
    }
    return done;
}

std::int64_t CFileStream::RawSize() const
{
    struct stat info;
    if (handle_ < 0 || ::fstat(handle_, &info) != 0)
        return 0;
    return info.st_size;
}

std::int64_t CFileStream::RawTell() const
{
    if (handle_ < 0)
        return 0;
    const off_t at = ::lseek(handle_, 0, SEEK_CUR);
    return at < 0 ? 0 : at;
}

std::int64_t CFileStream::RawSeek(std::int64_t position)
{
    if (handle_ < 0)
        return 0;
    const off_t at = ::lseek(handle_, static_cast<off_t>(std::max<std::int64_t>(position, 0)), SEEK_SET);
    return at < 0 ? RawTell() : at;
}

std::int32_t CFileStream::GetSize() const
{
    return static_cast<std::int32_t>(std::min<std::int64_t>(RawSize(), INT32_MAX));
}

void CFileStream::SetSize(std::int32_t size)
{
    if (size < 0)
        return;
    const std::int32_t position = GetPosition();
    if (handle_ < 0 || ::ftruncate(handle_, size) != 0) {
        failed_ = true;
        LogSystemError(handle_ < 0 ? EBADF : errno, __LINE__);
        throw EWriteError(this, "Failed to set size to file stream - '" + path_ + "'");
    }
    Seek(position);
}

std::int32_t CFileStream::Seek(std::int32_t position)
{
    std::int64_t target = std::max(position, 0);
    if (openMode_ == 1)
        target = std::min(target, RawSize());
    return static_cast<std::int32_t>(std::min<std::int64_t>(RawSeek(target), INT32_MAX));
}

std::int32_t CFileStream::GetPosition() const
{
    return static_cast<std::int32_t>(std::min<std::int64_t>(RawTell(), INT32_MAX));
}

CFileStream* CFileStream::Clone() const
{
    return new CFileStream(*this);
}

std::uint64_t CFileStream::GetLastWriteTime() const
{
    struct stat info;
    const int result = handle_ >= 0 ? ::fstat(handle_, &info) : ::stat(ToSystemPath(path_).c_str(), &info);
    if (result != 0)
        return 0;
    constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600ull;
    return (static_cast<std::uint64_t>(info.st_mtim.tv_sec) + kSecondsFrom1601To1970) * 10000000ull +
           static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100;
}

void CFileStream::Close()
{
    if (handle_ < 0)
        return;
    if (pending_.IsPending()) {
        Commit();
        return;
    }
    ::close(handle_);
    handle_ = -1;
}

// Flushes the pending data to disk and puts it in place of the target in one step.
void CFileStream::Commit()
{
    handle_ = -1;
    int error = EIO;
    if (failed_)
        pending_.Abandon();
    else
        error = pending_.Commit();
    if (error != 0) {
        LogSystemError(error, __LINE__);
        throw EWriteError(this, "Failed to write to file stream - '" + path_ + "'");
    }
}

void CFileStream::Abandon() noexcept
{
    if (pending_.IsPending())
        pending_.Abandon(); // closes handle_ with the temporary file
    else if (handle_ >= 0)
        ::close(handle_);
    handle_ = -1;
}

} // namespace korvane
