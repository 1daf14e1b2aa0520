/** @file fuzz_preferences.cpp "preference.dat": load, save, and the saved file loads and saves the same. */
#include "FuzzSupport.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "frontend/preferences/PreferenceManager.h"
#include "frontend/preferences/StandardPreferenceHost.h"

namespace
{

/// One start of the program: defaults, the file, and the file it writes back.
struct Run
{
    Run() : host(fuzz::InputLayer(), display, fuzz::ScratchFile("display_setting.ini"), fuzz::ScratchFile(""))
    {
        manager.ResetAllKeyMappings();
        manager.Load();
        manager.Save();
        saved = korvane::test::TempDir::Read(manager.GetPreferenceFilePath());
    }

    korvane::CGraphicsModePreference display;
    CStandardPreferenceHost host;
    CPreferenceManager manager{host};
    std::string saved;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::WriteFile(fuzz::ScratchFile("preference.dat"), data, size);
    Run first;
    fuzz::Check(first.host.GetMusicVolume() >= -10000 && first.host.GetMusicVolume() <= 0 &&
                    first.host.GetEffectVolume() >= -10000 && first.host.GetEffectVolume() <= 0,
                "a volume outside silent..full");
    fuzz::Check(!first.saved.empty(), "nothing was saved");
    Run second;
    // The saved file holds the connected controllers' mappings and every other record as read.
    fuzz::Check(second.saved == first.saved, "the saved file loads and saves as another");
    fuzz::Check(second.host.GetMusicVersion() == first.host.GetMusicVersion(),
                "the saved music version loads back different");
    return 0;
}
