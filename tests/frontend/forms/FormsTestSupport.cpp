/** @file FormsTestSupport.cpp The run-wide driver, fonts and skin of the form tests. */
#include "FormsTestSupport.h"

#include <memory>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"

namespace
{

/// The program's side for the whole run, as the window scene sets it up: the driver on an
/// offscreen device with the built archive as its loader, the fonts with the "default" alias,
/// and the skin's appearance definitions in the process-wide registry (which keeps them, and so
/// their pictures and the device, for the life of the process).
class FormsEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
        // The device is small; the forms' 1920 x 1080 is scaled into it when drawn.
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(320, 180));
        boost::shared_ptr<korvane::IDataLoader> loader(new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(
            std::string(KORVANE_BINARY_DIR) + "/bin/data.kva"));
        driver->SetDataLoader(loader);
        auto fonts = korvane::canvas::CFontStock::GetInstance();
        fonts->LoadFonts(loader.get(), "fonts");
        fonts->AddAlias("default", "FONT12T2S");
        // The registry keeps the skin's appearances, which point into the skin's cache: it stays
        // for the whole run, and nothing draws with it once the device is gone.
        cache_ = std::make_unique<korvane::CTextureCache>();
        korvane::CTextureCache* cache = cache_.get();
        korvane::IDataLoader* source = loader.get();
        korvane::mwt::CControlAppearanceStock::GetInstance()->LoadAppearances(
            source, "skin", [cache, source](const std::string& name) {
                return cache->Load(source, "skin\\" + name, true, "", os::gfx::Format::Unknown);
            });
    }

    void TearDown() override
    {
        // The registry's appearances still point into the cache, but nothing draws any more.
        cache_.reset();
        korvane::canvas::CFontStock::ReleaseInstance();
        korvane::DestroyApplicationDriver();
    }

private:
    std::unique_ptr<korvane::CTextureCache> cache_;
};

[[maybe_unused]] const bool g_registered = (::testing::AddGlobalTestEnvironment(new FormsEnvironment()), true);

} // namespace

namespace formtest
{

ScreenPicture FormsTest::DrawScreen(float left, float right, float bottom, float top)
{
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    if (driver->GetShaderEnvironment() == nullptr)
        driver->CreateShaderEnvironment();
    korvane::CShaderEnvironment* environment = driver->GetShaderEnvironment();
    os::gfx::Device* device = driver->GetGraphics()->GetDevice();
    korvane::Matrix4 projection;
    os::gfx::MatrixOrthoOffCenterLH(&projection, left, right, bottom, top, 0, 1);
    environment->SetProjectionMatrix(projection);
    auto pair = environment->GetShaderPair("shader\\canvas");
    korvane::canvas::CCanvas canvas;
    canvas.SetShaderPair(pair);
    ScreenPicture picture;
    picture.cleared = device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, 0xFF000000u, 1.0f, 0);
    canvas.BeginDraw();
    pair->Begin();
    canvas.ResetClipRect();
    screen->Draw(&canvas);
    canvas.EndDraw();
    picture.read = device->ReadBackBuffer(&picture.pixels, &picture.width, &picture.height);
    return picture;
}

} // namespace formtest
