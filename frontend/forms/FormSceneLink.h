/** @file FormSceneLink.h What the screens reach outside themselves: the screen, the wallpaper, the sounds, the
 * controllers, the texts, the settings, the form pictures and the games. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

namespace korvane
{
class CTextureCache;
class IController;
class ITexture;
namespace mwt
{
class CScreen;
}
} // namespace korvane

/// The interface sounds by meaning.
enum class EUiSound
{
    Decide,
    Cancel,
    Cursor,
    Pause,
};

/// The one way from the front end to the host: every form reaches the window scene's screen,
/// wallpaper and picture settings, the resource scene's sounds, controllers, texts, key mappings,
/// music version and volumes, the texture cache and the games' form through here. Besides this one's implementation only the jobs that run in the host's task pool include
/// a host header (the boundary check's table lists each crossing). The window scene hands over
/// its screen when it is made and takes it back when it ends. Tests replace the sound, press and
/// texture paths. Main thread only.
class CFormSceneLink
{
public:
    using SoundHandler = boost::function<void(EUiSound)>;
    using TextureLoader =
        boost::function<boost::shared_ptr<korvane::ITexture>(korvane::CTextureCache*, const std::string&)>;
    using PressReader = boost::function<bool(const std::string&)>;

    /// The screen the forms are added to; EInvalidOperation when there is none.
    static korvane::mwt::CScreen* GetScreen();
    static void SetScreen(korvane::mwt::CScreen* screen);

    /// The title menu's and the games' backdrop, cross-faded by the window scene.
    static void SetWallpaper(const std::string& path);
    /// The window scene's wallpaper path ("" before the first).
    static const std::string& GetWallpaperPath();

    static void PlaySound(EUiSound sound);
    /// Empty: the resource scene's four interface sounds.
    static void SetSoundHandler(SoundHandler handler);

    /// The action's latch on the resource scene's merged controller.
    static bool WasPressed(const std::string& action);
    /// Empty: the resource scene's controller.
    static void SetPressReader(PressReader reader);
    /// Whether the action is held now on the resource scene's merged controller.
    static bool IsHeld(const std::string& action);
    /// The input's device controllers whose device type is `type` (korvane::kControllerKeyboard,
    /// kControllerJoystick or kControllerXInput), in the input's order; none without an input.
    static std::vector<korvane::IController*> GetControllersOfType(std::int32_t type);
    /// The stored key mapping of the controller type back to its defaults (0 keyboard, 1 joystick,
    /// 3 pad; any other type throws EInvalidParameter).
    static void ResetKeyMapping(std::int32_t type);
    /// The data reset: its sound, every key mapping to its defaults, both games' saves deleted.
    static void InitializeAllData();

    /// The text of the key in the language's text table, "" when the table has none.
    static std::string GetText(const std::string& key);

    /// The music version: 1 extended (the default), 0 original.
    static std::uint8_t GetMusicVersion();
    static void SetMusicVersion(std::uint8_t version);
    /// The two volumes, -10000 (silent) to 0 (full). Setting the music volume also reaches the music
    /// playing now; setting the effect volume, every loaded effect.
    static std::int32_t GetMusicVolume();
    static void SetMusicVolume(std::int32_t volume);
    static std::int32_t GetEffectVolume();
    static void SetEffectVolume(std::int32_t volume);

    /// The front end's picture: rotation 0 to 3 and aspect-ratio index 0 to 4, applied by the
    /// window scene.
    static std::int32_t GetScreenRotation();
    static void SetScreenRotation(std::int32_t rotation);
    static std::int32_t GetAspectRatio();
    static void SetAspectRatio(std::int32_t aspectRatio);

    /// Shows a new game form on the screen and starts the game on its thread: the main game for
    /// CGameSelectForm::kMainGame, else the companion game. The form brings a new title menu back
    /// when it closes.
    static void StartGame(std::int32_t game);

    /// The resource scene's form cache.
    static korvane::CTextureCache* GetFormCache();
    /// The picture through the cache with the driver's loader (mipmaps on, any format).
    static boost::shared_ptr<korvane::ITexture> LoadTexture(korvane::CTextureCache* cache, const std::string& path);
    /// Empty: the driver's loader.
    static void SetTextureLoader(TextureLoader loader);

    /// Back to the start: no screen, every handler empty.
    static void Reset();
};
