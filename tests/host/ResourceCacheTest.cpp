/** @file ResourceCacheTest.cpp The games' resources: keys, sizes, the way back to the stream, failures. */

#include "host/ResourceCache.h"
#include "HostArchive.h"
#include "support/ExpectThrow.h"

namespace
{

class ResourceCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        archive.Add("rom0_qvr2/small.bin", std::string(100, 'a'));
        archive.Add("rom0_qvr2/large.bin", std::string(70000, 'b'));
        archive.Add("rom0_tessaril_en/small.bin", std::string(100, 'c'));
        ASSERT_NO_FATAL_FAILURE(archive.Pack());
        ResourceSetDataFolder("rom0_qvr2\\");
    }
    void TearDown() override
    {
        korvane::DestroyApplicationDriver();
        ResourceSetDataFolder("");
    }
    host_test::HostArchive archive;
};

// Names meet in one entry per folder; buffers hold at least 64 KiB with a zero tail and lead back to
// their stream; a missing entry throws and is not cached.
TEST_F(ResourceCacheTest, NamesBuffersAndMissingEntries)
{
    std::uint8_t* small = ResourceGet("small.bin");
    for (const char* name : {"SMALL.BIN", "data\\Small.bin", "data/small.BIN", "a\\b/small.bin"})
        EXPECT_EQ(small, ResourceGet(name)) << name;
    EXPECT_EQ('a', small[0]);

    for (const auto& [name, entry, size] :
         {std::tuple("small.bin", 100, 65536), std::tuple("large.bin", 70000, 70000)}) {
        std::uint8_t* bytes = ResourceGet(name);
        boost::shared_ptr<korvane::CMemoryStream> stream = ResourceFindStream(bytes);
        ASSERT_TRUE(stream) << name;
        EXPECT_EQ(std::pair(size, 0), std::pair(stream->GetSize(), stream->GetPosition())) << name;
        EXPECT_NE(0, bytes[entry - 1]);
        for (std::int32_t i = entry; i < size; ++i)
            ASSERT_EQ(0, bytes[i]) << name << " byte " << i;
        EXPECT_FALSE(ResourceFindStream(bytes + 1)) << "only a buffer's start matches";
    }
    EXPECT_FALSE(ResourceFindStream(nullptr));

    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string message = korvane::test::MessageOf([] { ResourceGet("missing.bin"); });
        EXPECT_NE(std::string::npos, message.find("file entry not found: \"rom0_qvr2\\missing.bin\"")) << message;
    }

    ResourceSetDataFolder("rom0_tessaril_en\\");
    EXPECT_EQ('c', ResourceGet("small.bin")[0]) << "the other folder's own entry";
}

} // namespace
