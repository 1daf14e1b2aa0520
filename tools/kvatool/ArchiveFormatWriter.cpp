/** @file ArchiveFormatWriter.cpp Producing the archive's records, keys, ciphertext, gzip members and file image. */
#include "tools/kvatool/ArchiveFormatWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cryptopp/aes.h>
#include <cryptopp/modes.h>
#include <cryptopp/sha.h>
#include <zlib.h>

#include "KorvaneXDK/core/ArchiveFormat.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FileStream.h"
#include "os/system/System.h"

namespace kvatool
{

namespace fmt = korvane::archive;

namespace
{

void AppendUInt32(Bytes& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::string SystemError(const std::string& what, const std::string& path, int error)
{
    return what + " '" + path + "': " + std::strerror(error);
}

} // namespace

RandomSource SystemRandom()
{
    return [](std::uint8_t* buffer, std::size_t size) {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t got = getrandom(buffer + done, size - done, 0);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw Error(std::string("cannot read the system's random source: ") + std::strerror(errno));
            }
            done += std::size_t(got);
        }
    };
}

Bytes RandomBytes(const RandomSource& random, std::size_t count)
{
    Bytes bytes(count, '\0');
    random(reinterpret_cast<std::uint8_t*>(bytes.data()), count);
    return bytes;
}

std::uint32_t RecordCrc(const Record& record)
{
    Bytes fields;
    AppendUInt32(fields, std::uint32_t(record.offset));
    AppendUInt32(fields, std::uint32_t(record.size));
    AppendUInt32(fields, std::uint32_t(record.method));
    AppendUInt32(fields, std::uint32_t(record.auxiliary));
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(record.name.data()), uInt(record.name.size()));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(fields.data()), uInt(fields.size()));
    return std::uint32_t(crc);
}

Bytes EncodeTable(const std::vector<Record>& records)
{
    Bytes table(fmt::kTableMagic, fmt::kTableMagicSize);
    AppendUInt32(table, std::uint32_t(records.size()));
    for (const Record& record : records) {
        AppendUInt32(table, std::uint32_t(record.name.size()));
        table += record.name;
        AppendUInt32(table, std::uint32_t(record.offset));
        AppendUInt32(table, std::uint32_t(record.size));
        AppendUInt32(table, std::uint32_t(record.method));
        AppendUInt32(table, std::uint32_t(record.auxiliary));
        AppendUInt32(table, record.crc ? *record.crc : RecordCrc(record));
    }
    return table;
}

Bytes DeriveKey(const Bytes& seed, int hashes)
{
    Bytes digest(CryptoPP::SHA256::DIGESTSIZE, '\0');
    CryptoPP::SHA256().CalculateDigest(reinterpret_cast<CryptoPP::byte*>(digest.data()),
                                       reinterpret_cast<const CryptoPP::byte*>(seed.data()), seed.size());
    for (int i = 1; i < hashes; ++i) {
        Bytes next(digest.size(), '\0');
        CryptoPP::SHA256().CalculateDigest(reinterpret_cast<CryptoPP::byte*>(next.data()),
                                           reinterpret_cast<const CryptoPP::byte*>(digest.data()), digest.size());
        digest.swap(next);
    }
    return digest;
}

void ApplyCounterMode(const Bytes& key, const Bytes& counter, Bytes& data)
{
    if (key.size() != 32 || counter.size() < std::size_t(fmt::kCounterSize)) {
        throw Error("internal error: bad key or counter size");
    }
    CryptoPP::CTR_Mode<CryptoPP::AES>::Encryption cipher;
    cipher.SetKeyWithIV(reinterpret_cast<const CryptoPP::byte*>(key.data()), key.size(),
                        reinterpret_cast<const CryptoPP::byte*>(counter.data()), fmt::kCounterSize);
    auto* bytes = reinterpret_cast<CryptoPP::byte*>(data.data());
    cipher.ProcessData(bytes, bytes, data.size());
}

Bytes GzipCompress(const Bytes& data)
{
    z_stream stream{};
    // windowBits 15 + 16 asks zlib for one gzip member with a plain header (no name, no comment).
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw Error("cannot start the gzip compressor");
    }
    Bytes out(deflateBound(&stream, uLong(data.size())) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    const std::size_t produced = out.size() - stream.avail_out;
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw Error("gzip compression failed");
    }
    out.resize(produced);
    return out;
}

Bytes EncodeEntry(std::int32_t method, const Bytes& data, const RandomSource& random)
{
    switch (method) {
    case fmt::kMethodStored:
        return data;
    case fmt::kMethodCompressed:
        return GzipCompress(data);
    case fmt::kMethodEnciphered:
    case fmt::kMethodEncipheredCompressed: {
        const Bytes keyBlock = RandomBytes(random, fmt::kEntryKeyBlockSize);
        Bytes payload = method == fmt::kMethodEnciphered ? data : GzipCompress(data);
        const Bytes key = DeriveKey(keyBlock.substr(0, 2 * fmt::kSeedSize), fmt::kEntryKeyHashes);
        ApplyCounterMode(key, keyBlock.substr(2 * fmt::kSeedSize), payload);
        return keyBlock + payload;
    }
    default:
        throw Error("unknown storage method " + std::to_string(method));
    }
}

Bytes SerializeArchive(const Bytes& counterBlock, const Bytes& seed, const Bytes& tablePlain, const Bytes& data)
{
    if (counterBlock.size() != std::size_t(fmt::kCounterBlockSize) || seed.size() != std::size_t(fmt::kSeedSize)) {
        throw Error("internal error: bad counter block or seed size");
    }
    Bytes table = tablePlain;
    ApplyCounterMode(DeriveKey(seed, fmt::kTableKeyHashes), counterBlock, table);
    Bytes image(fmt::kFileMagic, fmt::kFileMagicSize);
    AppendUInt32(image, std::uint32_t(table.size()));
    image += counterBlock;
    image += seed;
    image += table;
    image += data;
    return image;
}

void WriteFileAtomically(const std::string& path, const Bytes& bytes,
                         const std::function<void(const std::string& tempPath)>& beforeRename)
{
    // The engine's replacing write does the temporary file, flush and rename; a failed check
    // unwinds through the stream, which then removes the temporary file and leaves the target.
    std::unique_ptr<korvane::CFileStream> stream;
    try {
        stream = std::make_unique<korvane::CFileStream>(path, 0, 0);
    } catch (const korvane::EException&) {
        throw Error("cannot create a temporary file beside '" + path + "': " + os::system::GetLastErrorText());
    }
    try {
        for (std::size_t done = 0; done < bytes.size();) {
            const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 1u << 30);
            stream->Write(bytes.data() + done, static_cast<std::int32_t>(chunk));
            done += chunk;
        }
        if (beforeRename) {
            beforeRename(stream->GetPendingPath());
        }
        stream->Close();
    } catch (const korvane::EException& error) {
        throw Error("cannot write '" + path + "': " + error.GetMessage());
    }
}

Bytes ReadWholeFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw Error(SystemError("cannot open", path, errno));
    }
    Bytes bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            close(fd);
            throw Error(SystemError("cannot read", path, error));
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, std::size_t(got));
    }
    close(fd);
    return bytes;
}

} // namespace kvatool
