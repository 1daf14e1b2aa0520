/** @file RIFFTest.cpp RIFF and RIFX files written and read back, and corrupt chunk tables. */
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/RIFFReader.h"
#include "KorvaneXDK/core/RIFFWriter.h"
#include "StreamTestSupport.h"
#include "support/TempDir.h"

using namespace korvane;
using korvane::test::Contents;
using korvane::test::Le32;
using korvane::test::MakeMemory;

namespace {

std::string ReadChunk(CRIFFReader& reader, const char (&id)[5])
{
    reader.FindChunk(MakeFourCC(id));
    std::string data(static_cast<std::size_t>(reader.GetChunkSize()), '\0');
    EXPECT_EQ(reader.Read(data.data(), reader.GetChunkSize()), reader.GetChunkSize());
    return data;
}

} // namespace

TEST(RIFF, FourCharacterCodes)
{
    static_assert(MakeFourCC("RIFF") == 0x46464952u);
    static_assert(MakeFourCC('g', 'l', 'p', 't') == 0x74706C67u);
    static_assert(MakeFourCC(0x12345678u) == 0x12345678u);
}

TEST(RIFF, OneThreeByteChunkIsTwentyThreeBytes)
{
    CRIFFWriter writer;
    EXPECT_EQ(writer.SetFormType(MakeFourCC("TEST")), MakeFourCC("TEST"));
    writer.AddChunk(MakeFourCC("abcd"), "xyz", 3);
    CMemoryStream out;
    EXPECT_EQ(writer.WriteTo(out), 11);
    EXPECT_EQ(Contents(out), "RIFF" + Le32(15) + "TEST" + "abcd" + Le32(3) + "xyz");
}

TEST(RIFF, RoundTripInBothByteOrdersThroughFiles)
{
    test::TempDir dir;
    for (std::int32_t order : {0, 1, 2})
    {
        CRIFFWriter writer;
        writer.SetByteOrder(order);
        writer.SetFormType(MakeFourCC("KVFT"));
        writer.AddChunk(MakeFourCC("odd1"), "abc", 3);            // odd size, no pad follows
        CMemoryStream glyphs = MakeMemory(std::string("\x01\x02\x03\x04\x05\x00\x07", 7));
        glyphs.Seek(5);                                           // AddChunk rewinds the data stream
        writer.AddChunk(MakeFourCC("glpt"), glyphs);
        writer.AddChunk(MakeFourCC("empt"), nullptr, 0);
        writer.AddChunk(MakeFourCC("head"), "0123456789", 10);
        const std::string path = dir.File("font" + std::to_string(order) + ".kvf");
        {
            CFileStream file(path, 0, 0);
            writer.WriteTo(file);
        }
        const std::string bytes = test::TempDir::Read(path);
        ASSERT_EQ(bytes.size(), 12u + 8 + 3 + 8 + 7 + 8 + 0 + 8 + 10);
        if (order == 2)
        {
            EXPECT_EQ(bytes.substr(0, 8), std::string("RIFX\x00\x00\x00\x38", 8));
            EXPECT_EQ(bytes.substr(8, 12), std::string("KVFTodd1\x00\x00\x00\x03", 12));
        }
        else
            EXPECT_EQ(bytes.substr(0, 20), "RIFF" + Le32(56) + "KVFTodd1" + Le32(3));

        CRIFFReader reader;
        reader.Open(boost::make_shared<CFileStream>(path, 1, 1));
        EXPECT_EQ(reader.IsBigEndian(), order == 2);
        EXPECT_EQ(reader.GetFormType(), MakeFourCC("KVFT"));
        EXPECT_EQ(reader.GetChunkSize(), 0);
        EXPECT_EQ(ReadChunk(reader, "head"), "0123456789");
        EXPECT_EQ(ReadChunk(reader, "odd1"), "abc");
        EXPECT_EQ(ReadChunk(reader, "glpt"), std::string("\x01\x02\x03\x04\x05\x00\x07", 7));
        EXPECT_EQ(ReadChunk(reader, "empt"), "");
    }
}

TEST(RIFF, AChunkThatCannotBeAddedWholeLeavesNoTrace)
{
    CRIFFWriter writer;
    writer.SetFormType(MakeFourCC("PREF"));
    writer.AddChunk(MakeFourCC("one "), "1", 1);
    test::StingyStream failing(std::string(20000, 'f'), INT32_MAX, 10000);
    EXPECT_THROW(writer.AddChunk(MakeFourCC("bad "), failing), EReadError);
    writer.AddChunk(MakeFourCC("two "), "22", 2);
    CMemoryStream out;
    EXPECT_EQ(writer.WriteTo(out), 9 + 10);
    EXPECT_EQ(Contents(out), "RIFF" + Le32(23) + "PREF" + "one " + Le32(1) + "1" + "two " + Le32(2) + "22");
}

TEST(RIFF, ChunkReadsStopAtTheChunkEnd)
{
    CMemoryStream file = MakeMemory("RIFF" + Le32(4 + 8 + 10 + 8 + 2) + "FORM" + "ten " + Le32(10) + "0123456789" +
                                    "next" + Le32(2) + "NN");
    CRIFFReader reader;
    reader.Open(&file);
    reader.FindChunk(MakeFourCC("ten "));
    char buffer[100];
    EXPECT_EQ(reader.Read(buffer, 100), 10);
    EXPECT_EQ(reader.GetChunkPosition(), 10);
    EXPECT_EQ(reader.Read(buffer, 100), 0);
    EXPECT_EQ(reader.Read(buffer, -1), 0);
}

TEST(RIFF, LaterChunkWithTheSameIdWins)
{
    CMemoryStream file = MakeMemory("RIFF" + Le32(4 + 9 + 9) + "FORM" + "dupe" + Le32(1) + "A" + "dupe" + Le32(1) + "B");
    CRIFFReader reader;
    reader.Open(&file);
    char c = 0;
    reader.FindChunk(MakeFourCC("dupe"));
    reader.Read(&c, 1);
    EXPECT_EQ(c, 'B');
}

TEST(RIFF, PaddedChunksFromOtherWritersAreAccepted)
{
    CMemoryStream file = MakeMemory("RIFF" + Le32(4 + 9 + 1 + 10) + "WAVE" + "LIST" + Le32(1) + "L" + std::string(1, '\0') +
                                    "data" + Le32(2) + "DD");
    CRIFFReader reader;
    reader.Open(&file);
    EXPECT_EQ(ReadChunk(reader, "data"), "DD");
}

TEST(RIFF, ErrorsCarryTheirTexts)
{
    CMemoryStream notRiff = MakeMemory("RIFZ" + Le32(4) + "FORM");
    CRIFFReader reader;
    try
    {
        reader.Open(&notRiff);
        FAIL();
    }
    catch (const EInvalidFileFormat& error)
    {
        EXPECT_EQ(error.GetMessage(), "file format error: not RIFF header.");
        EXPECT_EQ(error.GetWhere(), "class korvane::CRIFFReader");
    }

    CMemoryStream empty = MakeMemory("RIFF" + Le32(4) + "FORM");
    reader.Open(&empty);
    try
    {
        reader.FindChunk(MakeFourCC("glpt"));
        FAIL();
    }
    catch (const EReadError& error)
    {
        EXPECT_EQ(error.GetMessage(), "chunk not found - \"glpt\"(0x74706C67)");
    }
}

// Corrupt tables must end the walk promptly and never index beyond the data.
TEST(RIFF, CorruptTablesEndTheWalk)
{
    constexpr std::int32_t kAbsent = -1;
    constexpr std::int32_t kFails = -2;
    struct Case
    {
        const char* name;
        std::string bytes;
        std::int32_t dataSize;   ///< the size the "data" chunk is indexed with
    };
    const Case cases[] = {
        {"chunk size -8", "RIFF" + Le32(0x7FFFFFFF) + "FORM" + "back" + Le32(0xFFFFFFF8) + "xxxxxxxxxxxx", kAbsent},
        {"chunk size -100", "RIFF" + Le32(100) + "FORM" + "back" + Le32(0xFFFFFF9C) + "abcd" + Le32(0), kAbsent},
        {"riff size max", "RIFF" + Le32(0xFFFFFFFF) + "FORM" + "data" + Le32(4) + "abcd", 4},
        {"chunk past end", "RIFF" + Le32(40) + "FORM" + "data" + Le32(0x7FFFFFF0) + "abcd", 4},
        {"chunk past riff end", "RIFF" + Le32(4 + 8 + 100) + "FORM" + "data" + Le32(100) + "abcd", 4},
        {"cut header", "RIFF" + Le32(20) + "FORM" + "data" + Le32(1) + "a" + "cut!" + "\x05", 1},
        {"only file id", "RIFF", kAbsent},
        {"empty", "", kFails},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CMemoryStream file = MakeMemory(c.bytes);
        CRIFFReader reader;
        try
        {
            reader.Open(&file);
        }
        catch (const EInvalidFileFormat&)
        {
            EXPECT_EQ(c.dataSize, kFails);
            continue;
        }
        EXPECT_FALSE(reader.HasChunk(MakeFourCC("cut!")));
        if (c.dataSize == kAbsent)
        {
            EXPECT_FALSE(reader.HasChunk(MakeFourCC("data")));
            continue;
        }
        ASSERT_EQ(ReadChunk(reader, "data").size(), static_cast<std::size_t>(c.dataSize));
    }
}
