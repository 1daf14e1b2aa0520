/** @file DrawGLTest.cpp Panels drawn through the canvas on the real OpenGL device and read back: children are clipped
 * to their panel's client area, and a transparent panel still draws its children. The same drawing on the
 * recording device, filled by the rasteriser, must light the same pixels. */
#include <functional>

#include <gtest/gtest.h>

#include "DrawTestSupport.h"
#include "GLCanvasSupport.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/mwt/Panel.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "TreeTestSupport.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "support/CanvasRasterizer.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

using namespace korvane;
using namespace korvane::mwt;
using korvane::test::Add;
using korvane::test::Make;

namespace
{

constexpr int kWidth = 128;
constexpr int kHeight = 64;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kRed = 0xFFFF0000u;

/// The driver with a kWidth x kHeight device, the program's canvas shaders from an archive
/// packed by the project's tool, and a canvas drawing in screen pixels.
class DrawGLTest : public test::CanvasGLTest<kWidth, kHeight>
{
protected:
    /// Draws the tree on the GL canvas and on a recording one; both must give `expected`.
    void ExpectPixels(CControl& root, const std::function<std::uint32_t(int, int)>& expected)
    {
        root.Draw(glCanvas.get());
        std::vector<std::uint32_t> pixels;
        ASSERT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));

        auto recorder = boost::make_shared<test::RecordingCanvasDevice>();
        test::TracingCanvas recorded(recorder);
        root.Draw(&recorded);
        test::CanvasRasterizer raster(kWidth, kHeight);
        raster.DrawAll(recorder->draws);

        int wrongGL = 0;
        int wrongRecorded = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t want = expected(x, y);
                const std::uint32_t gl = pixels.at(static_cast<std::size_t>(y * kWidth + x));
                const std::uint32_t headless = raster.Coverage(x, y) ? raster.Color(x, y) : kBlack;
                if (gl != want && wrongGL++ < 5) {
                    ADD_FAILURE() << "GL pixel (" << x << ", " << y << ") is " << std::hex << gl << ", not " << want;
                }
                if (headless != want && wrongRecorded++ < 5) {
                    ADD_FAILURE() << "recorded pixel (" << x << ", " << y << ") is " << std::hex << headless << ", not "
                                  << want;
                }
            }
        }
    }
};

bool Inside(int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

} // namespace

TEST_F(DrawGLTest, ChildrenAreClippedToTheirPanelAndAClearPanelStillDrawsThem)
{
    const struct
    {
        const char* what;
        float panelAlpha;
    } rows[] = {{"an opaque panel", 1.0f}, {"a panel of alpha 0", 0.0f}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, kBlack, 1.0f, 0));
        auto screen = Make<CScreen>("screen", 0, 0, kWidth, kHeight);
        screen->Initialize();
        // The panel covers pixels 10..49 x 10..39; its child would reach 79 x 59 on the screen.
        auto panel = Add<CPanel>(*screen, "panel", 10, 10, 40, 30);
        panel->SetColor(Color4<float>(0, 0, 1, row.panelAlpha));
        auto child = Add<CPanel>(*panel, "child", 30, 20, 40, 30);
        child->SetColor(Color4<float>(1, 0, 0, 1));
        const bool panelFilled = row.panelAlpha > 0.0f;
        ExpectPixels(*screen, [panelFilled](int x, int y) {
            if (Inside(x, y, 40, 30, 50, 40)) {
                return kRed;
            }
            return panelFilled && Inside(x, y, 10, 10, 50, 40) ? kBlue : kBlack;
        });
    }
}
