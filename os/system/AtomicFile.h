/** @file AtomicFile.h File replacements that never leave a torn file behind. */
#pragma once

#include <cstddef>
#include <string>

namespace os::system
{

/// One file being replaced. Begin creates a temporary file in the target's folder
/// (".<name>.<pid>-<n>.tmp") that the caller writes through GetHandle(); Commit flushes it
/// to disk, renames it over the target and flushes the folder's entry, so readers see the
/// old file or the whole new one, also after a crash at any point. Until the commit the
/// target is untouched; Abandon, or destruction without a commit, removes the temporary file.
///
/// A target that is a symbolic link keeps the link: the file it names is replaced. The
/// replacement keeps the permissions of the file it replaces. A target that is a folder
/// fails at Begin, before anything is written.
///
/// Begin and Commit return 0 or the errno value of the failure; a failure leaves no
/// temporary file behind.
class AtomicFileWriter
{
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    /// Starts replacing the file at `path` (abandoning a replacement still pending).
    int Begin(const std::string& path);
    /// True between a successful Begin and Commit or Abandon.
    bool IsPending() const { return handle_ >= 0; }
    /// The temporary file's descriptor, open for writing; -1 when nothing is pending.
    /// The writer owns it: Commit and Abandon close it.
    int GetHandle() const { return handle_; }
    /// The temporary file while pending; empty otherwise.
    const std::string& GetPendingPath() const { return tempPath_; }
    /// Puts the data in place of the target (EBADF when nothing is pending).
    int Commit();
    /// Drops the data; the target stays as it was.
    void Abandon() noexcept;

private:
    int handle_ = -1;
    std::string tempPath_;
    std::string targetPath_; ///< the target, or the file its link names
};

/// Replaces the file at `path` with the bytes in one step through an AtomicFileWriter.
/// On failure the target is untouched, the calling thread's last error holds the cause
/// and false is returned.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

} // namespace os::system
