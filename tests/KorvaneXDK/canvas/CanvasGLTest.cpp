/** @file CanvasGLTest.cpp The canvas on the real OpenGL device, read back: coverage against the rasteriser,
 * blend modes, a font made by the project's builder, and depth under the window scene's projection. */
#include <functional>

#include "CanvasTestSupport.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
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
        const auto kvf = fontbuild::EncodeKvf(built), png = fontbuild::EncodePng(built);
        for (const char* name : {"canvas.vs", "canvas.ps"})
            dir.Write(std::string("src/shader/") + name,
                      TempDir::Read(KORVANE_SOURCE_DIR "/data/shader/" + std::string(name)));
        dir.Write("src/fonts/text.kvf", std::string(kvf.begin(), kvf.end()));
        dir.Write("src/fonts/text.png", std::string(png.begin(), png.end()));
        kvatool::PackFolder(dir.File("src"), dir.File("data.kva"), kvatool::PackOptions());

        CFontStock::ReleaseInstance();
        ASSERT_TRUE(CreateApplicationDriver(nullptr));
        driver = GetApplicationDriver();
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kWidth, kHeight));
        driver->SetDataLoader(
            boost::shared_ptr<IDataLoader>(new TArchiveFileDataLoader<CArchiveFileLoader>(dir.File("data.kva"))));
        driver->CreateShaderEnvironment();
        environment = driver->GetShaderEnvironment();
        device = driver->GetGraphics()->GetDevice();
        Project(0, 1);
        canvas.reset(new CCanvas());
        pair = environment->GetShaderPair("shader\\canvas");
        canvas->SetShaderPair(pair);
        recorder.reset(new RecordingCanvasDevice());
        recorded.reset(new CCanvas(recorder));
        recorded->SetShaderPair(boost::shared_ptr<CShaderPair>(new CShaderPair()));
        Begin(kBlack);
    }
    void TearDown() override
    {
        canvas.reset();
        CFontStock::ReleaseInstance();
        DestroyApplicationDriver();
    }

    void Project(float nearZ, float farZ)
    {
        Matrix4 projection;
        os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kWidth, kHeight, 0, nearZ, farZ);
        environment->SetProjectionMatrix(projection);
    }
    void Begin(std::uint32_t background)
    {
        ASSERT_EQ(os::gfx::kOk,
                  device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, background, 1.0f, 0));
        canvas->BeginDraw();
        pair->Begin();
        canvas->ResetClipRect();
    }
    std::vector<std::uint32_t> ReadBack()
    {
        std::vector<std::uint32_t> pixels;
        EXPECT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
        return pixels;
    }
    std::uint32_t Pixel(int x, int y) { return ReadBack().at(static_cast<std::size_t>(y * kWidth + x)); }
    /// Pixels not black as a picture like the rasteriser's.
    std::string LitPicture()
    {
        const std::vector<std::uint32_t> pixels = ReadBack();
        std::string out;
        for (std::size_t i = 0; i < pixels.size(); ++i)
            out += std::string(pixels[i] != kBlack ? "#" : ".") + ((i + 1) % kWidth == 0 ? "\n" : "");
        return out;
    }

    /// Runs the drawing on the GL canvas and on a recording canvas; the rasteriser's picture of
    /// the recording must be what GL lit.
    void ExpectSameAsRasterizer(const std::function<void(CCanvas&)>& draw)
    {
        Begin(kBlack);
        recorder->Clear();
        draw(*canvas);
        recorded->ResetClipRect();
        draw(*recorded);
        CanvasRasterizer raster(kWidth, kHeight);
        raster.DrawAll(recorder->draws);
        EXPECT_EQ(raster.Picture(), LitPicture());
    }

    TempDir dir;
    fontbuild::BuiltFont built;
    CGameApplicationDriverCX* driver = nullptr;
    CShaderEnvironment* environment = nullptr;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<CShaderPair> pair;
    boost::shared_ptr<CCanvas> canvas;
    boost::shared_ptr<RecordingCanvasDevice> recorder;
    boost::shared_ptr<CCanvas> recorded;
};

TEST_F(CanvasGLTest, FillsOutlinesBlendsFontMetricsAndTurnedQuadsAsTheRasterizerAndTheirSourcesSay)
{
    ExpectSameAsRasterizer([](CCanvas& c) { c.FillRect({2, 2, 4, 4}); });
    EXPECT_EQ((U32s{Pixel(2, 2), Pixel(5, 5), Pixel(5, 6), Pixel(2, 1)}),
              (U32s{0xFFFFFFFFu, 0xFFFFFFFFu, kBlack, kBlack}));
    ExpectSameAsRasterizer([](CCanvas& c) {
        c.DrawRect({10, 10, 30, 20});
        c.PushMatrix();
        c.MultiplyMatrix(MakeTranslation(50.0f, 5.0f));
        c.DrawRect({0, 0, 1, 1});
        c.DrawRect({4, 0, 7, 9});
        c.PopMatrix();
    });

    // Additive and multiplicative brushes blend with the target.
    // Over 0x40 grey: the fill's 127 and 63 added, or the grey scaled by them.
    const std::pair<std::int32_t, std::uint32_t> cases[] = {{1, 0xBF7F40}, {2, 0x201000}, {0, 0x7F3F00}};
    for (const auto& [mode, rgb] : cases) {
        Begin(0xFF404040u);
        canvas->GetBrush().SetBlendMode(mode);
        canvas->GetBrush().SetColor({0.5f, 0.25f, 0.0f, 1.0f});
        canvas->FillRect({0, 0, 8, 8});
        const std::uint32_t pixel = Pixel(3, 3);
        for (int shift : {16, 8, 0})
            EXPECT_NEAR((rgb >> shift) & 0xFF, (pixel >> shift) & 0xFF, 1) << "mode " << mode << " shift " << shift;
    }

    // A font loaded through the device's loader measures with the builder's metrics; where its glyphs land
    // follows from the text World and the font's own drawing, checked on their own.
    canvas->LoadFont("Test", "fonts\\text.kvf");
    canvas->SetFont(CFont("TEST"));
    const CTextureFont::Glyph* glyph =
        dynamic_cast<CTextureFont&>(*CFontStock::GetInstance()->Get("test")).FindGlyph(u'H');
    ASSERT_NE(nullptr, glyph);
    EXPECT_EQ(Vector2<float>(static_cast<float>(glyph->Advance), static_cast<float>(built.lineHeight)),
              canvas->MeasureText("H"));

    // A quad turned about y is not clipped under the window scene's projection.
    // Near 150, far -150, the eye one unit off as the window scene sets it.
    Project(150, -150);
    Matrix4 view;
    const os::gfx::Vector3 eye{1, 1, 0}, at{1, 1, 1}, up{0, 1, 0};
    os::gfx::MatrixLookAtLH(&view, &eye, &at, &up);
    environment->SetViewMatrix(view);
    Begin(kBlack);
    // 200 wide turned 60 degrees: 100 pixels on screen, z from -87 to 87.
    canvas->ResetMatrix(Multiply(Multiply(MakeTranslation(65, 33), MakeRotation({0, 1, 0}, 3.14159265f / 3)),
                                 MakeTranslation(-100, -20)));
    canvas->FillRect({0, 0, 200, 40});
    const std::string row = LitPicture().substr(32 * (kWidth + 1), kWidth);
    EXPECT_NEAR(100, std::count(row.begin(), row.end(), '#'), 1);
    EXPECT_EQ("##", row.substr(15, 1) + row.substr(112, 1));
}

} // namespace
} // namespace canvastest
