/** @file FormsTestSupport.cpp The run-wide driver, fonts and skin of the form tests. */
#include "FormsTestSupport.h"

#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

namespace formtest
{

namespace
{

korvane::CTextureCache* g_skinCache = nullptr;

const bool g_registered = (::testing::AddGlobalTestEnvironment(new FormsEnvironment()), true);

} // namespace

void FormsEnvironment::SetUp()
{
    (void)g_registered;
    ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    ASSERT_TRUE(driver->InitializeGraphicsForTesting(kDeviceWidth, kDeviceHeight));
    boost::shared_ptr<korvane::IDataLoader> loader(new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(
        std::string(KORVANE_BINARY_DIR) + "/bin/data.kva"));
    driver->SetDataLoader(loader);
    auto fonts = korvane::canvas::CFontStock::GetInstance();
    fonts->LoadFonts(loader.get(), "fonts");
    fonts->AddAlias("default", "FONT12T2S");
    g_skinCache = new korvane::CTextureCache();
    korvane::CTextureCache* cache = g_skinCache;
    korvane::IDataLoader* source = loader.get();
    korvane::mwt::CControlAppearanceStock::GetInstance()->LoadAppearances(
        source, "skin", [cache, source](const std::string& name) {
            return cache->Load(source, "skin\\" + name, true, "", os::gfx::Format::Unknown);
        });
}

void FormsEnvironment::TearDown()
{
    korvane::canvas::CFontStock::ReleaseInstance();
    // The registry keeps the skin's appearances, which point into the skin's cache: it stays,
    // and nothing draws with it once the device is gone.
    korvane::DestroyApplicationDriver();
}

} // namespace formtest
