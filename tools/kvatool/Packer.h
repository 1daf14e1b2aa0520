/** @file Packer.h Packing a folder into a data archive, listing an archive and extracting an entry. */
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tools/kvatool/ArchiveFormatWriter.h"

namespace kvatool
{

struct PackOptions
{
    /// Method per lower-case extension with its dot (".ogg"); files without a match use
    /// defaultMethod. Files that are compressed already are stored as they are.
    std::map<std::string, std::int32_t> methodByExtension{{".ogg", 0}, {".png", 0}, {".jpg", 0}};
    std::int32_t defaultMethod = 0x101;
    /// Seeds and counters; the system's random source unless a test fixes them.
    RandomSource random = SystemRandom();
    /// Reopen the written archive with the engine's reader and compare every entry.
    bool verify = true;
};

/// A file to pack: its archive name (lower case, backslashes) and where it lies.
struct SourceFile
{
    std::string name;
    std::string path;
    Bytes data; ///< filled by LoadFiles
};

/// Every file below a folder, sorted by archive name. Refuses names that clash ignoring case
/// and names the reader could not hold. A file at `skipPath` (the archive itself) is left out.
std::vector<SourceFile> CollectFiles(const std::string& folder, const std::string& skipPath = std::string());

/// Reads every file's bytes; refuses files the archive cannot hold (2 GiB and more).
void LoadFiles(std::vector<SourceFile>& files);

/// The method a file gets under the options.
std::int32_t ChooseMethod(const std::string& name, const PackOptions& options);

/// Reads `method` from text: 0, 1, 256, 257 or 0x100, 0x101; throws Error otherwise.
std::int32_t ParseMethod(const std::string& text);

struct PackSummary
{
    std::size_t entries = 0;
    std::uint64_t unpackedBytes = 0;
    std::uint64_t archiveBytes = 0;
};

/// Packs loaded files into an archive image (in the given order) with the options' methods.
Bytes BuildArchive(const std::vector<SourceFile>& files, const PackOptions& options);

/// Compares an archive file entry by entry with the loaded files it was packed from, reading
/// it back through the engine's own reader; throws Error.
void VerifyArchive(const std::string& archivePath, const std::vector<SourceFile>& files);

/// Packs every file below `folder` into `archivePath`, replacing it only once the new archive
/// has been written, flushed and (unless switched off) verified.
PackSummary PackFolder(const std::string& folder, const std::string& archivePath, const PackOptions& options);

/// PackFolder over several folders merged into one tree (data/ and the folders that tools
/// generate at build time); a name found in two folders is refused.
PackSummary PackFolders(const std::vector<std::string>& folders, const std::string& archivePath,
                        const PackOptions& options);

/// One line per entry in table order: name, method, stored size, unpacked size (tab-separated).
void ListArchive(const std::string& archivePath, std::ostream& out);

/// The bytes of one entry (name in any case).
Bytes ExtractEntry(const std::string& archivePath, const std::string& name);

/// Runs the command line (without the program name); returns the exit status: 0 on success,
/// 1 on a failure, 2 on a usage error. Results go to `out`, messages to `err`.
int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kvatool
