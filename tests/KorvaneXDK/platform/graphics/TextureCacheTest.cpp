/** @file TextureCacheTest.cpp The texture cache: keys, hits, precache filters and suffixes, keep and restore,
 * and the multithreaded precache with its loader threads. */
#include <thread>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "KorvaneXDK/platform/graphics/TextureCacheLoaderThread.h"
#include "TextureFixture.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"

namespace texturetest
{
namespace
{

using korvane::CTextureCache;
using korvane::ITexture;
using korvane::test::LogCapture;
constexpr os::gfx::Format kUnknown = os::gfx::Format::Unknown;

class TextureCacheTest : public TextureFixture
{
protected:
    /// An archive with a.png, b.png and the folder dir of mixed files.
    void SetUp() override
    {
        TextureFixture::SetUp();
        AddFile("A.png", ColourPng(1));
        AddFile("b.png", ColourPng(2));
        AddFile("dir/a.png", ColourPng(3));
        AddFile("dir/b.jpeg", gfxtest::WriteJpeg(8, 8, [](std::uint32_t, std::uint32_t) { return 0xFF808080u; }));
        AddFile("dir/c.dds", gfxtest::WriteDds(4, 4, "DXT1", {gfxtest::SolidColourBlock(0xF800)}));
        AddFile("dir/d.txt", "text");
        AddFile("dir/sub/e.bmp",
                gfxtest::WriteBmp(2, 2, 24, false, [](std::uint32_t, std::uint32_t) { return 0xFF00FF00u; }));
        inner = PackArchive();
        loader.reset(new CountingLoader(inner));
    }

    boost::shared_ptr<korvane::IDataLoader> inner;
    std::unique_ptr<CountingLoader> loader;
    CTextureCache cache;
};

TEST_F(TextureCacheTest, KeysAreTheCallersOrTheLowerCaseNameAndHitsOpenNothing)
{
    ITexture* first = cache.Load(loader.get(), "A.png", false, "", kUnknown);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, cache.Load(loader.get(), "a.png", true, "", os::gfx::Format::A8R8G8B8));
    EXPECT_EQ(1, loader->TotalOpens());
    ITexture* keyed = cache.Load(loader.get(), "A.png", false, "X", kUnknown);
    EXPECT_NE(first, keyed);
    EXPECT_EQ(2, loader->TotalOpens());
    const auto shared = cache.LoadSP(loader.get(), "whatever.png", false, "X", kUnknown);
    EXPECT_EQ(keyed, shared.get());
    EXPECT_EQ(2, loader->TotalOpens());
    EXPECT_EQ(shared, cache.GetSP(keyed));

    CTextureCache other;
    ITexture* foreign = other.Load(loader.get(), "b.png", false, "", kUnknown);
    korvane::test::ExpectThrowWith<korvane::EInvalidParameter>([&] { cache.GetSP(foreign); },
                                                               "GetSP(): texture not found");

    // A missing name or a broken image propagates and enters nothing.
    EXPECT_THROW(cache.Load(loader.get(), "missing.png", false, "", kUnknown), korvane::EFileOpenError);
    EXPECT_THROW(cache.Load(loader.get(), "dir\\d.txt", false, "", kUnknown), korvane::EFileOpenError);
    EXPECT_THROW(cache.GetSP(nullptr), korvane::EInvalidParameter);
}

TEST_F(TextureCacheTest, DriverLoaderServesTheWithDriverLoaderForms)
{
    driver->SetDataLoader(inner);
    ITexture* texture = cache.LoadWithDriverLoader("b.png", false, "", kUnknown);
    EXPECT_EQ(texture, cache.LoadSPWithDriverLoader("B.PNG", false, "", kUnknown).get());
    cache.LoadFileWithDriverLoader("A.png", false, "k", kUnknown);
    cache.DirectoryPrecacheWithDriverLoader("dir", false, false, "", kUnknown);
    EXPECT_EQ(texture, cache.Load(loader.get(), "b.png", false, "", kUnknown));
    cache.Load(loader.get(), "dir\\a.png", false, "", kUnknown);
    EXPECT_EQ(0, loader->TotalOpens());
}

TEST_F(TextureCacheTest, PrecacheTakesFourExtensionsUnderTheLowerCasePathAndSuffix)
{
    LogCapture log;
    cache.DirectoryPrecache(loader.get(), "DIR", false, false, "#1", kUnknown);
    EXPECT_EQ(1, loader->Opens("dir\\a.png"));
    EXPECT_EQ(1, loader->Opens("dir\\c.dds"));
    EXPECT_EQ(2, loader->TotalOpens()); // b.jpeg, d.txt and the sub-folder are skipped
    EXPECT_TRUE(loader->Purged().empty());
    EXPECT_TRUE(LogCapture::Contains("--- precaching texture from directory ---"));
    EXPECT_TRUE(LogCapture::Contains("precache: dir\\a.png"));
    EXPECT_TRUE(LogCapture::Contains("--------"));
    cache.Load(loader.get(), "never opened", false, "dir\\a.png#1", kUnknown);
    cache.Load(loader.get(), "never opened", false, "dir\\c.dds#1", kUnknown);
    EXPECT_EQ(2, loader->TotalOpens());

    cache.DirectoryPrecacheAndPurge(loader.get(), "dir", true, false, "", kUnknown);
    EXPECT_TRUE(LogCapture::Contains("--- precaching texture from directory (with purge) ---"));
    EXPECT_EQ(1, loader->Opens("dir\\sub\\e.bmp"));
    EXPECT_EQ((std::vector<std::string>{"dir\\a.png", "dir\\c.dds", "dir\\sub\\e.bmp"}), loader->Purged());
}

TEST_F(TextureCacheTest, KeepAndRestoreSwapTheSetOfTextures)
{
    ITexture* a = cache.Load(loader.get(), "A.png", false, "", kUnknown);
    cache.KeepCurrent();
    cache.Load(loader.get(), "b.png", false, "", kUnknown);
    cache.RestoreKept();
    EXPECT_EQ(a, cache.Load(loader.get(), "a.png", false, "", kUnknown));
    EXPECT_EQ(2, loader->TotalOpens());
    cache.Load(loader.get(), "b.png", false, "", kUnknown); // dropped by the restore
    EXPECT_EQ(2, loader->Opens("b.png"));

    cache.ClearKept();
    cache.RestoreKept();
    cache.Load(loader.get(), "A.png", false, "", kUnknown);
    EXPECT_EQ(2, loader->Opens("A.png"));
}

class TextureCacheThreadsTest : public TextureFixture
{
protected:
    static constexpr int kImages = 9;

    void AddImages()
    {
        for (int i = 0; i < kImages; ++i) {
            AddFile("img/" + std::to_string(i) + ".png", ColourPng(i));
        }
        AddFile("img/readme.txt", "not an image");
    }
};

TEST_F(TextureCacheThreadsTest, PrecacheLoadsEveryFileOnceOnAtMostThreeThreadsAndTheTexturesDraw)
{
    AddImages();
    CountingLoader loader(PackArchive(), 3);
    CTextureCache cache;
    LogCapture log;
    cache.DirectoryPrecacheAndPurgeFromDataLoaderMT(&loader, "img", false, false, "#mt", kUnknown);
    EXPECT_EQ(kImages, loader.TotalOpens());
    EXPECT_EQ(3, loader.MaxActive());
    EXPECT_EQ(static_cast<std::size_t>(kImages), loader.Purged().size());
    EXPECT_TRUE(LogCapture::Contains("--- MULTITHREAD: precaching texture from directory (with purge) ---"));
    EXPECT_TRUE(LogCapture::Contains("terminating thread 2 ..."));
    EXPECT_TRUE(
        LogCapture::Contains("CSimpleProfiler: 'korvane::CTextureCache::DirectoryPrecacheAndPurgeFromDataLoaderMT'"));
    EXPECT_EQ(static_cast<std::size_t>(kImages), LogCapture::CountContaining("> precache: img\\"));

    for (int i = 0; i < kImages; ++i) {
        const std::string name = "img\\" + std::to_string(i) + ".png";
        ITexture* texture = cache.Load(&loader, "not opened", false, name + "#mt", kUnknown);
        ASSERT_EQ(1, loader.Opens(name));
        texture->Bind();
        EXPECT_EQ(ColourOf(i), DrawnPixel(16, 16, 7, 7)) << name;
    }
    EXPECT_EQ(kImages, loader.TotalOpens());
}

TEST_F(TextureCacheThreadsTest, ALoaderThreadsErrorIsThrownOnTheCallerAfterEveryThreadStopped)
{
    AddImages();
    {
        CountingLoader loader(PackArchive());
        loader.ThrowFor("img\\4.png");
        CTextureCache cache;
        try {
            cache.DirectoryPrecacheAndPurgeFromDataLoaderMT(&loader, "img", false, false, "", kUnknown);
            ADD_FAILURE() << "no exception";
        } catch (const std::exception& e) {
            EXPECT_STREQ("the disk is on fire", e.what());
        }
    }
    AddFile("img/bad.png", ColourPng(0).substr(0, 40));
    CountingLoader loader(PackArchive());
    CTextureCache cache;
    korvane::test::ExpectThrowWith<korvane::EException>(
        [&] { cache.DirectoryPrecacheAndPurgeFromDataLoaderMT(&loader, "img", false, false, "", kUnknown); },
        "Failed to load texture.", "class korvane::CTexture");
    // Stopped means stopped: nothing opens any more once the call is back.
    const int opens = loader.TotalOpens();
    EXPECT_LE(opens, kImages + 1);
    EXPECT_EQ(opens, loader.TotalOpens());
}

TEST_F(TextureCacheThreadsTest, TwoThreadsLoadingOneNewKeyBothGetTheFirstInsertedTexture)
{
    AddImages();
    CountingLoader loader(PackArchive(), 2); // both open before either inserts
    CTextureCache cache;
    ITexture* first = nullptr;
    ITexture* second = nullptr;
    std::thread one([&] { first = cache.Load(&loader, "img\\1.png", false, "", kUnknown); });
    std::thread two([&] { second = cache.Load(&loader, "img\\1.png", false, "", kUnknown); });
    one.join();
    two.join();
    EXPECT_EQ(2, loader.Opens("img\\1.png"));
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, cache.Load(&loader, "img\\1.png", false, "", kUnknown));
    first->Bind();
    EXPECT_EQ(ColourOf(1), DrawnPixel(16, 16, 3, 3));
}

TEST_F(TextureCacheThreadsTest, ABusyThreadDropsASecondRequest)
{
    AddImages();
    CountingLoader loader(PackArchive());
    CTextureCache cache;
    LogCapture log;
    {
        korvane::CTextureCacheLoaderThread thread(&cache);
        thread.LoadRequest(&loader, "img\\1.png", false, "one", kUnknown);
        EXPECT_TRUE(thread.IsBusy());
        EXPECT_TRUE(thread.HasRequest());
        thread.LoadRequest(&loader, "img\\2.png", false, "two", kUnknown);
        EXPECT_TRUE(LogCapture::Contains("korvane::CTextureCacheLoaderThread::LoadRequest: THREAD IS BUSY!!"));
        thread.Start();
        thread.RequestStop(); // honoured only once the request is done
        thread.WaitForExit(0, 1);
        EXPECT_FALSE(thread.IsBusy());
        EXPECT_FALSE(thread.HasEngineError());
        EXPECT_FALSE(thread.HasStandardError());
    }
    EXPECT_EQ(1, loader.TotalOpens());
    cache.Load(&loader, "img\\1.png", false, "one", kUnknown);
    EXPECT_EQ(1, loader.TotalOpens());
}

} // namespace
} // namespace texturetest
