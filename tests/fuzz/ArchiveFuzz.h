/** @file ArchiveFuzz.h Reading a whole archive file as a game would: every entry opened and read. */
#pragma once

#include <cryptopp/cryptlib.h>

#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/Exception.h"

namespace fuzz
{

inline void ReadArchive(const std::string& path)
{
    korvane::CArchiveFileLoader loader;
    // Enough for any entry the inputs can describe, small enough to keep runs fast.
    loader.SetDecodedSizeLimit(16 << 20);
    try {
        loader.Open(path);
    } catch (const korvane::EException&) {
        return;
    }
    for (std::int32_t i = 0; i < loader.GetEntryCount(); ++i) {
        const std::string name = loader.GetEntry(i)->GetName();
        Check(loader.Exists(name), "a listed entry does not exist");
        try {
            std::unique_ptr<korvane::IKorvaneStream> entry(loader.OpenEntry(name));
            const std::string bytes = ReadAll(*entry);
            Check(static_cast<std::int64_t>(bytes.size()) == entry->GetSize(), "an entry reads other than its size");
        } catch (const korvane::EException&) {
        } catch (const CryptoPP::Exception&) {
            // The decompressor's own failures pass through OpenEntry as they are.
        }
    }
}

} // namespace fuzz
