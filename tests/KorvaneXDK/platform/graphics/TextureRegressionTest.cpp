/** @file TextureRegressionTest.cpp Faults found in the texture cache after it was written, kept from coming back. */
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "TextureFixture.h"
#include "support/LogCapture.h"

namespace texturetest
{
namespace
{

using korvane::test::LogCapture;

constexpr const char* kTiming = "CSimpleProfiler: 'korvane::CTextureCache::DirectoryPrecacheAndPurgeFromDataLoaderMT'";

/// A loader whose listing fails.
class UnlistableLoader : public CountingLoader
{
public:
    using CountingLoader::CountingLoader;
    void EnumerateFiles(const std::string&, bool, std::vector<std::string>&) override
    {
        throw korvane::EReadError(nullptr, "listing failed");
    }
};

class TextureRegressionTest : public TextureFixture
{};

// The multithreaded precache writes its timing line only when it ends normally, whichever
// step fails: the listing before any thread, or a load on a loader thread.
TEST_F(TextureRegressionTest, AFailedMultithreadedPrecacheWritesNoTimingLine)
{
    AddFile("dir/a.png", ColourPng(1));
    AddFile("dir/b.png", ColourPng(2));
    const boost::shared_ptr<korvane::IDataLoader> archive = PackArchive();
    korvane::CTextureCache cache;

    LogCapture log;
    UnlistableLoader unlistable(archive);
    EXPECT_THROW(
        cache.DirectoryPrecacheAndPurgeFromDataLoaderMT(&unlistable, "dir", false, false, "", os::gfx::Format::Unknown),
        korvane::EReadError);
    EXPECT_FALSE(LogCapture::Contains(kTiming));

    CountingLoader failing(archive);
    failing.ThrowFor("dir\\b.png");
    EXPECT_THROW(
        cache.DirectoryPrecacheAndPurgeFromDataLoaderMT(&failing, "dir", false, false, "", os::gfx::Format::Unknown),
        std::runtime_error);
    EXPECT_FALSE(LogCapture::Contains(kTiming));

    CountingLoader working(archive);
    cache.DirectoryPrecacheAndPurgeFromDataLoaderMT(&working, "dir", false, false, "", os::gfx::Format::Unknown);
    EXPECT_TRUE(LogCapture::Contains(kTiming));
}

} // namespace
} // namespace texturetest
