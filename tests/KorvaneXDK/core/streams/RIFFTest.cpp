/** @file RIFFTest.cpp RIFF and RIFX files written and read back, and corrupt chunk tables. */
#include <boost/make_shared.hpp>

#include "KorvaneXDK/core/RIFFReader.h"
#include "KorvaneXDK/core/RIFFWriter.h"
#include "StreamTestSupport.h"

using namespace korvane;
using namespace korvane::test;

namespace
{
// Reads a chunk asking for more than it holds: every read stops at the chunk's end.
std::string ReadChunk(CRIFFReader& reader, const char (&id)[5])
{
    reader.FindChunk(MakeFourCC(id));
    const std::int32_t size = reader.GetChunkSize();
    std::string data(static_cast<std::size_t>(size) + 16, '\0');
    EXPECT_EQ((Ints{reader.Read(data.data(), size + 16), reader.GetChunkPosition(), reader.Read(data.data(), 16),
                    reader.Read(data.data(), -1)}),
              (Ints{size, size, 0, 0}));
    data.resize(static_cast<std::size_t>(size));
    return data;
}
} // namespace

TEST(RIFF, RoundTripInBothByteOrdersAChunkThatCannotBeAddedWholeLeavesNoTraceErrorsCarryTheirTextsAndTablesAreWalked)
{
    TempDir dir;
    for (std::int32_t order : {0, 1, 2}) {
        CRIFFWriter writer;
        writer.SetByteOrder(order);
        writer.SetFormType(MakeFourCC("KVFT"));
        writer.AddChunk(MakeFourCC("odd1"), "abc", 3); // odd size, no pad follows
        CMemoryStream glyphs = MakeMemory(std::string("\x01\x02\x03\x04\x05\x00\x07", 7));
        glyphs.Seek(5); // AddChunk rewinds the data stream
        writer.AddChunk(MakeFourCC("glpt"), glyphs);
        writer.AddChunk(MakeFourCC("empt"), nullptr, 0);
        writer.AddChunk(MakeFourCC("head"), "0123456789", 10);
        const std::string path = dir.File("font" + std::to_string(order) + ".kvf");
        {
            CFileStream file(path, 0, 0);
            writer.WriteTo(file);
        }
        const std::string bytes = TempDir::Read(path);
        ASSERT_EQ(bytes.size(), 12u + 8 + 3 + 8 + 7 + 8 + 0 + 8 + 10);
        EXPECT_EQ(bytes.substr(0, 20), order == 2 ? std::string("RIFX\0\0\0\x38KVFTodd1\0\0\0\x03", 20)
                                                  : "RIFF" + Le32(56) + "KVFTodd1" + Le32(3));
        CRIFFReader reader;
        reader.Open(boost::make_shared<CFileStream>(path, 1, 1));
        EXPECT_EQ(std::tuple(reader.IsBigEndian(), reader.GetFormType(), reader.GetChunkSize()),
                  std::tuple(order == 2, MakeFourCC("KVFT"), 0));
        EXPECT_EQ(ReadChunk(reader, "head") + ReadChunk(reader, "odd1") + ReadChunk(reader, "glpt") + "|" +
                      ReadChunk(reader, "empt"),
                  std::string("0123456789abc\x01\x02\x03\x04\x05\x00\x07|", 21));
    }
    // A chunk that cannot be added whole leaves no trace.
    CRIFFWriter writer;
    EXPECT_EQ(writer.SetFormType(MakeFourCC("PREF")), MakeFourCC("PREF"));
    writer.AddChunk(MakeFourCC("one "), "1", 1); // odd size, no pad follows
    StingyStream failing(std::string(20000, 'f'), INT32_MAX, 10000);
    EXPECT_THROW(writer.AddChunk(MakeFourCC("bad "), failing), EReadError);
    writer.AddChunk(MakeFourCC("two "), "22", 2);
    CMemoryStream out;
    EXPECT_EQ(writer.WriteTo(out), 9 + 10);
    EXPECT_EQ(Contents(out), "RIFF" + Le32(23) + "PREF" + "one " + Le32(1) + "1" + "two " + Le32(2) + "22");
    // The reader's texts for a file that is no RIFF and for a missing chunk, an empty file, a later
    // chunk of the same id, a huge RIFF size and a chunk past the end are the rows "other container
    // id", "no \"head\"", "empty file", "duplicate chunk: the last wins", "container size huge"
    // and "last chunk's size past the end" of PreferenceHostileTest.EachDamageLogsItsLinesAndApplies-
    // NoMoreThanItMay; chunks one after another, the round trip above. Tables from other writers are
    // read, and corrupt ones end the walk promptly without indexing beyond the data.
    // name, bytes, the "data" chunk as indexed ("-": absent)
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"padded odd chunk",
         "RIFF" + Le32(4 + 9 + 1 + 10) + "WAVE" + "LIST" + Le32(1) + "L" + std::string(1, '\0') + "data" + Le32(2) +
             "DD",
         "DD"},
        {"chunk size -8", "RIFF" + Le32(0x7FFFFFFF) + "FORM" + "back" + Le32(0xFFFFFFF8) + "xxxxxxxxxxxx", "-"},
        {"chunk size -100", "RIFF" + Le32(100) + "FORM" + "back" + Le32(0xFFFFFF9C) + "abcd" + Le32(0), "-"},
        {"chunk past end", "RIFF" + Le32(40) + "FORM" + "data" + Le32(0x7FFFFFF0) + "abcd", "abcd"},
        {"cut header", "RIFF" + Le32(20) + "FORM" + "data" + Le32(1) + "a" + "cut!" + "\x05", "a"},
        {"only file id", "RIFF", "-"},
    };
    for (const auto& [name, bytes, data] : cases) {
        SCOPED_TRACE(name);
        CMemoryStream file = MakeMemory(bytes);
        CRIFFReader reader;
        reader.Open(&file);
        EXPECT_EQ(std::pair(reader.HasChunk(MakeFourCC("cut!")),
                            reader.HasChunk(MakeFourCC("data")) ? ReadChunk(reader, "data") : "-"),
                  std::pair(false, std::string(data)));
    }
}
