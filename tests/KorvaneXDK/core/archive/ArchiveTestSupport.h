/** @file ArchiveTestSupport.h Helpers shared by the archive tests: crafting archives, reading streams and loaders. */
#pragma once

#include <gtest/gtest.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/DataLoaderChain.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace archive_test
{

using korvane::CArchiveFileLoader;
using kvatool::Bytes;
using ArchiveLoader = korvane::TArchiveFileDataLoader<CArchiveFileLoader>;
using Names = std::vector<std::string>;
/// An engine exception's message and where.
using Failure = std::pair<std::string, std::string>;

/// The whole contents of a freshly opened stream, in one read.
inline Bytes ReadAll(korvane::IKorvaneStream& stream)
{
    Bytes bytes(std::size_t(stream.GetSize()), '\0');
    bytes.resize(std::size_t(std::max(0, stream.Read(bytes.data(), stream.GetSize()))));
    return bytes;
}

inline Bytes ReadAll(korvane::IKorvaneStream* stream)
{
    std::unique_ptr<korvane::IKorvaneStream> owned(stream);
    return ReadAll(*owned);
}

/// A repeatable random source: byte i of the whole sequence is (seed + i * 7) mod 256.
inline kvatool::RandomSource CountingRandom(std::uint8_t seed)
{
    auto next = std::make_shared<std::uint8_t>(seed);
    return [next](std::uint8_t* buffer, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i, *next = std::uint8_t(*next + 7))
            buffer[i] = *next;
    };
}

/// An entry of a crafted archive: its record (offset or size -1: computed) and stored bytes.
struct CraftedEntry
{
    kvatool::Record record;
    Bytes stored;
};

/// An archive image from a deciphered table as given (however broken) and a data area.
inline Bytes CraftRaw(const Bytes& tablePlain, const Bytes& data)
{
    auto random = CountingRandom(99);
    return kvatool::SerializeArchive(kvatool::RandomBytes(random, 32), kvatool::RandomBytes(random, 32), tablePlain,
                                     data);
}

/// Stores entries back to back; records keep any offset, size or CRC a test set.
inline Bytes CraftArchive(std::vector<CraftedEntry> entries)
{
    Bytes data;
    std::vector<kvatool::Record> records;
    for (CraftedEntry& entry : entries) {
        entry.record.offset = entry.record.offset == -1 ? std::int32_t(data.size()) : entry.record.offset;
        entry.record.size = entry.record.size == -1 ? std::int32_t(entry.stored.size()) : entry.record.size;
        data += entry.stored;
        records.push_back(entry.record);
    }
    return CraftRaw(kvatool::EncodeTable(records), data);
}

/// One crafted entry holding `data` under a method, with the real offset and size.
inline CraftedEntry MakeEntry(const std::string& name, std::int32_t method, const Bytes& data)
{
    const kvatool::Record record{name, -1, -1, method, std::int32_t(data.size()), {}};
    return {record, kvatool::EncodeEntry(method, data, CountingRandom(5))};
}

/// The loader chain holding the given loaders in order.
inline std::unique_ptr<CDataLoaderChain> ChainOf(const std::vector<korvane::IDataLoader*>& loaders)
{
    auto chain = std::make_unique<CDataLoaderChain>();
    for (korvane::IDataLoader* loader : loaders)
        chain->Add(boost::shared_ptr<korvane::IDataLoader>(loader));
    return chain;
}

/// A loader's listing of a folder, appended to `names`.
inline Names List(korvane::IDataLoader& loader, const std::string& folder, bool recursive, Names names = {})
{
    loader.EnumerateFiles(folder, recursive, names);
    return names;
}

/// The message and where of the engine exception of type E that `call` throws (.first: the message).
template <typename E>
Failure Caught(const std::function<void()>& call)
{
    try {
        call();
    } catch (const E& error) {
        return {error.GetMessage(), error.GetWhere()};
    }
    return {"<no exception>", ""};
}

/// Bytes whose content is easy to tell apart: "<tag>:" then a counting pattern.
inline Bytes Pattern(const std::string& tag, std::size_t size)
{
    Bytes bytes = tag + ":";
    for (std::size_t i = 0; bytes.size() < size; ++i)
        bytes.push_back(char('a' + (i * 31 + i / 7) % 26));
    bytes.resize(size);
    return bytes;
}

} // namespace archive_test
