/** @file AppearanceGLTest.cpp A nine-piece skin of a generated texture and a control mirrored by its animation, drawn
 * through the canvas on the real OpenGL device and read back. */
#include <cstring>
#include <functional>

#include <gtest/gtest.h>

#include "DrawTestSupport.h"
#include "GLCanvasSupport.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/mwt/AnimationComponentStock.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/mwt/SkinAppearance.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "TreeTestSupport.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Texture.h"
#include "support/CanvasRasterizer.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

using namespace korvane;
using namespace korvane::mwt;
using korvane::test::Add;
using korvane::test::Make;

namespace
{

constexpr int kWidth = 96;
constexpr int kHeight = 48;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

/// The driver with a kWidth x kHeight device, the program's canvas shaders from an archive packed
/// by the project's tool, and a canvas drawing in screen pixels.
class AppearanceGLTest : public test::CanvasGLTest<kWidth, kHeight>
{
protected:
    /// Counts the read-back pixels that differ from `expected`, reporting the first few.
    void ExpectPixels(const std::function<std::uint32_t(int, int)>& expected)
    {
        test::ExpectBackBuffer(device, kWidth, kHeight, expected);
    }
};

/// The texel colour of each of the nine regions a 16 x 16 skin is cut into (rows of quarters 1, 2, 1).
std::uint32_t RegionColor(int row, int column)
{
    static const std::uint32_t colors[3][3] = {{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu},
                                               {0xFFFFFF00u, 0xFF00FFFFu, 0xFFFF00FFu},
                                               {0xFF808080u, 0xFFFFFFFFu, 0xFF804000u}};
    return colors[row][column];
}

int Band(int v, int first, int last)
{
    return v < first ? 0 : v < last ? 1 : 2;
}

/// Fills the left quarter of the control red and the rest blue.
class HalvesAppearance : public TControlAppearance<CControl>
{
public:
    void Draw(CControl* control, canvas::CCanvas* canvas) override
    {
        const Vector2<float> size = control->GetSize();
        canvas->GetBrush().SetColor(Color4<float>(1, 0, 0, 1));
        canvas->FillRect(canvas::Rect2f(0, 0, size.x / 4, size.y));
        canvas->GetBrush().SetColor(Color4<float>(0, 0, 1, 1));
        canvas->FillRect(canvas::Rect2f(size.x / 4, 0, size.x * 3 / 4, size.y));
    }
};

} // namespace

TEST_F(AppearanceGLTest, ANinePieceSkinKeepsItsCornersAndStretchesItsEdgesAndCentre)
{
    CTexture texture;
    texture.Create(16, 16, 1, 0, os::gfx::Format::A8R8G8B8, os::gfx::Pool::Managed);
    os::gfx::LockedRect locked;
    ASSERT_EQ(os::gfx::kOk, texture.GetD3DTexture()->LockRect(0, &locked, nullptr, 0));
    for (int y = 0; y < 16; ++y) {
        auto* row = static_cast<std::uint8_t*>(locked.Bits) + y * locked.Pitch;
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t texel = RegionColor(Band(y, 4, 12), Band(x, 4, 12));
            std::memcpy(row + x * 4, &texel, 4);
        }
    }
    ASSERT_EQ(os::gfx::kOk, texture.GetD3DTexture()->UnlockRect(0));

    // The body {4, 4, 8, 8} covers the control at (20, 10), 40 x 24: the picture reaches 4 texels beyond
    // each edge, to {16, 6, 48, 32}, with 4 x 4 corners.
    AppearanceProperties definition;
    definition.ParseLines({"BodyRect.left=4", "BodyRect.top=4", "BodyRect.width=8", "BodyRect.height=8", "Texture=t"});
    boost::shared_ptr<IControlAppearance> skin = CSkinAppearance::Create();
    skin->LoadProperties(definition, [&texture](const std::string&) -> ITexture* { return &texture; });
    auto screen = Make<CScreen>("screen", 0, 0, kWidth, kHeight);
    screen->Initialize();
    auto control = Add<CControl>(*screen, "skinned", 20, 10, 40, 24);
    control->SetAppearance(skin);

    glCanvas->GetBrush().SetFiltering(false);
    screen->Draw(glCanvas.get());
    ExpectPixels([](int x, int y) {
        if (x < 16 || x >= 64 || y < 6 || y >= 38) {
            return kBlack;
        }
        return RegionColor(Band(y, 10, 34), Band(x, 20, 60));
    });
}

TEST_F(AppearanceGLTest, AMirroredControlShowsItsRightSideOnTheLeft)
{
    auto screen = Make<CScreen>("screen", 0, 0, kWidth, kHeight);
    screen->Initialize();
    auto control = Add<CControl>(*screen, "mirrored", 10, 10, 40, 20);
    control->SetAppearance(boost::shared_ptr<IControlAppearance>(new HalvesAppearance()));
    control->SetAnimation(CAnimationComponentStock::GetInstance()->Create("HorizontalMirrorStatic"));
    screen->Draw(glCanvas.get());

    // Unmirrored the red quarter would cover pixels 10..19 and the blue 20..49. The mirror x -> 40 - x
    // also turns the canvas's half-pixel shift around, so everything lands one pixel to the right.
    const auto expected = [](int x, int y) {
        if (y < 10 || y >= 30 || x < 11 || x > 50) {
            return kBlack;
        }
        return x >= 41 ? kRed : kBlue;
    };
    ExpectPixels(expected);

    // The rasteriser's reading of the same recorded drawing agrees.
    auto recorder = boost::make_shared<test::RecordingCanvasDevice>();
    test::TracingCanvas recorded(recorder);
    screen->Draw(&recorded);
    test::CanvasRasterizer raster(kWidth, kHeight);
    raster.DrawAll(recorder->draws);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t headless = raster.Coverage(x, y) ? raster.Color(x, y) : kBlack;
            ASSERT_EQ(expected(x, y), headless) << x << ", " << y << "\n" << raster.Picture();
        }
    }
}
