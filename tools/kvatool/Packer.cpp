/** @file Packer.cpp Packing folders into data archives, listing them and extracting entries. */
#include "tools/kvatool/Packer.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include <cryptopp/cryptlib.h>

#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/ArchiveFormat.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/StringUtility.h"

namespace kvatool
{

namespace fs = std::filesystem;
namespace fmt = korvane::archive;

namespace
{

constexpr std::int64_t kMaxArchiveSize = 0x7FFFFFFF;

std::string FormatMethod(std::int32_t method)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", unsigned(method));
    return text;
}

std::string Describe(const korvane::EException& error)
{
    return error.GetMessage();
}

/// The whole contents of an entry stream.
Bytes ReadStream(korvane::IKorvaneStream& stream)
{
    Bytes bytes;
    char buffer[65536];
    for (;;) {
        const std::int32_t got = stream.Read(buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        bytes.append(buffer, std::size_t(got));
    }
    return bytes;
}

/// Runs an engine call, turning its failures into the tool's.
template <typename F>
auto WithEngineErrors(const std::string& context, F&& call) -> decltype(call())
{
    try {
        return call();
    } catch (const korvane::EException& error) {
        throw Error(context + Describe(error));
    } catch (const CryptoPP::Exception& error) {
        throw Error(context + error.what());
    }
}

const char* kUsage = "usage: kvatool pack [--method EXT=METHOD]... DIR... ARCHIVE\n"
                     "       kvatool list ARCHIVE\n"
                     "       kvatool extract ARCHIVE NAME\n"
                     "METHOD is 0 (stored), 1 (gzip), 0x100 (enciphered) or 0x101 (enciphered gzip);\n"
                     "by default .ogg, .png and .jpg are stored and everything else gets 0x101.\n";

/// Sorts by archive name and refuses two files of one name: lookups ignore case, so two names
/// that differ only in case could never both be read.
void SortAndCheckNames(std::vector<SourceFile>& files)
{
    std::sort(files.begin(), files.end(), [](const SourceFile& a, const SourceFile& b) {
        return a.name < b.name || (a.name == b.name && a.path < b.path);
    });
    for (std::size_t i = 1; i < files.size(); ++i) {
        if (files[i].name == files[i - 1].name) {
            throw Error("file names clash ignoring case: '" + files[i - 1].path + "' and '" + files[i].path + "'");
        }
    }
}

} // namespace

std::int32_t ParseMethod(const std::string& text)
{
    std::size_t used = 0;
    long value = -1;
    try {
        value = std::stol(text, &used, 0);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || (value != fmt::kMethodStored && value != fmt::kMethodCompressed &&
                                value != fmt::kMethodEnciphered && value != fmt::kMethodEncipheredCompressed)) {
        throw Error("unknown storage method '" + text + "' (use 0, 1, 0x100 or 0x101)");
    }
    return static_cast<std::int32_t>(value);
}

std::vector<SourceFile> CollectFiles(const std::string& folder, const std::string& skipPath)
{
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        throw Error("'" + folder + "' is not a folder");
    }
    const fs::path root = fs::path(folder);
    std::vector<SourceFile> files;
    fs::recursive_directory_iterator it(root, fs::directory_options::none, error);
    if (error) {
        throw Error("cannot list '" + folder + "': " + error.message());
    }
    for (; it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (error) {
            throw Error("cannot list '" + folder + "': " + error.message());
        }
        const fs::path& path = it->path();
        const fs::file_status status = it->status(error);
        if (error) {
            throw Error("cannot read '" + path.string() + "': " + error.message());
        }
        if (fs::is_directory(status)) {
            continue;
        }
        if (!fs::is_regular_file(status)) {
            throw Error("'" + path.string() + "' is not a regular file");
        }
        if (!skipPath.empty() && fs::equivalent(path, skipPath, error)) {
            continue;
        }
        const std::string relative = path.lexically_relative(root).generic_string();
        if (relative.find('\\') != std::string::npos) {
            throw Error("'" + path.string() + "': a backslash in a file name would read as a folder separator");
        }
        std::string name = relative;
        std::replace(name.begin(), name.end(), '/', '\\');
        files.push_back({korvane::ToLowerString(name), path.string(), Bytes()});
    }

    SortAndCheckNames(files);
    return files;
}

void LoadFiles(std::vector<SourceFile>& files)
{
    for (SourceFile& file : files) {
        file.data = ReadWholeFile(file.path);
        if (std::int64_t(file.data.size()) >= kMaxArchiveSize) {
            throw Error("'" + file.path + "' is too large for an archive (2 GiB and more)");
        }
    }
}

std::int32_t ChooseMethod(const std::string& name, const PackOptions& options)
{
    const std::size_t slash = name.find_last_of('\\');
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        const auto found = options.methodByExtension.find(korvane::ToLowerString(name.substr(dot)));
        if (found != options.methodByExtension.end()) {
            return found->second;
        }
    }
    return options.defaultMethod;
}

Bytes BuildArchive(const std::vector<SourceFile>& files, const PackOptions& options)
{
    std::vector<Record> records;
    Bytes data;
    for (const SourceFile& file : files) {
        std::int32_t method = ChooseMethod(file.name, options);
        // An enciphered entry with no payload is only its key block, which older readers
        // return as data: store empty files as they are instead.
        if (file.data.empty() && method == fmt::kMethodEnciphered) {
            method = fmt::kMethodStored;
        }
        if (method != fmt::kMethodStored && std::int64_t(file.data.size()) > fmt::kMaxDecodedEntrySize) {
            throw Error("'" + file.path + "' is larger than the reader decodes (512 MiB); store it with method 0");
        }
        const Bytes stored = EncodeEntry(method, file.data, options.random);
        if (std::int64_t(data.size()) + std::int64_t(stored.size()) > kMaxArchiveSize) {
            throw Error("the archive would reach 2 GiB, more than its offsets can address");
        }
        Record record;
        record.name = file.name;
        record.offset = static_cast<std::int32_t>(data.size());
        record.size = static_cast<std::int32_t>(stored.size());
        record.method = method;
        record.auxiliary = static_cast<std::int32_t>(file.data.size());
        records.push_back(record);
        data += stored;
    }
    const Bytes table = EncodeTable(records);
    if (std::int64_t(fmt::kHeaderSize) + std::int64_t(table.size()) + std::int64_t(data.size()) > kMaxArchiveSize) {
        throw Error("the archive would reach 2 GiB, more than its offsets can address");
    }
    return SerializeArchive(RandomBytes(options.random, fmt::kCounterBlockSize),
                            RandomBytes(options.random, fmt::kSeedSize), table, data);
}

void VerifyArchive(const std::string& archivePath, const std::vector<SourceFile>& files)
{
    const std::string context = "verification of '" + archivePath + "' failed: ";
    WithEngineErrors(context, [&] {
        korvane::CArchiveFileLoader loader;
        loader.Open(archivePath);
        if (loader.GetEntryCount() != static_cast<std::int32_t>(files.size())) {
            throw Error(context + "it holds " + std::to_string(loader.GetEntryCount()) + " entries instead of " +
                        std::to_string(files.size()));
        }
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::string& name = loader.GetEntry(static_cast<std::int32_t>(i))->GetName();
            if (name != files[i].name) {
                throw Error(context + "entry " + std::to_string(i) + " is '" + name + "' instead of '" + files[i].name +
                            "'");
            }
            std::unique_ptr<korvane::IKorvaneStream> stream(loader.OpenEntry(name));
            if (ReadStream(*stream) != files[i].data) {
                throw Error(context + "entry '" + name + "' does not read back as '" + files[i].path + "'");
            }
        }
        return 0;
    });
}

PackSummary PackFolder(const std::string& folder, const std::string& archivePath, const PackOptions& options)
{
    return PackFolders({folder}, archivePath, options);
}

PackSummary PackFolders(const std::vector<std::string>& folders, const std::string& archivePath,
                        const PackOptions& options)
{
    std::vector<SourceFile> files;
    for (const std::string& folder : folders) {
        std::vector<SourceFile> more = CollectFiles(folder, archivePath);
        files.insert(files.end(), more.begin(), more.end());
    }
    SortAndCheckNames(files);
    LoadFiles(files);
    const Bytes image = BuildArchive(files, options);
    WriteFileAtomically(archivePath, image, [&](const std::string& tempPath) {
        if (options.verify) {
            VerifyArchive(tempPath, files);
        }
    });
    PackSummary summary;
    summary.entries = files.size();
    for (const SourceFile& file : files) {
        summary.unpackedBytes += file.data.size();
    }
    summary.archiveBytes = image.size();
    return summary;
}

void ListArchive(const std::string& archivePath, std::ostream& out)
{
    WithEngineErrors("cannot read '" + archivePath + "': ", [&] {
        korvane::CArchiveFileLoader loader;
        loader.Open(archivePath);
        for (std::int32_t i = 0; i < loader.GetEntryCount(); ++i) {
            const korvane::CArchiveFileEntryHeader* entry = loader.GetEntry(i);
            out << entry->GetName() << '\t' << FormatMethod(entry->GetMethod()) << '\t' << entry->GetSize() << '\t'
                << entry->GetAuxiliary() << '\n';
        }
        return 0;
    });
}

Bytes ExtractEntry(const std::string& archivePath, const std::string& name)
{
    return WithEngineErrors("cannot extract '" + name + "' from '" + archivePath + "': ", [&] {
        korvane::CArchiveFileLoader loader;
        loader.Open(archivePath);
        std::unique_ptr<korvane::IKorvaneStream> stream(loader.OpenEntry(name));
        return ReadStream(*stream);
    });
}

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto usage = [&](const std::string& problem) {
        err << "kvatool: " << problem << '\n' << kUsage;
        return 2;
    };
    if (args.empty()) {
        return usage("no command given");
    }
    const std::string& command = args[0];
    try {
        if (command == "pack") {
            PackOptions options;
            std::vector<std::string> operands;
            for (std::size_t i = 1; i < args.size(); ++i) {
                if (args[i] == "--method") {
                    if (i + 1 >= args.size()) {
                        return usage("--method needs EXT=METHOD");
                    }
                    const std::string& rule = args[++i];
                    const std::size_t equals = rule.find('=');
                    if (equals == std::string::npos || equals == 0) {
                        return usage("--method needs EXT=METHOD, not '" + rule + "'");
                    }
                    std::string extension = korvane::ToLowerString(rule.substr(0, equals));
                    if (extension[0] != '.') {
                        extension = "." + extension;
                    }
                    options.methodByExtension[extension] = ParseMethod(rule.substr(equals + 1));
                } else if (args[i].size() > 1 && args[i][0] == '-') {
                    return usage("unknown option '" + args[i] + "'");
                } else {
                    operands.push_back(args[i]);
                }
            }
            if (operands.size() < 2) {
                return usage("pack needs DIR and ARCHIVE");
            }
            const std::string archive = operands.back();
            operands.pop_back();
            const PackSummary summary = PackFolders(operands, archive, options);
            out << "kvatool: packed " << summary.entries << " files (" << summary.unpackedBytes << " bytes) into '"
                << archive << "' (" << summary.archiveBytes << " bytes)\n";
            return 0;
        }
        if (command == "list") {
            if (args.size() != 2) {
                return usage("list needs ARCHIVE");
            }
            ListArchive(args[1], out);
            out.flush();
            return out ? 0 : 1;
        }
        if (command == "extract") {
            if (args.size() != 3) {
                return usage("extract needs ARCHIVE and NAME");
            }
            const Bytes bytes = ExtractEntry(args[1], args[2]);
            out.write(bytes.data(), std::streamsize(bytes.size()));
            out.flush();
            if (!out) {
                err << "kvatool: cannot write the entry to standard output\n";
                return 1;
            }
            return 0;
        }
        return usage("unknown command '" + command + "'");
    } catch (const Error& error) {
        err << "kvatool: " << error.what() << '\n';
    } catch (const korvane::EException& error) {
        err << "kvatool: " << Describe(error) << '\n';
    } catch (const std::exception& error) {
        err << "kvatool: " << error.what() << '\n';
    }
    return 1;
}

} // namespace kvatool
