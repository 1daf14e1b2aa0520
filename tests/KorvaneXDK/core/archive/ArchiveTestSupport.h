/** @file ArchiveTestSupport.h Helpers shared by the archive tests: packing folders, crafting archives, reading streams. */
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KorvaneXDK/core/ArchiveFormat.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "support/TempDir.h"
#include "tools/kvatool/ArchiveFormatWriter.h"
#include "tools/kvatool/Packer.h"

namespace archive_test {

using kvatool::Bytes;

/// The whole contents of a stream from its current position.
inline Bytes ReadAll(korvane::IKorvaneStream& stream)
{
    Bytes bytes;
    char buffer[4096];
    for (;;) {
        const std::int32_t got = stream.Read(buffer, sizeof buffer);
        if (got <= 0) {
            return bytes;
        }
        bytes.append(buffer, std::size_t(got));
    }
}

inline Bytes ReadAll(korvane::IKorvaneStream* stream)
{
    std::unique_ptr<korvane::IKorvaneStream> owned(stream);
    return ReadAll(*owned);
}

/// A repeatable random source: byte i of the whole sequence is (seed + i * 7) mod 256.
inline kvatool::RandomSource CountingRandom(std::uint8_t seed = 1)
{
    auto next = std::make_shared<std::uint8_t>(seed);
    return [next](std::uint8_t* buffer, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            buffer[i] = *next;
            *next = std::uint8_t(*next + 7);
        }
    };
}

/// An entry of a crafted archive: its stored bytes and record (offset filled in when negative).
struct CraftedEntry
{
    kvatool::Record record;
    Bytes stored;
};

/// Stores entries back to back and returns the archive image; records keep any offset, size
/// or CRC a test set, and get the real ones otherwise (offset -1 and size -1 mean "compute").
inline Bytes CraftArchive(std::vector<CraftedEntry> entries)
{
    Bytes data;
    std::vector<kvatool::Record> records;
    for (CraftedEntry& entry : entries) {
        if (entry.record.offset == -1) {
            entry.record.offset = std::int32_t(data.size());
        }
        if (entry.record.size == -1) {
            entry.record.size = std::int32_t(entry.stored.size());
        }
        data += entry.stored;
        records.push_back(entry.record);
    }
    auto random = CountingRandom(99);
    return kvatool::SerializeArchive(kvatool::RandomBytes(random, 32), kvatool::RandomBytes(random, 32),
                                     kvatool::EncodeTable(records), data);
}

/// An archive image from a deciphered table as given (however broken) and a data area.
inline Bytes CraftRaw(const Bytes& tablePlain, const Bytes& data)
{
    auto random = CountingRandom(99);
    return kvatool::SerializeArchive(kvatool::RandomBytes(random, 32), kvatool::RandomBytes(random, 32), tablePlain,
                                     data);
}

/// Writes a little-endian 32-bit value into bytes at an offset.
inline void PutUInt32(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[offset + std::size_t(i)] = char((value >> (8 * i)) & 0xFF);
    }
}

/// One crafted entry holding `data` under a method, with the real offset and size.
inline CraftedEntry MakeEntry(const std::string& name, std::int32_t method, const Bytes& data)
{
    CraftedEntry entry;
    entry.record.name = name;
    entry.record.offset = -1;
    entry.record.size = -1;
    entry.record.method = method;
    entry.record.auxiliary = std::int32_t(data.size());
    entry.stored = kvatool::EncodeEntry(method, data, CountingRandom(5));
    return entry;
}

/// Runs `call` and returns the message of the engine exception of type E it throws
/// ("<no exception>" when it throws none).
template <typename E> std::string MessageOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const E& error) {
        return error.GetMessage();
    }
    return "<no exception>";
}

template <typename E> std::string WhereOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const E& error) {
        return error.GetWhere();
    }
    return "<no exception>";
}

/// Bytes whose content is easy to tell apart: "<tag>:" then a counting pattern.
inline Bytes Pattern(const std::string& tag, std::size_t size)
{
    Bytes bytes = tag + ":";
    for (std::size_t i = 0; bytes.size() < size; ++i) {
        bytes.push_back(char('a' + (i * 31 + i / 7) % 26));
    }
    bytes.resize(size);
    return bytes;
}

} // namespace archive_test
