/** @file TitleMenuGoldenTest.cpp The title menu over its wallpaper drawn by OpenGL and compared pixel for pixel with
 * a stored picture. KORVANE_UPDATE_GOLDEN=1 rewrites the picture instead. */
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "FormsTestSupport.h"
#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "frontend/forms/GameSelectForm.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"

using namespace formtest;

const std::string kGoldenPath = std::string(KORVANE_SOURCE_DIR) + "/tests/frontend/forms/golden/title_menu.ppm";

/// Binary PPM: "P6 w h 255" and the rows top to bottom, RGB.
std::string ToPpm(const std::vector<std::uint32_t>& pixels, std::uint32_t width, std::uint32_t height)
{
    std::ostringstream out;
    out << "P6\n" << width << " " << height << "\n255\n";
    for (const std::uint32_t argb : pixels) {
        out.put(static_cast<char>((argb >> 16) & 0xFF));
        out.put(static_cast<char>((argb >> 8) & 0xFF));
        out.put(static_cast<char>(argb & 0xFF));
    }
    return out.str();
}

TEST_F(FormsTest, TheTitleMenuMatchesItsGoldenPicture)
{
    CGameSelectForm::ResetFocusIndex();
    auto menu = boost::make_shared<CGameSelectForm>();
    screen->AddControl(menu);
    Frames(90);

    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    if (driver->GetShaderEnvironment() == nullptr)
        driver->CreateShaderEnvironment();
    korvane::CShaderEnvironment* environment = driver->GetShaderEnvironment();
    os::gfx::Device* device = driver->GetGraphics()->GetDevice();
    korvane::Matrix4 projection;
    os::gfx::MatrixOrthoOffCenterLH(&projection, 0, 1920, 1080, 0, 0, 1);
    environment->SetProjectionMatrix(projection);
    auto pair = environment->GetShaderPair("shader\\canvas");
    korvane::canvas::CCanvas canvas;
    canvas.SetShaderPair(pair);
    ASSERT_EQ(os::gfx::kOk,
              device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, 0xFF000000u, 1.0f, 0));
    canvas.BeginDraw();
    pair->Begin();
    canvas.ResetClipRect();
    screen->Draw(&canvas);
    canvas.EndDraw();

    std::vector<std::uint32_t> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    ASSERT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, &width, &height));
    const std::string picture = ToPpm(pixels, width, height);

    const char* update = std::getenv("KORVANE_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(kGoldenPath, std::ios::binary) << picture;
        GTEST_SKIP() << "golden picture rewritten: " << kGoldenPath;
    }
    std::ifstream in(kGoldenPath, std::ios::binary);
    ASSERT_TRUE(in) << "no golden picture; run with KORVANE_UPDATE_GOLDEN=1 to make it";
    const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(golden.size(), picture.size());
    const auto first = std::mismatch(picture.begin(), picture.end(), golden.begin()).first;
    EXPECT_EQ(picture.size(), static_cast<std::size_t>(first - picture.begin())) << "the first differing byte";
}
