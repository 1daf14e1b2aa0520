/** @file FileStream.h A byte stream over a file of the file system. */
#pragma once

#include <string>

#include "KorvaneXDK/core/StandardStream.h"
#include "os/system/AtomicFile.h"

namespace korvane
{

/// A file opened by path. Open modes:
///   0 and 2  write: the file is created or replaced (see below);
///   1        read an existing file (a missing file fails to open);
///   3        read and write in place, created when missing;
///   others   fail to open.
/// Share modes (0 none, 1 read, 2 write, 3 both) are accepted and kept but have no effect
/// on Linux, where files are never locked against other openers.
///
/// Writing in modes 0 and 2 never touches the existing file until the stream is finished:
/// the bytes go to a temporary file in the same folder (".<name>.<unique>.tmp"), which is
/// flushed to disk and renamed over the target by Close, or by the destructor when Close
/// was not called (an os::system::AtomicFileWriter does both, as for the store's files).
/// If the stream saw a failed write, or is destroyed while an exception is unwinding the
/// stack, the temporary file is removed instead and the old file stays as it was. A process
/// that dies before that point leaves the old file intact as well. A target that is a
/// symbolic link keeps the link: the file it names is replaced.
///
/// A path naming a folder fails to open in every mode: it holds no file data to read, and
/// a write must not get as far as the rename before finding that out. Reading and writing in
/// place (modes 1 and 3) take only a regular file: a named pipe, a socket or a device there
/// fails to open at once, never waited on, and its kind is the logged reason.
///
/// Failures throw EFileOpenError, EReadError or EWriteError after logging the system error.
class CFileStream : public CStandardStream
{
public:
    CFileStream(const std::string& path, std::int32_t openMode, std::int32_t shareMode);
    /// Opens the same file again with a handle of its own at the source's position.
    /// A copy of a write stream (modes 0 and 2) writes into the same pending data without
    /// truncating it; the source alone commits it.
    CFileStream(const CFileStream& source);
    CFileStream& operator=(const CFileStream&) = delete;
    ~CFileStream() override;

    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    /// The file size, clamped to INT32_MAX.
    std::int32_t GetSize() const override;
    /// Sets the end of the file; the position stays (clamped by Seek's rules).
    void SetSize(std::int32_t size) override;
    /// A negative position becomes 0; in mode 1 a position past the end becomes the size;
    /// other modes may seek past the end.
    std::int32_t Seek(std::int32_t position) override;
    std::int32_t GetPosition() const override;
    CFileStream* Clone() const override;

    /// The last-write time as a 64-bit Windows file time (100 ns units since 1601-01-01 UTC).
    virtual std::uint64_t GetLastWriteTime() const;

    /// Finishes the file: a write stream in mode 0 or 2 is flushed and renamed over its
    /// target here (throwing EWriteError when that fails). Later reads and writes fail;
    /// a second Close does nothing.
    void Close();
    bool IsOpen() const { return handle_ >= 0; }

    const std::string& GetPath() const { return path_; }
    /// Where a replacing write (modes 0 and 2) keeps its data until Close puts it in place;
    /// empty for the other modes. A check of the finished file before it replaces the old
    /// one reads it here.
    const std::string& GetPendingPath() const { return tempPath_; }
    std::int32_t GetOpenMode() const { return openMode_; }
    std::int32_t GetShareMode() const { return shareMode_; }

protected:
    /// For the partition stream: reopen the file like the copy constructor without seeking.
    struct ReopenTag
    {};
    CFileStream(const CFileStream& source, ReopenTag);

    int GetHandle() const { return handle_; }
    std::int32_t RawRead(void* buffer, std::int32_t count);
    std::int64_t RawSeek(std::int64_t position);
    std::int64_t RawTell() const;
    std::int64_t RawSize() const;

private:
    bool IsReplacingWrite() const { return openMode_ == 0 || openMode_ == 2; }
    void Open(bool truncate);
    void Abandon() noexcept;
    void Commit();

    std::string path_;
    std::int32_t openMode_;
    std::int32_t shareMode_;
    int handle_ = -1;
    std::string tempPath_; ///< pending data of a replacing write
    /// The replacement this stream started; only the stream that created the temporary file
    /// commits it, so a copy's writer stays idle. Its handle is handle_.
    os::system::AtomicFileWriter pending_;
    bool failed_ = false; ///< a write failed: the pending data must not replace the target
    int uncaughtAtOpen_ = 0;
};

} // namespace korvane
