/** @file ArchiveFileLoader.cpp Reading the data archive: header, enciphered table and the four storage methods. */
#include "KorvaneXDK/core/ArchiveFileLoader.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <cryptopp/aes.h>
#include <cryptopp/gzip.h>
#include <cryptopp/modes.h>
#include <cryptopp/secblock.h>
#include <cryptopp/sha.h>

#include "KorvaneXDK/core/ArchiveFormat.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePartitionStream.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "os/system/ByteReader.h"

namespace korvane
{

namespace
{

constexpr char kTableError[] = "invalid archive file entry header";
constexpr char kRangeError[] = "file entry out of range";

// Deciphering and decompressing in pieces of this size keeps the working set in cache and
// bounds how much output one piece of gzip input can produce before the size cap is checked.
constexpr std::size_t kPieceSize = 16 * 1024;

/// Reads exactly `count` bytes or fails: a window that runs short means the file changed
/// or lies about its entries.
void ReadFully(IKorvaneStream& stream, std::uint8_t* buffer, std::int32_t count, const CObject* sender)
{
    std::int32_t done = 0;
    while (done < count) {
        const std::int32_t got = stream.Read(buffer + done, count - done);
        if (got <= 0) {
            throw EInvalidFileFormat(sender, kRangeError);
        }
        done += got;
    }
}

/// digest = SHA-256(seed), then digest = SHA-256(digest) until `hashes` computations are done.
CryptoPP::SecByteBlock DeriveKey(const std::uint8_t* seed, std::size_t seedSize, int hashes)
{
    CryptoPP::SHA256 sha;
    CryptoPP::SecByteBlock key(CryptoPP::SHA256::DIGESTSIZE);
    CryptoPP::SecByteBlock next(CryptoPP::SHA256::DIGESTSIZE);
    sha.CalculateDigest(key, seed, seedSize);
    for (int i = 1; i < hashes; ++i) {
        sha.CalculateDigest(next, key, key.size());
        key.swap(next);
    }
    return key;
}

/// AES-256 in counter mode over `counter` (big-endian, 128 bits); enciphers and deciphers alike.
class CounterCipher
{
public:
    CounterCipher(const CryptoPP::SecByteBlock& key, const std::uint8_t* counter)
    {
        cipher_.SetKeyWithIV(key, key.size(), counter, archive::kCounterSize);
    }
    void Process(std::uint8_t* data, std::size_t size) { cipher_.ProcessData(data, data, size); }

private:
    CryptoPP::CTR_Mode<CryptoPP::AES>::Encryption cipher_;
};

/// Gunzip fed in pieces whose output goes straight into a memory stream, refusing output past
/// the size cap before it is stored.
class CappedGunzip
{
public:
    CappedGunzip(const CObject* sender, std::int64_t limit, std::int64_t storedSize, std::int32_t sizeHint)
        : sender_(sender), limit_(limit), output_(new CMemoryStream())
    {
        // The hint is the record's unchecked fourth value: trust it only as far as the
        // stored bytes could really expand (deflate reaches at most about 1032:1).
        const std::int64_t plausible = storedSize * 1032 + 1024;
        if (sizeHint > 0) {
            Reserve(std::min<std::int64_t>({std::int64_t(sizeHint), plausible, limit_}), true);
        }
    }

    void Put(const std::uint8_t* data, std::size_t size)
    {
        while (size > 0) {
            const std::size_t piece = std::min(size, kPieceSize);
            gunzip_.Put(data, piece);
            Drain();
            data += piece;
            size -= piece;
        }
    }

    IKorvaneStream* Finish()
    {
        gunzip_.MessageEnd();
        // Only the first gzip member is the entry: whatever follows it comes out as a further
        // message, which is never taken.
        Drain();
        output_->SetSize(static_cast<std::int32_t>(used_));
        output_->Seek(0);
        return output_.release();
    }

private:
    void Drain()
    {
        for (;;) {
            const CryptoPP::lword available = gunzip_.MaxRetrievable();
            if (available == 0) {
                return;
            }
            if (available > CryptoPP::lword(limit_ - used_)) {
                throw EInvalidFileFormat(sender_, "decompressed entry exceeds the size limit");
            }
            Reserve(used_ + std::int64_t(available), false);
            const std::size_t got = gunzip_.Get(output_->GetBuffer() + used_, std::size_t(available));
            used_ += std::int64_t(got);
        }
    }

    void Reserve(std::int64_t needed, bool exact)
    {
        if (needed <= capacity_) {
            return;
        }
        std::int64_t capacity = needed;
        if (!exact) {
            capacity = std::min(std::max({needed, capacity_ * 2, std::int64_t(64 * 1024)}), limit_);
        }
        output_->SetSize(static_cast<std::int32_t>(capacity));
        if (output_->GetSize() != capacity) {
            throw EReadError(sender_, "not enough memory to decode an archive entry");
        }
        capacity_ = capacity;
    }

    const CObject* sender_;
    std::int64_t limit_;
    CryptoPP::Gunzip gunzip_;
    std::unique_ptr<CMemoryStream> output_;
    std::int64_t used_ = 0;
    std::int64_t capacity_ = 0;
};

} // namespace

CArchiveFileLoader::CArchiveFileLoader() = default;

CArchiveFileLoader::~CArchiveFileLoader() = default;

void CArchiveFileLoader::Reset()
{
    entries_.Clear();
    map_.clear();
    dataBase_ = 0;
    fileSize_ = 0;
}

void CArchiveFileLoader::Open(const std::string& path)
{
    Reset();
    path_ = path;
    try {
        CFileStream file(path, 1, 1);

        char magic[archive::kFileMagicSize];
        if (file.Read(magic, archive::kFileMagicSize) != archive::kFileMagicSize ||
            std::memcmp(magic, archive::kFileMagic, archive::kFileMagicSize) != 0) {
            throw EInvalidFileFormat(this, "file header error");
        }

        std::uint8_t lengthBytes[4];
        CryptoPP::SecByteBlock counter(archive::kCounterBlockSize);
        CryptoPP::SecByteBlock seed(archive::kSeedSize);
        const std::int64_t fileSize = file.GetSize();
        if (file.Read(lengthBytes, 4) != 4 ||
            file.Read(counter, archive::kCounterBlockSize) != archive::kCounterBlockSize ||
            file.Read(seed, archive::kSeedSize) != archive::kSeedSize) {
            throw EInvalidFileFormat(&entries_, kTableError);
        }
        const std::uint32_t tableLength = os::system::ByteReader(lengthBytes, sizeof lengthBytes).ReadU32();
        // The table must lie inside the file before anything is allocated for it.
        if (std::int64_t(tableLength) > fileSize - archive::kHeaderSize) {
            throw EInvalidFileFormat(&entries_, kTableError);
        }

        CryptoPP::SecByteBlock table(tableLength);
        ReadFully(file, table, static_cast<std::int32_t>(tableLength), &entries_);
        {
            const CryptoPP::SecByteBlock key = DeriveKey(seed, seed.size(), archive::kTableKeyHashes);
            CounterCipher cipher(key, counter);
            cipher.Process(table, table.size());
        }
        entries_.Read(table, table.size());

        dataBase_ = file.GetPosition();
        fileSize_ = fileSize;
        for (const CArchiveFileEntryHeader& entry : entries_) {
            map_[ToLowerString(entry.GetName())] = CArchiveEntryHeader(entry);
        }
    } catch (...) {
        Reset();
        throw;
    }
}

void CArchiveFileLoader::SetDecodedSizeLimit(std::int64_t bytes)
{
    decodedSizeLimit_ = std::clamp<std::int64_t>(bytes, 0, archive::kMaxDecodedEntrySize);
}

std::int32_t CArchiveFileLoader::GetEntryCount() const
{
    return static_cast<std::int32_t>(entries_.GetCount());
}

const CArchiveFileEntryHeader* CArchiveFileLoader::GetEntry(std::int32_t index) const
{
    if (index < 0 || std::size_t(index) >= entries_.GetCount()) {
        throw EInvalidParameter(this, "archive entry index out of range: " + IntToString(index));
    }
    return &entries_[std::size_t(index)];
}

bool CArchiveFileLoader::Exists(const std::string& name) const
{
    return map_.find(ToLowerString(name)) != map_.end();
}

IKorvaneStream* CArchiveFileLoader::OpenEntry(const std::string& name) const
{
    const auto found = map_.find(ToLowerString(name));
    if (found == map_.end()) {
        throw EFileOpenError(this, "file entry not found: \"" + name + "\"");
    }
    const CArchiveEntryHeader& entry = found->second;
    switch (entry.GetMethod()) {
    case archive::kMethodStored:
        return OpenStoredEntry(entry);
    case archive::kMethodCompressed:
        return OpenCompressedEntry(entry);
    case archive::kMethodEnciphered:
        return OpenEncipheredEntry(entry);
    case archive::kMethodEncipheredCompressed:
        return OpenEncipheredCompressedEntry(entry);
    default:
        throw ENotImplemented(this, "not implemented format");
    }
}

void CArchiveFileLoader::CheckRange(const CArchiveEntryHeader& entry) const
{
    if (entry.GetOffset() < 0 || entry.GetSize() < 0 ||
        std::int64_t(dataBase_) + entry.GetOffset() + entry.GetSize() > fileSize_) {
        throw EInvalidFileFormat(this, kRangeError);
    }
}

IKorvaneStream* CArchiveFileLoader::OpenStoredEntry(const CArchiveEntryHeader& entry) const
{
    CheckRange(entry);
    return new CFilePartitionStream(path_, dataBase_ + entry.GetOffset(), entry.GetSize());
}

IKorvaneStream* CArchiveFileLoader::OpenCompressedEntry(const CArchiveEntryHeader& entry) const
{
    CheckRange(entry);
    std::unique_ptr<std::uint8_t[]> stored(new std::uint8_t[std::size_t(entry.GetSize()) + 1]);
    {
        CFilePartitionStream window(path_, dataBase_ + entry.GetOffset(), entry.GetSize());
        ReadFully(window, stored.get(), entry.GetSize(), this);
    }
    CappedGunzip gunzip(this, decodedSizeLimit_, entry.GetSize(), entry.GetAuxiliary());
    gunzip.Put(stored.get(), std::size_t(entry.GetSize()));
    return gunzip.Finish();
}

IKorvaneStream* CArchiveFileLoader::OpenEncipheredEntry(const CArchiveEntryHeader& entry) const
{
    CheckRange(entry);
    if (entry.GetSize() < archive::kEntryKeyBlockSize) {
        throw EInvalidFileFormat(this, "enciphered entry is shorter than its key block");
    }
    CFilePartitionStream window(path_, dataBase_ + entry.GetOffset(), entry.GetSize());
    CryptoPP::SecByteBlock keyBlock(archive::kEntryKeyBlockSize);
    ReadFully(window, keyBlock, archive::kEntryKeyBlockSize, this);

    const std::int32_t payload = entry.GetSize() - archive::kEntryKeyBlockSize;
    std::unique_ptr<CMemoryStream> result(new CMemoryStream());
    if (payload > 0) {
        result->SetSize(payload);
        if (result->GetSize() != payload) {
            throw EReadError(this, "not enough memory to decode an archive entry");
        }
        ReadFully(window, result->GetBuffer(), payload, this);
        const CryptoPP::SecByteBlock key = DeriveKey(keyBlock, 2 * archive::kSeedSize, archive::kEntryKeyHashes);
        CounterCipher cipher(key, keyBlock + 2 * archive::kSeedSize);
        cipher.Process(result->GetBuffer(), std::size_t(payload));
    }
    result->Seek(0);
    return result.release();
}

IKorvaneStream* CArchiveFileLoader::OpenEncipheredCompressedEntry(const CArchiveEntryHeader& entry) const
{
    CheckRange(entry);
    if (entry.GetSize() < archive::kEntryKeyBlockSize) {
        throw EInvalidFileFormat(this, "enciphered entry is shorter than its key block");
    }
    std::unique_ptr<std::uint8_t[]> stored(new std::uint8_t[std::size_t(entry.GetSize()) + 1]);
    {
        CFilePartitionStream window(path_, dataBase_ + entry.GetOffset(), entry.GetSize());
        ReadFully(window, stored.get(), entry.GetSize(), this);
    }
    const CryptoPP::SecByteBlock key = DeriveKey(stored.get(), 2 * archive::kSeedSize, archive::kEntryKeyHashes);
    CounterCipher cipher(key, stored.get() + 2 * archive::kSeedSize);
    std::uint8_t* payload = stored.get() + archive::kEntryKeyBlockSize;
    std::size_t left = std::size_t(entry.GetSize() - archive::kEntryKeyBlockSize);
    // The key block is key material: wipe it as soon as the key is made.
    std::memset(stored.get(), 0, archive::kEntryKeyBlockSize);

    CappedGunzip gunzip(this, decodedSizeLimit_, std::int64_t(left), entry.GetAuxiliary());
    // Decipher a piece and inflate it at once, while it is still in cache.
    constexpr std::size_t kCipherPiece = 4 * kPieceSize;
    while (left > 0) {
        const std::size_t piece = std::min(left, kCipherPiece);
        cipher.Process(payload, piece);
        gunzip.Put(payload, piece);
        payload += piece;
        left -= piece;
    }
    return gunzip.Finish();
}

} // namespace korvane
