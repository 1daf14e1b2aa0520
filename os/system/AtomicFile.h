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
/// A save killed half-way leaves its temporary file behind. A writer holds a lock (flock) on its
/// temporary file while it is pending, and Begin removes the files of the same target that no
/// writer holds, named with the id of a process that no longer runs or with this process's own
/// (in a sandbox the program has the same id at every start). Another live process's file, a
/// file still locked, and any other name stay. Where the file system has no locks, only the
/// files of ended processes go.
///
/// Begin, Write and Commit return 0 or the errno value of the failure. A failed Begin or Commit
/// leaves no temporary file behind; after a failed Write, Abandon (or destruction) removes it.
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
    /// Writes all the bytes to the temporary file (EBADF when nothing is pending).
    int Write(const void* data, std::size_t size);
    /// Puts the data in place of the target (EBADF when nothing is pending).
    int Commit();
    /// Drops the data; the target stays as it was.
    void Abandon() noexcept;

private:
    int handle_ = -1;
    std::string tempPath_;
    std::string targetPath_; ///< the target, or the file its link names
};

/// Replaces the file at `path` with the bytes in one step through an AtomicFileWriter
/// (defined apart from the writer, which the configuration dialog's library shares).
/// On failure the target is untouched, the calling thread's last error holds the cause
/// and false is returned.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

} // namespace os::system
