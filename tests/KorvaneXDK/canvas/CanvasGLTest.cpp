/** @file CanvasGLTest.cpp The canvas on the real OpenGL device, read back: coverage against the rasteriser, point
 * sampling, blend modes, text of a font made by the project's builder, and depth under the window scene's projection. */
#include <cmath>
#include <functional>

#include "CanvasTestSupport.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Texture.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "tools/fontbuild/FontBuilder.h"
#include "tools/kvatool/Packer.h"

namespace canvastest
{
namespace
{

constexpr int kWidth = 128;
constexpr int kHeight = 64;
constexpr std::uint32_t kBlack = 0xFF000000u;

std::string Bytes(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

/// The driver with a kWidth x kHeight device, an archive packed by the project's tool with the
/// program's canvas pair and a font from the builder, and a canvas drawing in screen pixels.
class CanvasGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fontbuild::FontSpec spec;
        spec.fontFiles = {fontbuild::FindFontFile("DejaVuSans.ttf")};
        spec.pixelSize = 20;
        spec.characters = {U'A', U'H', U'?'};
        built = fontbuild::BuildFont(spec);
        const std::string source = KORVANE_SOURCE_DIR;
        dir.Write("src/shader/canvas.vs", korvane::test::TempDir::Read(source + "/data/shader/canvas.vs"));
        dir.Write("src/shader/canvas.ps", korvane::test::TempDir::Read(source + "/data/shader/canvas.ps"));
        dir.Write("src/fonts/a_good.kvf", Bytes(fontbuild::EncodeKvf(built)));
        dir.Write("src/fonts/a_good.png", Bytes(fontbuild::EncodePng(built)));
        dir.Write("src/fonts/b_broken.kvf", "RIFF\x04\x00\x00\x00KVFT");
        dir.Write("src/fonts/c_later.kvf", Bytes(fontbuild::EncodeKvf(built)));
        dir.Write("src/fonts/c_later.png", Bytes(fontbuild::EncodePng(built)));
        kvatool::PackOptions options;
        kvatool::PackFolder(dir.File("src"), dir.File("data.kva"), options);

        CFontStock::ReleaseInstance();
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        driver = korvane::GetApplicationDriver();
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kWidth, kHeight));
        driver->SetDataLoader(boost::shared_ptr<korvane::IDataLoader>(
            new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(dir.File("data.kva"))));
        driver->CreateShaderEnvironment();
        environment = driver->GetShaderEnvironment();
        device = driver->GetGraphics()->GetDevice();
        korvane::Matrix4 projection;
        os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kWidth, kHeight, 0, 0, 1);
        environment->SetProjectionMatrix(projection);

        canvas.reset(new CCanvas());
        pair = environment->GetShaderPair("shader\\canvas");
        canvas->SetShaderPair(pair);
        recorder.reset(new RecordingCanvasDevice());
        recorded.reset(new CCanvas(recorder));
        recorded->SetShaderPair(boost::shared_ptr<korvane::CShaderPair>(new korvane::CShaderPair()));
        Begin(kBlack);
    }

    void TearDown() override
    {
        canvas.reset();
        CFontStock::ReleaseInstance();
        korvane::DestroyApplicationDriver();
    }

    void Begin(std::uint32_t background)
    {
        ASSERT_EQ(os::gfx::kOk,
                  device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, background, 1.0f, 0));
        canvas->BeginDraw();
        pair->Begin();
        canvas->ResetClipRect();
    }

    std::vector<std::uint32_t> ReadPixels()
    {
        std::vector<std::uint32_t> pixels;
        EXPECT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
        return pixels;
    }

    /// Pixels not black as a picture like the rasteriser's.
    std::string LitPicture()
    {
        const std::vector<std::uint32_t> pixels = ReadPixels();
        std::string out;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                out += pixels.at(static_cast<std::size_t>(y * kWidth + x)) != kBlack ? '#' : '.';
            }
            out += '\n';
        }
        return out;
    }

    /// Runs the drawing on the GL canvas and on a recording canvas; the rasteriser's picture of
    /// the recording must be what GL lit.
    void ExpectSameAsRasterizer(const std::function<void(CCanvas&)>& draw)
    {
        draw(*canvas);
        recorded->ResetClipRect();
        draw(*recorded);
        korvane::test::CanvasRasterizer raster(kWidth, kHeight);
        raster.DrawAll(recorder->draws);
        EXPECT_EQ(raster.Picture(), LitPicture());
    }

    korvane::test::TempDir dir;
    fontbuild::BuiltFont built;
    korvane::CGameApplicationDriverCX* driver = nullptr;
    korvane::CShaderEnvironment* environment = nullptr;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<korvane::CShaderPair> pair;
    boost::shared_ptr<CCanvas> canvas;
    boost::shared_ptr<RecordingCanvasDevice> recorder;
    boost::shared_ptr<CCanvas> recorded;
};

TEST_F(CanvasGLTest, FillsAndOutlinesLightTheRasterizersPixels)
{
    const std::vector<std::uint32_t> before = ReadPixels();
    ExpectSameAsRasterizer([](CCanvas& c) { c.FillRect({2, 2, 4, 4}); });
    const std::vector<std::uint32_t> pixels = ReadPixels();
    EXPECT_EQ(0xFFFFFFFFu, pixels.at(2 * kWidth + 2));
    EXPECT_EQ(0xFFFFFFFFu, pixels.at(5 * kWidth + 5));
    EXPECT_EQ(kBlack, pixels.at(6 * kWidth + 5));
    EXPECT_EQ(kBlack, pixels.at(1 * kWidth + 2));

    Begin(kBlack);
    recorder->Clear();
    ExpectSameAsRasterizer([](CCanvas& c) {
        c.DrawRect({10, 10, 30, 20});
        c.PushMatrix();
        c.MultiplyMatrix(korvane::canvas::MakeTranslation(50.0f, 5.0f));
        c.DrawRect({0, 0, 1, 1});
        c.DrawRect({4, 0, 7, 9});
        c.PopMatrix();
    });
}

TEST_F(CanvasGLTest, PointSampledImagesReproduceTheirTexels)
{
    korvane::CTexture texture;
    texture.Create(4, 4, 1, 0, os::gfx::Format::A8R8G8B8, os::gfx::Pool::Managed);
    os::gfx::LockedRect locked;
    ASSERT_EQ(os::gfx::kOk, texture.GetD3DTexture()->LockRect(0, &locked, nullptr, 0));
    std::uint32_t texels[16];
    for (std::uint32_t i = 0; i < 16; ++i) {
        texels[i] = 0xFF000000u | (i * 16u) << 16 | (255u - i * 9u) << 8 | (i * 13u + 7u);
        auto* row = static_cast<std::uint8_t*>(locked.Bits) + (i / 4) * static_cast<std::uint32_t>(locked.Pitch);
        std::memcpy(row + (i % 4) * 4, &texels[i], 4);
    }
    ASSERT_EQ(os::gfx::kOk, texture.GetD3DTexture()->UnlockRect(0));

    canvas->GetBrush().SetFiltering(false);
    canvas->DrawImageAt({10, 5}, &texture);
    const std::vector<std::uint32_t> pixels = ReadPixels();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(texels[i], pixels.at(static_cast<std::size_t>((5 + i / 4) * kWidth + 10 + i % 4))) << "texel " << i;
    }
    EXPECT_EQ(kBlack, pixels.at(static_cast<std::size_t>(4 * kWidth + 10)));
    EXPECT_EQ(kBlack, pixels.at(static_cast<std::size_t>(5 * kWidth + 14)));
}

TEST_F(CanvasGLTest, AdditiveAndMultiplicativeBrushesBlendWithTheTarget)
{
    struct Case
    {
        std::int32_t mode;
        std::uint32_t red, green, blue;
    };
    // Over 0x40 grey: the fill's 127 and 63 added, or the grey scaled by them.
    const Case cases[] = {{1, 0xBF, 0x7F, 0x40}, {2, 0x20, 0x10, 0x00}, {0, 0x7F, 0x3F, 0x00}};
    for (const Case& c : cases) {
        Begin(0xFF404040u);
        canvas->GetBrush().SetBlendMode(c.mode);
        canvas->GetBrush().SetColor({0.5f, 0.25f, 0.0f, 1.0f});
        canvas->FillRect({0, 0, 8, 8});
        const std::uint32_t pixel = ReadPixels().at(3 * kWidth + 3);
        EXPECT_NEAR(c.red, (pixel >> 16) & 0xFF, 1) << "mode " << c.mode;
        EXPECT_NEAR(c.green, (pixel >> 8) & 0xFF, 1) << "mode " << c.mode;
        EXPECT_NEAR(c.blue, pixel & 0xFF, 1) << "mode " << c.mode;
    }
}

TEST_F(CanvasGLTest, BuilderFontTextLandsOnItsGlyphBox)
{
    korvane::test::LogCapture log;
    try {
        CFontStock::GetInstance()->LoadFonts(driver->GetDataLoader().get(), "fonts");
        FAIL() << "the damaged font loaded";
    } catch (const korvane::EException& e) {
        EXPECT_EQ("loading KVF: file format error|class korvane::CTextureFont", e.GetMessage() + "|" + e.GetWhere());
    }
    // The damaged font stopped the loading: the good one is there, the later one is not.
    EXPECT_TRUE(log.Contains("load font: fonts\\b_broken.kvf")) << log.All();
    EXPECT_FALSE(log.Contains("c_later")) << log.All();
    EXPECT_EQ(1u, CFontStock::GetInstance()->GetFontCount());
    canvas->LoadFont("Test", "fonts\\c_later.kvf");
    canvas->SetFont(korvane::canvas::CFont("TEST"));

    canvas->DrawText({20.7f, 10.2f}, "H");
    auto& font = dynamic_cast<korvane::CTextureFont&>(*CFontStock::GetInstance()->Get("test"));
    const korvane::CTextureFont::Glyph* glyph = font.FindGlyph(u'H');
    ASSERT_NE(nullptr, glyph);
    // The canvas passes (20, 10); the text World's half pixel puts glyph pixels on whole pixels.
    const int left = 20 + font.GetLeftOffset() + glyph->OffsetX;
    const int top = 10 + font.GetTopOffset() + glyph->OffsetY;
    const std::vector<std::uint32_t> pixels = ReadPixels();
    int lit = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (pixels.at(static_cast<std::size_t>(y * kWidth + x)) == kBlack) {
                continue;
            }
            ++lit;
            EXPECT_TRUE(x >= left && x < left + glyph->Width && y >= top && y < top + glyph->Height) << x << ", " << y;
        }
    }
    EXPECT_GT(lit, glyph->Height); // the H's two stems at least
    EXPECT_EQ(Vector2<float>(static_cast<float>(glyph->Advance), static_cast<float>(built.lineHeight)),
              canvas->MeasureText("H"));
}

TEST_F(CanvasGLTest, AQuadTurnedAboutYIsNotClippedUnderTheWindowSceneProjection)
{
    // Near 150, far -150, the eye one unit off as the window scene sets it.
    korvane::Matrix4 projection;
    os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kWidth, kHeight, 0, 150, -150);
    environment->SetProjectionMatrix(projection);
    korvane::Matrix4 view;
    const os::gfx::Vector3 eye{1, 1, 0}, at{1, 1, 1}, up{0, 1, 0};
    os::gfx::MatrixLookAtLH(&view, &eye, &at, &up);
    environment->SetViewMatrix(view);
    Begin(kBlack);

    const float kTurn = 3.14159265f / 3;
    // 200 wide turned 60 degrees: 100 pixels on screen, z from -87 to 87.
    using namespace korvane::canvas;
    canvas->ResetMatrix(
        Multiply(Multiply(MakeTranslation(65, 33), MakeRotation({0, 1, 0}, kTurn)), MakeTranslation(-100, -20)));
    canvas->FillRect({0, 0, 200, 40});
    const std::vector<std::uint32_t> pixels = ReadPixels();
    int lit = 0;
    for (int x = 0; x < kWidth; ++x) {
        lit += pixels.at(static_cast<std::size_t>(32 * kWidth + x)) != kBlack ? 1 : 0;
    }
    EXPECT_NEAR(100, lit, 1);
    EXPECT_NE(kBlack, pixels.at(static_cast<std::size_t>(32 * kWidth + 15)));
    EXPECT_NE(kBlack, pixels.at(static_cast<std::size_t>(32 * kWidth + 112)));
}

} // namespace
} // namespace canvastest
