/** @file fuzz_display_setting.cpp "display_setting.ini": load, save and load again give the same choice. */
#include "FuzzSupport.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = fuzz::ScratchFile("display_setting.ini");
    // The modes a display might offer, the first chosen; no device is needed to choose among them.
    const auto offerModes = [](korvane::CGraphicsModePreference& preference) {
        constexpr auto kFormat = os::gfx::Format::X8R8G8B8;
        preference.modes = {
            {640, 480, 60, kFormat}, {800, 600, 60, kFormat}, {1280, 720, 60, kFormat}, {1920, 1080, 75, kFormat}};
        preference.SelectMode(0);
    };
    fuzz::WriteFile(path, data, size);
    korvane::CGraphicsModePreference loaded;
    offerModes(loaded);
    try {
        loaded.Load(path);
    } catch (const korvane::EException&) {
        return 0;
    }
    loaded.Save(path);
    korvane::CGraphicsModePreference reloaded;
    offerModes(reloaded);
    reloaded.Load(path);
    fuzz::Check(reloaded.properties.GetEntries() == loaded.properties.GetEntries(),
                "the saved settings load back different");
    fuzz::Check(reloaded.selectedIndex == loaded.selectedIndex, "the saved mode loads back as another");
    return 0;
}
