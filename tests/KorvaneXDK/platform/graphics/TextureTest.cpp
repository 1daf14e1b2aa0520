/** @file TextureTest.cpp CTexture over the graphics layer (loading, sizes, failures, filling, binding, render-target
 * copies) and the texture cache: keys, hits, precache filters and suffixes, keep and restore, and the multithreaded
 * precache with its loader threads. */

#include "KorvaneXDK/platform/graphics/Texture.h"
#include "GraphicsTestSupport.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "KorvaneXDK/platform/graphics/TextureCacheLoaderThread.h"
#include "os/gfx/Texture.h"

namespace
{

using namespace graphicstest;
using namespace korvane;
using korvane::test::ExpectThrowWith;
constexpr os::gfx::Format kUnknown = os::gfx::Format::Unknown;

class TextureCacheTest : public DriverTest<64, 48>
{
protected:
    static constexpr int kImages = 9;

    /// An archive with A.png, b.png, the folder dir of mixed files and the folder img of an image of
    /// one colour per index and a text file.
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DriverTest::SetUp());
        AddFile("A.png", ColourPng(1));
        AddFile("b.png", ColourPng(2));
        AddFile("dir/a.png", ColourPng(3));
        AddFile("dir/b.jpeg", gfxtest::WriteJpeg(8, 8, [](std::uint32_t, std::uint32_t) { return 0xFF808080u; }));
        AddFile("dir/c.dds", gfxtest::WriteDds(4, 4, "DXT1", {gfxtest::SolidColourBlock(0xF800)}));
        AddFile("dir/d.txt", "text");
        AddFile("dir/sub/e.bmp",
                gfxtest::WriteBmp(2, 2, 24, false, [](std::uint32_t, std::uint32_t) { return 0xFF00FF00u; }));
        for (int i = 0; i < kImages; ++i)
            AddFile("img/" + std::to_string(i) + ".png", ColourPng(i));
        AddFile("img/readme.txt", "not an image");
        inner = PackArchive();
        counting.reset(new CountingLoader(inner));
    }

    ITexture* Load(const std::string& name, const std::string& key = "")
    {
        return cache.Load(counting.get(), name, false, key, kUnknown);
    }

    static void Precache(CTextureCache& into, IDataLoader* from, const std::string& suffix = "")
    {
        into.DirectoryPrecacheAndPurgeFromDataLoaderMT(from, "img", false, false, suffix, kUnknown);
    }

    LogCapture log;
    boost::shared_ptr<IDataLoader> inner;
    std::unique_ptr<CountingLoader> counting;
    CTextureCache cache;
};

constexpr const char* kTiming = "CSimpleProfiler: 'korvane::CTextureCache::DirectoryPrecacheAndPurgeFromDataLoaderMT'";

/// A 300 x 200 picture whose texel (x, y) has red x and green y.
std::string GradientPng()
{
    return gfxtest::WritePng(300, 200, PNG_COLOR_TYPE_RGB, 8,
                             [](std::uint32_t x, std::uint32_t y) { return 0xFF000040u | x << 16 | y << 8; });
}

using TextureTest = DriverTest<64, 48>;

TEST_F(TextureTest, AnImageLoadsFromTheWholeStreamOntoAPowerOfTwoSurfaceAtItsTopLeft)
{
    CTexture texture;
    auto stream = StreamOf(GradientPng(), 3); // any position: the whole stream is decoded
    texture.Load(stream, false, kUnknown);
    EXPECT_EQ((std::vector<std::uint32_t>{512, 256, 512, 300, 200}),
              (std::vector<std::uint32_t>{texture.GetWidth(), texture.GetHeight(), texture.GetSurfaceWidth(),
                                          texture.GetImageWidth(), texture.GetImageHeight()}));
    ASSERT_NE(nullptr, texture.GetD3DTexture());
    EXPECT_EQ(std::make_pair(1u, os::gfx::Pool::Default), // the extended device's pool
              std::make_pair(texture.GetD3DTexture()->GetLevelCount(), texture.GetSurfaceDesc().Pool));
    texture.Bind(); // the image's texels at its top-left, not stretched over the surface
    EXPECT_EQ(0xFF0A1440u, DrawnPixel(512, 256, 10, 20));
}

TEST_F(TextureTest, MipmapsAndSystemMemoryAreLoadedOnRequest)
{
    CTexture texture;
    auto stream = StreamOf(GradientPng(), 3);
    texture.Load(stream, true, kUnknown);
    EXPECT_EQ(10u, texture.GetD3DTexture()->GetLevelCount());
    texture.LoadToSystemMemory(stream, false, kUnknown);
    EXPECT_EQ(os::gfx::Pool::SystemMem, texture.GetSurfaceDesc().Pool);
}

TEST_F(TextureTest, ABrokenImageFailsToLoadIsReportedAndEmptiesTheTexture)
{
    const std::string png = GradientPng();
    CTexture texture;
    auto stream = StreamOf(png);
    texture.Load(stream, false, kUnknown);
    LogCapture log;
    for (const std::string& bad : {png.substr(0, png.size() / 2), std::string(), std::string("not an image")}) {
        auto broken = StreamOf(bad, 3);
        ExpectThrowWith<EFileOpenError>([&] { texture.Load(broken, false, kUnknown); }, "Failed to load texture.",
                                        "class korvane::CTexture");
        EXPECT_EQ((std::vector<std::uint32_t>{0, 0, 0, 0}),
                  (std::vector<std::uint32_t>{texture.GetWidth(), texture.GetHeight(), texture.GetImageWidth(),
                                              texture.GetD3DTexture() != nullptr}));
    }
    EXPECT_TRUE(LogCapture::Contains("DirectX Error: ") && LogCapture::Contains("\n\tTexture(")) << LogCapture::All();
}

TEST_F(TextureTest, FillColoursTheTextureAndBindingAnEmptyOneSetsNone)
{
    CTexture filled;
    filled.Fill(4, 4, 1.0f, 0.0f, 0.5f, 1.0f, true, kUnknown);
    EXPECT_EQ((std::vector<std::uint32_t>{4, 4, 3}),
              (std::vector<std::uint32_t>{filled.GetWidth(), filled.GetImageWidth(),
                                          filled.GetD3DTexture()->GetLevelCount()}));
    filled.Bind(); // drawn from stage 0
    EXPECT_EQ(0xFFFF0080u, DrawnPixel(4, 4, 3, 3));
    filled.Unbind();
    EXPECT_EQ(nullptr, device->GetTexture(0));
    filled.Bind();
    CTexture().Bind();
    EXPECT_EQ(nullptr, device->GetTexture(0));
}

TEST_F(TextureTest, ARenderTargetCopyTakesTheBackBufferOnceCreated)
{
    CTexture copy;
    ExpectThrowWith<EInvalidOperation>([&] { copy.CopyFromRenderTarget(0, nullptr, nullptr); },
                                       "CopyFromRenderTarget(); not initialized.");
    copy.Create(kWidth, kHeight, 1, os::gfx::usage::RenderTarget, os::gfx::Format::X8R8G8B8, os::gfx::Pool::Default);
    ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF0000FFu, 1.0f, 0));
    copy.CopyFromRenderTarget(0, nullptr, nullptr);
    copy.Bind(); // where each row lands is the graphics layer's own test
    EXPECT_EQ(0xFF0000FFu, DrawnPixel(kWidth, kHeight, 3, 5));
}

TEST_F(TextureTest, AFailedRenderTargetCopyIsReportedAndReleasesWhatItObtained)
{
    CTexture copy;
    copy.Create(kWidth, kHeight, 1, os::gfx::usage::RenderTarget, os::gfx::Format::X8R8G8B8, os::gfx::Pool::Default);
    copy.CopyFromRenderTarget(0, nullptr, nullptr);
    copy.Bind();
    LogCapture log;
    ExpectThrowWith<EIOError>([&] { copy.CopyFromRenderTarget(1, nullptr, nullptr); },
                              "CopyFromRenderTarget(); failed to StretchRect()");
    EXPECT_TRUE(LogCapture::Contains("DirectX Error: ")) << LogCapture::All();
    // Only the texture object and the device's stage binding hold the texture: no surface leaked.
    EXPECT_EQ(2, copy.GetD3DTexture()->weak_from_this().use_count());
}

TEST_F(TextureCacheTest, ADirectoryPrecacheTakesFourExtensionsUnderTheSuffixedKey)
{
    cache.DirectoryPrecache(counting.get(), "DIR", false, false, "#1", kUnknown);
    // b.jpeg, d.txt and the sub-folder are skipped; nothing is purged.
    EXPECT_EQ((std::vector<Names>{{"dir\\a.png", "dir\\c.dds"}, {}}),
              (std::vector<Names>{counting->opened, counting->purged}));
    for (const char* line : {"--- precaching texture from directory ---", "precache: dir\\a.png", "--------"})
        EXPECT_TRUE(LogCapture::Contains(line)) << line;
    Load("never opened", "dir\\a.png#1");
    Load("never opened", "dir\\c.dds#1");
    EXPECT_EQ(2u, counting->opened.size());
}

TEST_F(TextureCacheTest, APrecacheWithPurgeTakesSubFoldersAndPurgesWhatItRead)
{
    cache.DirectoryPrecacheAndPurge(counting.get(), "dir", true, false, "", kUnknown);
    EXPECT_TRUE(LogCapture::Contains("--- precaching texture from directory (with purge) ---"));
    EXPECT_EQ((Names{"dir\\a.png", "dir\\c.dds", "dir\\sub\\e.bmp"}), counting->purged);
}

TEST_F(TextureCacheTest, KeepAndRestoreSwapTheSetOfTextures)
{
    ITexture* a = Load("A.png");
    cache.KeepCurrent();
    Load("b.png");
    cache.RestoreKept();
    EXPECT_EQ(a, Load("a.png")); // the same texture, not opened again
    Load("b.png");               // dropped by the restore
    EXPECT_EQ(2, counting->Opens("b.png"));
    cache.ClearKept();
    cache.RestoreKept();
    Load("A.png");
    EXPECT_EQ(2, counting->Opens("A.png"));
}

TEST_F(TextureCacheTest, KeysAreTheCallersOrTheLowerCaseNameAndHitsOpenNothing)
{
    ITexture* first = Load("A.png"); // GetSP below refuses a null
    EXPECT_EQ(first, cache.Load(counting.get(), "a.png", true, "", os::gfx::Format::A8R8G8B8));
    ITexture* keyed = Load("A.png", "X"); // opened again: two opens in all
    const auto shared = cache.LoadSP(counting.get(), "whatever.png", false, "X", kUnknown);
    EXPECT_EQ(std::make_tuple(keyed, std::size_t(2), shared),
              std::make_tuple(shared.get(), counting->opened.size(), cache.GetSP(keyed)));
}

TEST_F(TextureCacheTest, ATextureOfAnotherCacheIsNotFoundAndFailedLoadsPropagate)
{
    CTextureCache other;
    ITexture* foreign = other.Load(counting.get(), "b.png", false, "", kUnknown);
    ExpectThrowWith<EInvalidParameter>([&] { cache.GetSP(foreign); }, "GetSP(): texture not found");
    // A missing name or a broken image propagates and enters nothing.
    EXPECT_THROW(Load("missing.png"), EFileOpenError);
    EXPECT_THROW(Load("dir\\d.txt"), EFileOpenError);
}

TEST_F(TextureCacheTest, TheDriversLoaderServesTheWithDriverLoaderForms)
{
    driver->SetDataLoader(inner);
    ITexture* served = cache.LoadWithDriverLoader("b.png", false, "", kUnknown);
    EXPECT_EQ(served, cache.LoadSPWithDriverLoader("B.PNG", false, "", kUnknown).get());
    cache.LoadFileWithDriverLoader("A.png", false, "k", kUnknown);
    cache.DirectoryPrecacheWithDriverLoader("dir", false, false, "", kUnknown);
    EXPECT_EQ(served, Load("b.png"));
    Load("dir\\a.png");
    EXPECT_EQ(0u, counting->opened.size());
}

TEST_F(TextureCacheTest, LoadsOfOneKeyFromTwoThreadsMeetOnOneTexture)
{
    CountingLoader loader2(PackArchive(), 2); // both open before either inserts
    ITexture *byOne = nullptr, *byTwo = nullptr;
    std::thread one([&] { byOne = cache.Load(&loader2, "img\\1.png", false, "", kUnknown); });
    std::thread two([&] { byTwo = cache.Load(&loader2, "img\\1.png", false, "", kUnknown); });
    one.join();
    two.join();
    EXPECT_EQ(2, loader2.Opens("img\\1.png"));
    ASSERT_NE(nullptr, byOne);
    EXPECT_EQ(std::make_pair(byOne, byOne),
              std::make_pair(byTwo, cache.Load(&loader2, "img\\1.png", false, "", kUnknown)));
    byOne->Bind();
    EXPECT_EQ(ColourOf(1), DrawnPixel(16, 16, 3, 3));
}

TEST_F(TextureCacheTest, ABusyLoaderThreadDropsASecondRequest)
{
    CountingLoader plain(PackArchive());
    {
        CTextureCacheLoaderThread thread(&cache);
        thread.LoadRequest(&plain, "img\\1.png", false, "one", kUnknown);
        EXPECT_TRUE(thread.IsBusy() && thread.HasRequest());
        thread.LoadRequest(&plain, "img\\2.png", false, "two", kUnknown);
        EXPECT_TRUE(LogCapture::Contains("korvane::CTextureCacheLoaderThread::LoadRequest: THREAD IS BUSY!!"));
        thread.Start();
        thread.RequestStop(); // honoured only once the request is done
        thread.WaitForExit(0, 1);
        EXPECT_FALSE(thread.IsBusy() || thread.HasEngineError() || thread.HasStandardError());
    }
    cache.Load(&plain, "img\\1.png", false, "one", kUnknown);
    EXPECT_EQ(1u, plain.opened.size());
}

TEST_F(TextureCacheTest, TheMultithreadedPrecacheLoadsEveryFileOnceOnAtMostThreeThreadsAndTheTexturesDraw)
{
    CountingLoader loader3(PackArchive(), 3);
    CTextureCache mt;
    LogCapture::Clear();
    Precache(mt, &loader3, "#mt");
    EXPECT_EQ(std::make_tuple(std::size_t(kImages), 3, std::size_t(kImages)),
              std::make_tuple(loader3.opened.size(), loader3.maxActive, loader3.purged.size()));
    for (const char* line :
         {"--- MULTITHREAD: precaching texture from directory (with purge) ---", "terminating thread 2 ...", kTiming})
        EXPECT_TRUE(LogCapture::Contains(line)) << line;
    EXPECT_EQ(static_cast<std::size_t>(kImages), LogCapture::CountContaining("> precache: img\\"));
    for (int i = 0; i < kImages; ++i) {
        const std::string name = "img\\" + std::to_string(i) + ".png";
        mt.Load(&loader3, "not opened", false, name + "#mt", kUnknown)->Bind();
        EXPECT_EQ(ColourOf(i), DrawnPixel(16, 16, 7, 7)) << name;
    }
    EXPECT_EQ(std::size_t(kImages), loader3.opened.size());
}

TEST_F(TextureCacheTest, AMultithreadedPrecacheFailureIsThrownOnTheCallerWithoutTheTimingLine)
{
    // Thrown once every thread stopped; the timing line is written only when the precache ends
    // normally, whichever step fails.
    CTextureCache failingCache;
    LogCapture::Clear();
    CountingLoader failing(inner);
    failing.failing = "img";
    EXPECT_THROW(Precache(failingCache, &failing), EReadError);
    failing.failing = "img\\4.png";
    EXPECT_THAT([&] { Precache(failingCache, &failing); },
                ::testing::ThrowsMessage<std::exception>(::testing::StrEq("the disk is on fire")));
    EXPECT_FALSE(LogCapture::Contains(kTiming)); // a precache that ends normally writes it
}

TEST_F(TextureCacheTest, ABrokenImageStopsTheMultithreadedPrecacheAndNothingOpensOnceItIsBack)
{
    AddFile("img/bad.png", ColourPng(0).substr(0, 40));
    CountingLoader broken(PackArchive());
    CTextureCache fresh;
    ExpectThrowWith<EException>([&] { Precache(fresh, &broken); }, "Failed to load texture.",
                                "class korvane::CTexture");
    // Stopped means stopped: nothing opens any more once the call is back.
    const std::size_t opens = broken.opened.size();
    EXPECT_LE(opens, std::size_t(kImages) + 1);
    EXPECT_EQ(opens, broken.opened.size());
}

} // namespace
