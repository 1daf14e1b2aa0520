/** @file ImageLabelTest.cpp Images and labels on the recording device (auto size, stretch, the animated image's clip,
 * alignment, docked labels), and a framed simple form with a label and an image drawn by OpenGL and read back. */
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "GLCanvasSupport.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/mwt/NullAnimationComponent.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "TreeTestSupport.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "support/RecordingCanvas.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

using namespace korvane;
using namespace korvane::mwt;
using canvas::Rect2f;
using korvane::test::FakeTexture;
using korvane::test::Make;
using V = Vector2<float>;

namespace
{

/// The largest x and u of a draw's vertices.
std::pair<float, float> Extent(const test::CanvasDraw& draw)
{
    float x = -1e9f;
    float u = -1e9f;
    for (const auto& vertex : draw.vertices) {
        x = std::max(x, vertex.x);
        u = std::max(u, vertex.u);
    }
    return {x, u};
}

} // namespace

TEST(Image, AutoSizeFollowsTheImageSizeAtEveryDraw)
{
    test::RecordingCanvas rc;
    auto image = Make<CImage>("image", 0, 0, 10, 10);
    image->Initialize();
    int resized = 0;
    image->ResizeEvent = [&](CControl*) { ++resized; };
    image->SetImagePath("formimage\\a.png");
    image->Draw(rc.canvas.get());
    EXPECT_TRUE(rc.device->draws.empty()); // a path alone shows nothing
    EXPECT_EQ(image->GetSize(), V(10, 10));

    auto texture = boost::make_shared<FakeTexture>(64, 32, 128, 64);
    image->SetTexture(texture);
    image->SetImageScale(0.5f);
    EXPECT_EQ(image->GetSize(), V(32, 16));
    EXPECT_EQ(resized, 1);
    image->Draw(rc.canvas.get());
    image->Draw(rc.canvas.get());
    EXPECT_EQ(resized, 3);

    image->SetAutoSize(false);
    image->SetSize(V(50, 40));
    image->Draw(rc.canvas.get());
    EXPECT_EQ(image->GetSize(), V(50, 40));
}

TEST(Image, StretchAndTheAnimatedImagesClip)
{
    const struct
    {
        const char* what;
        bool stretch;
        bool animated;
        float right; ///< the quad's right edge, with the half-pixel shift
        float u;
    } rows[] = {
        {"stretched over the control", true, false, 31.5f, 0.5f},
        {"one texel a unit", false, false, 31.5f, 0.25f},
        {"clipped to the parent's area", false, false, 9.5f, 10.0f / 128},
        {"animated: the whole target", false, true, 31.5f, 0.25f},
    };
    int row = 0;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        test::RecordingCanvas rc;
        auto image = Make<CImage>("image", 0, 0, 0, 0);
        image->Initialize();
        image->SetTexture(boost::make_shared<FakeTexture>(64, 32, 128, 64));
        image->SetImageScale(0.5f);
        image->SetStretch(r.stretch);
        image->SetBlendMode(1);
        if (row++ >= 2) {
            rc.canvas->IntersectClipRect(Rect2f(0, 0, 10, 10));
        }
        if (r.animated) {
            image->SetAnimation(boost::make_shared<CNullAnimationComponent>());
        }
        image->Draw(rc.canvas.get());
        ASSERT_EQ(rc.device->draws.size(), 1u);
        EXPECT_EQ(Extent(rc.device->draws[0]), std::make_pair(r.right, r.u));
        EXPECT_EQ(rc.device->draws[0].RenderState(os::gfx::RenderState::DestBlend),
                  os::gfx::value::BlendOne); // the image's additive blend mode
        EXPECT_EQ(rc.canvas->GetClipDepth(), 1u);
    }
}

TEST(Label, PlacesItsCaptionByAlignment)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        std::int32_t align, valign;
        float width;
        int x, y;
    } rows[] = {
        {1, 0, 19, -2, 0}, // (19 - 24) / 2 = -2.5, toward zero
        {1, 0, 40, 8, 0},  {2, 0, 19, -5, 0}, {0, 1, 19, 0, 7},
        {7, 2, 19, 0, 14}, {1, 1, nan, 0, 7}, // a width that is no number centres at 0
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.align) + "/" + std::to_string(row.valign) + " in " + std::to_string(row.width));
        test::RecordingCanvas rc;
        auto label = Make<CLabel>("label", 0, 0, row.width, 30);
        label->Initialize();
        label->SetAutoSize(false);
        label->SetCaption("abc");
        label->SetTextAlignment(row.align);
        label->SetVerticalAlignment(row.valign);
        label->SetColor(Color4<float>(1, 0, 0, 1));
        label->Draw(rc.canvas.get());
        ASSERT_EQ(rc.font->calls.size(), 1u);
        EXPECT_EQ(rc.font->calls[0].x, row.x);
        EXPECT_EQ(rc.font->calls[0].y, row.y);
        EXPECT_EQ(rc.font->calls[0].color, 0xFFFF0000u);
        EXPECT_EQ(rc.canvas->GetFontDepth(), 1u);
    }
}

TEST(Label, AutoSizeOnlyWhenUndocked)
{
    test::RecordingCanvas rc;
    auto screen = Make<CScreen>("screen", 0, 0, 320, 200);
    screen->Initialize();
    auto free = Make<CLabel>("free", 5, 5, 0, 0);
    auto docked = Make<CLabel>("docked", 0, 0, 0, 10);
    screen->AddControl(free);
    screen->AddControl(docked);
    docked->SetDock(CControl::kDockTop);
    free->SetText("four"); // the designs' name for the caption
    docked->SetCaption("four");
    EXPECT_EQ(free->GetCaption(), "four");
    EXPECT_EQ(free->GetSize(), V(32, 16));
    EXPECT_EQ(docked->GetSize(), V(320, 10));

    // An auto-size label follows its font at the next draw; the docked one aligns inside its size.
    free->SetFont(canvas::CFont("smaller"));
    EXPECT_EQ(free->GetSize(), V(32, 16));
    free->Draw(rc.canvas.get());
    docked->Draw(rc.canvas.get());
    EXPECT_EQ(free->GetSize(), V(24, 12));
    EXPECT_EQ(docked->GetSize(), V(320, 10));
}

// --- The real device -------------------------------------------------------------------------

namespace
{

constexpr int kWidth = 128;
constexpr int kHeight = 64;
constexpr std::uint32_t kGrey = 0xFF808080u;

/// A 24-bit BMP of one colour (the font page loader reads images by their content).
std::string SolidBmp(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    const int row = (width * 3 + 3) / 4 * 4;
    const int size = 54 + row * height;
    std::string out(static_cast<std::size_t>(size), '\0');
    auto put32 = [&](int at, int value) {
        for (int i = 0; i < 4; ++i) {
            out[static_cast<std::size_t>(at + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    out[26] = 1;
    out[28] = 24;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(54 + y * row + x * 3);
            out[at] = static_cast<char>(b);
            out[at + 1] = static_cast<char>(g);
            out[at + 2] = static_cast<char>(r);
        }
    }
    return out;
}

/// Colour distance of two 0xAARRGGBB pixels (the target's alpha is blended too, and nobody sees it).
int Distance(std::uint32_t a, std::uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        worst =
            std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    }
    return worst;
}

} // namespace

/// The driver with a kWidth x kHeight device; an archive with the program's canvas shaders and a
/// "default" font whose one glyph "H" is a solid 4 x 6 block.
class ImageLabelGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::WriteCanvasShaders(dir);
        dir.Write("src/fonts/default.ini", "StartCode=48\nEndCode=48\n48.x=0\n48.y=0\n48.w=4\n48.h=6\n48.p=5\n");
        dir.Write("src/fonts/default.png", SolidBmp(8, 8, 255, 255, 255));
        kvatool::PackOptions options;
        kvatool::PackFolder(dir.File("src"), dir.File("data.kva"), options);

        canvas::CFontStock::ReleaseInstance();
        CShaderEnvironment* environment = nullptr;
        ASSERT_NO_FATAL_FAILURE(
            test::StartGLDriver(kWidth, kHeight, dir.File("data.kva"), driver, device, environment));
        glCanvas.reset(new canvas::CCanvas());
        pair = environment->GetShaderPair("shader\\canvas");
        glCanvas->SetShaderPair(pair);
        canvas::CFontStock::GetInstance()->LoadFonts(driver->GetDataLoader().get(), "fonts");

        ASSERT_EQ(os::gfx::kOk,
                  device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, kGrey, 1.0f, 0));
        glCanvas->BeginDraw();
        pair->Begin();
        glCanvas->ResetClipRect();
    }

    void TearDown() override
    {
        glCanvas.reset();
        canvas::CFontStock::ReleaseInstance();
        DestroyApplicationDriver();
    }

    test::TempDir dir;
    CGameApplicationDriverCX* driver = nullptr;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<CShaderPair> pair;
    boost::shared_ptr<canvas::CCanvas> glCanvas;
};

TEST_F(ImageLabelGLTest, AFramedSimpleFormWithALabelAndAnImage)
{
    auto screen = Make<CScreen>("screen", 0, 0, kWidth, kHeight);
    screen->Initialize();
    // The form covers 10..109 x 5..54; its client area 12..107 x 25..52.
    auto form = Make<CForm>("form", 10, 5, 100, 50);
    form->SetColor(Color4<float>(0.2f, 0.4f, 0.6f, 1));
    screen->AddControl(form);
    form->SetFocus();
    screen->Update(1.0f); // the opening has run its course
    auto label = Make<CLabel>("label", 4, 4, 0, 0);
    form->AddControl(label);
    label->SetCaption("H");
    label->SetColor(Color4<float>(1, 1, 0, 1));
    auto texture = boost::make_shared<CTexture>();
    texture->Fill(8, 4, 0, 1, 1, 1, false, os::gfx::Format::A8R8G8B8);
    auto image = Make<CImage>("image", 40, 8, 0, 0);
    form->AddControl(image);
    image->SetTexture(texture);

    screen->Draw(glCanvas.get());
    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));

    auto inside = [](int x, int y, int left, int top, int right, int bottom) {
        return x >= left && x < right && y >= top && y < bottom;
    };
    // 60 % black over the grey leaves 128 x 0.4; the focused caption adds 204 x 0.6 of blue.
    const std::uint32_t frame = 0xFF333333u;
    const std::uint32_t caption = 0xFF3333AEu;
    const std::uint32_t client = 0xFF336699u;
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            std::uint32_t want = kGrey;
            if (inside(x, y, 16, 29, 20, 35)) {
                want = 0xFFFFFF00u; // the label's glyph
            } else if (inside(x, y, 52, 33, 60, 37)) {
                want = 0xFF00FFFFu; // the image
            } else if (inside(x, y, 12, 25, 108, 53)) {
                want = client;
            } else if (inside(x, y, 10, 5, 110, 25)) {
                want = caption;
            } else if (inside(x, y, 10, 25, 110, 55)) {
                want = frame;
            }
            const std::uint32_t got = pixels.at(static_cast<std::size_t>(y * kWidth + x));
            if (Distance(got, want) > 1 && wrong++ < 8) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got << ", not " << want;
            }
        }
    }
}
