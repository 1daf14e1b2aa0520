/** @file ArchiveFormatWriter.h Building blocks of a data archive: records, keys, cipher, gzip and the file image. */
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kvatool
{

/// Raw bytes.
using Bytes = std::string;

/// Fills a buffer with random bytes.
using RandomSource = std::function<void(std::uint8_t* buffer, std::size_t size)>;

/// The system's random source (getrandom, else /dev/urandom); throws Error when it fails.
RandomSource SystemRandom();

/// Random bytes of the given count.
Bytes RandomBytes(const RandomSource& random, std::size_t count);

/// Failures of the tool, with a message for the user.
class Error : public std::exception
{
public:
    explicit Error(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

/// One record of the entry table. The CRC is computed unless `crc` overrides it.
struct Record
{
    std::string name;
    std::int32_t offset = 0;
    std::int32_t size = 0;
    std::int32_t method = 0;
    std::int32_t auxiliary = 0;
    std::optional<std::uint32_t> crc;
};

/// CRC-32 over the name bytes followed by the four fields, little-endian.
std::uint32_t RecordCrc(const Record& record);

/// The deciphered table: magic, int32 count, records with their CRCs.
Bytes EncodeTable(const std::vector<Record>& records);

/// SHA-256 of the seed, then of the digest, `hashes` computations in all.
Bytes DeriveKey(const Bytes& seed, int hashes);

/// AES-256 in counter mode (the first 16 bytes of `counter` are the big-endian initial counter).
void ApplyCounterMode(const Bytes& key, const Bytes& counter, Bytes& data);

/// One gzip member, no file name or comment.
Bytes GzipCompress(const Bytes& data);

/// The stored bytes of an entry for a method (0, 1, 0x100, 0x101); enciphered methods get a
/// fresh key block from `random`.
Bytes EncodeEntry(std::int32_t method, const Bytes& data, const RandomSource& random);

/// The whole archive file: magic, table length, counter block (32 bytes), seed (32 bytes),
/// the table enciphered with the key of the seed, then the data area.
Bytes SerializeArchive(const Bytes& counterBlock, const Bytes& seed, const Bytes& tablePlain, const Bytes& data);

/// Writes a file through a temporary file in the same folder, flushed and renamed over the
/// target; `beforeRename` (when set) checks the finished temporary file first.
void WriteFileAtomically(const std::string& path, const Bytes& bytes,
                         const std::function<void(const std::string& tempPath)>& beforeRename = {});

/// Reads a whole file; throws Error.
Bytes ReadWholeFile(const std::string& path);

} // namespace kvatool
