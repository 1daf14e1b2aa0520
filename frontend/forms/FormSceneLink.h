/** @file FormSceneLink.h What the screens reach outside themselves: the screen, the wallpaper, the sounds, the
 * controller and the form pictures. */
#pragma once

#include <string>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

namespace korvane
{
class CTextureCache;
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

/// One place through which every form reaches the window scene's screen and wallpaper, the
/// resource scene's sounds and controller, and the texture cache. The window scene hands over
/// its screen when it is made and takes it back when it ends. Tests replace the sound, press
/// and texture paths. Main thread only.
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

    /// The resource scene's form cache.
    static korvane::CTextureCache* GetFormCache();
    /// The picture through the cache with the driver's loader (mipmaps on, any format).
    static boost::shared_ptr<korvane::ITexture> LoadTexture(korvane::CTextureCache* cache, const std::string& path);
    /// Empty: the driver's loader.
    static void SetTextureLoader(TextureLoader loader);

    /// Back to the start: no screen, every handler empty.
    static void Reset();
};
