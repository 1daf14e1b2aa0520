/** @file ArchiveKnownAnswerTest.cpp An archive computed outside the project (hashlib and openssl) read and rebuilt byte for byte. */
#include <numeric>

#include "ArchiveTestSupport.h"

using namespace archive_test;

namespace
{

// Table seed 00..1f; table counter 0102030405060708ffffffffffffffff, so the second block's
// counter carries into the high half; entry key block 40..7f (seeds) with the counter
// 00112233445566778899aabbfffffffe. Keys: SHA-256 applied 382 and 128 times. Ciphertext
// from "openssl enc -aes-256-ctr"; record CRCs from Python's zlib.crc32, the common CRC-32 taken
// over the name and then the fields, which the reader checks on opening.
const char* const kKnownArchiveHex =
    "4b6f7276616e6541726346696e655a0000000102030405060708ffffffffffffffffe0e1e2e3e4e5e6e7e8e9eaebeced"
    "eeef000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f771e061f126e91e632b4a736e296"
    "b1d01a1904dba293b6f37942556f347df91bd750799f3bd889809eef36a1eb43ef3c9b5ccd96d59f308cf690a5ff50f5"
    "09bad6ea7921149a3938bd7054c0446f65670123e0b3fa0fa3da6297404142434445464748494a4b4c4d4e4f50515253"
    "5455565758595a5b5c5d5e5f606162636465666768696a6b6c6d6e6f707172737475767778797a7b7c7d7e7f00112233"
    "445566778899aabbfffffffe00000000000000000000000000000000c2f97546efbccfd4949b568b14b6f3af628a1a39"
    "cc0620b18a41a64e4ad9264f27aacb05cf3821e4b5adf7ad0d8226d43baf6b013f16ee61c668ad8a49391b5d70c5e224"
    "5e36d26066bd186c0d2637b6b7967bff68917645aa01fd4c50e51b4908e15dab550f73746f72656421";

const Bytes kSentence = "Known answer: counter carries across the low bytes.";
const Bytes kPlain = kSentence + kSentence;

Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(char(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

Bytes Sequence(int first, std::size_t count)
{
    Bytes bytes(count, '\0');
    std::iota(bytes.begin(), bytes.end(), char(first));
    return bytes;
}

} // namespace

TEST(ArchiveKnownAnswer, TheReaderDecodesAnIndependentlyMadeArchiveAndTheToolWritesTheSameBytes)
{
    korvane::test::TempDir dir;
    CArchiveFileLoader archive;
    archive.Open(dir.Write("known.kva", FromHex(kKnownArchiveHex)));
    const korvane::CArchiveFileEntryHeader* known = archive.GetEntry(0);
    EXPECT_EQ(std::tuple(known->GetName(), known->GetMethod(), known->GetAuxiliary(), archive.GetDataBase()),
              std::tuple("Docs\\Known.TXT", 0x100, 102, 82 + 0x5A));
    EXPECT_EQ(ReadAll(archive.OpenEntry("docs\\known.txt")) + ReadAll(archive.OpenEntry("S.BIN")), kPlain + "stored!");
    // The tool writes the same bytes.
    const Bytes keyBlock = Sequence(0x40, 64) + FromHex("00112233445566778899aabbfffffffe") + Bytes(16, '\0');
    const Bytes entry = kvatool::EncodeEntry(0x100, kPlain, [&keyBlock](std::uint8_t* buffer, std::size_t size) {
        ASSERT_EQ(size, keyBlock.size());
        std::copy(keyBlock.begin(), keyBlock.end(), buffer);
    });
    const std::int32_t size = std::int32_t(entry.size());
    const kvatool::Record knownRecord{"Docs\\Known.TXT", 0, size, 0x100, std::int32_t(kPlain.size()), {}};
    const kvatool::Record stored{"s.bin", size, 7, 0, 7, {}};
    const Bytes counter = FromHex("0102030405060708ffffffffffffffff") + Sequence(0xE0, 16);
    const Bytes table = kvatool::EncodeTable({knownRecord, stored});
    EXPECT_EQ(kvatool::SerializeArchive(counter, Sequence(0, 32), table, entry + "stored!"), FromHex(kKnownArchiveHex));
}
