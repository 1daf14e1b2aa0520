/** @file fuzz_preferences.cpp "preference.dat": load, save, and the saved file loads and saves the same. */
#include <SDL.h>

#include <memory>

#include "FuzzSupport.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "frontend/preferences/PreferenceManager.h"
#include "frontend/preferences/StandardPreferenceHost.h"

namespace
{

/// The keyboard, the mouse and the four XInput slots, made once: the joystick types stay
/// unconnected, so their records take the path that keeps them as read. Never destroyed: the
/// input layer's event hooks are statics that may go first at exit.
korvane::CDXInput* Input()
{
    static korvane::CDXInput* input = [] {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS) != 0)
            fuzz::Fail("cannot start SDL's joystick subsystem");
        auto* made = new korvane::CDXInput(nullptr, nullptr);
        if (!made->Initialize(true))
            fuzz::Fail("cannot start the input layer");
        return made;
    }();
    return input;
}

/// One start of the program: defaults, the file, and the file it writes back.
struct Run
{
    Run() : host(Input(), display, fuzz::ScratchFile("display_setting.ini"), fuzz::ScratchFile(""))
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
