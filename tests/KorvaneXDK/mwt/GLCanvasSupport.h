/** @file GLCanvasSupport.h The OpenGL set-up the controls' drawing tests share: the program's canvas shaders packed by
 * the project's tool, the driver with a small device reading that archive, screen-pixel projection, and a read-back
 * of the target compared pixel by pixel. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <gtest/gtest.h>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace korvane::test
{

/// Copies the program's canvas shaders to "src/shader" in `dir`, the folder the tests pack.
inline void WriteCanvasShaders(const TempDir& dir)
{
    const std::string source = KORVANE_SOURCE_DIR;
    dir.Write("src/shader/canvas.vs", TempDir::Read(source + "/data/shader/canvas.vs"));
    dir.Write("src/shader/canvas.ps", TempDir::Read(source + "/data/shader/canvas.ps"));
}

/// Creates the driver with a width x height device reading `archive`, and its shader environment with a
/// projection in screen pixels (origin top left). Call under ASSERT_NO_FATAL_FAILURE.
inline void StartGLDriver(int width, int height, const std::string& archive, CGameApplicationDriverCX*& driver,
                          os::gfx::Device*& device, CShaderEnvironment*& environment)
{
    ASSERT_TRUE(CreateApplicationDriver(nullptr));
    driver = GetApplicationDriver();
    ASSERT_TRUE(driver->InitializeGraphicsForTesting(width, height));
    driver->SetDataLoader(boost::shared_ptr<IDataLoader>(new TArchiveFileDataLoader<CArchiveFileLoader>(archive)));
    driver->CreateShaderEnvironment();
    environment = driver->GetShaderEnvironment();
    device = driver->GetGraphics()->GetDevice();
    Matrix4 projection;
    os::gfx::MatrixOrthoOffCenterLH(&projection, 0, static_cast<float>(width), static_cast<float>(height), 0, 0, 1);
    environment->SetProjectionMatrix(projection);
}

/// Reads the target back and reports the first few pixels whose colour under `mask` differs from `expected`.
template <typename Expected>
void ExpectBackBuffer(os::gfx::Device* device, int width, int height, const Expected& expected,
                      std::uint32_t mask = 0xFFFFFFFFu)
{
    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t want = expected(x, y) & mask;
            const std::uint32_t got = pixels.at(static_cast<std::size_t>(y * width + x)) & mask;
            if (got != want && wrong++ < 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got << ", not " << want;
            }
        }
    }
    EXPECT_EQ(0, wrong);
}

/// The driver with a width x height device, the program's canvas shaders from an archive packed by the project's
/// tool, an empty font registry, and a canvas drawing in screen pixels onto a black target.
template <int width, int height>
class CanvasGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteCanvasShaders(dir);
        kvatool::PackOptions options;
        kvatool::PackFolder(dir.File("src"), dir.File("data.kva"), options);

        canvas::CFontStock::ReleaseInstance();
        CShaderEnvironment* environment = nullptr;
        ASSERT_NO_FATAL_FAILURE(StartGLDriver(width, height, dir.File("data.kva"), driver, device, environment));
        glCanvas.reset(new canvas::CCanvas());
        pair = environment->GetShaderPair("shader\\canvas");
        glCanvas->SetShaderPair(pair);

        ASSERT_EQ(os::gfx::kOk,
                  device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, 0xFF000000u, 1.0f, 0));
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

    TempDir dir;
    CGameApplicationDriverCX* driver = nullptr;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<CShaderPair> pair;
    boost::shared_ptr<canvas::CCanvas> glCanvas;
};

} // namespace korvane::test
