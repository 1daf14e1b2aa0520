/** @file fuzz_display_setting.cpp "display_setting.ini": load, save and load again give the same choice. */
#include "FuzzSupport.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"

namespace
{

// The modes a display might offer, the first chosen; no device is needed to choose among them.
void OfferModes(korvane::CGraphicsModePreference& preference)
{
    for (const auto& [width, height, refresh] :
         {std::tuple{640u, 480u, 60u}, {800u, 600u, 60u}, {1280u, 720u, 60u}, {1920u, 1080u, 75u}})
        preference.modes.push_back({width, height, refresh, os::gfx::Format::X8R8G8B8});
    preference.SelectMode(0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = fuzz::ScratchFile("display_setting.ini");
    fuzz::WriteFile(path, data, size);
    korvane::CGraphicsModePreference loaded;
    OfferModes(loaded);
    try {
        loaded.Load(path);
    } catch (const korvane::EException&) {
        return 0;
    }
    loaded.Save(path);
    korvane::CGraphicsModePreference reloaded;
    OfferModes(reloaded);
    reloaded.Load(path);
    fuzz::Check(reloaded.properties.GetEntries() == loaded.properties.GetEntries(),
                "the saved settings load back different");
    fuzz::Check(reloaded.selectedIndex == loaded.selectedIndex, "the saved mode loads back as another");
    return 0;
}
