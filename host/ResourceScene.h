/** @file ResourceScene.h The scene that owns the host's shared resources and ends every display frame. */
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/StandardScene.h"
#include "KorvaneXDK/platform/graphics/Camera.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "KorvaneXDK/platform/graphics/Viewport.h"
#include "KorvaneXDK/platform/input/MergedController.h"
#include "frontend/preferences/PreferenceHost.h"
#include "frontend/preferences/PreferenceManager.h"

namespace korvane
{
class ISound;
}

/// Holds the display lock, the forms' texture cache, the merged controller with the named
/// actions, the preferences, the language with its text table, the music version and the five
/// interface sounds. Its update runs last in each frame: the front end's tasks, the present,
/// the clear for the next frame, the store's callbacks and, while the window is active, input.
///
/// It is also the preference manager's host: the volumes are the sound services', the display
/// settings the driver's.
class CResourceScene : public korvane::CStandardScene, public IPreferenceHost
{
public:
    static constexpr std::uint16_t kPriority = 0xFFFF;

    /// The one scene, made on first use (from any thread); the scene manager owns it once queued.
    static CResourceScene* GetInstance();
    /// Clears the instance pointer when it points here.
    ~CResourceScene() override;

    void Initialize() override;
    /// The frame count is not used.
    void Update(int frames) override;
    /// Saves the preferences (once they were loaded) and releases every sound.
    void Finalize() override { Shutdown(); }
    virtual void Shutdown();

    /// Guards the console display state, the composed frames and every controller poll.
    virtual korvane::CCriticalSection& GetDisplayLock();
    virtual korvane::CTextureCache& GetFormCache();
    virtual korvane::IController* GetController();
    /// Refreshes every device of the merged controller, under the display lock.
    virtual void PollController();
    virtual korvane::CCamera& GetCamera();
    /// 0 keyboard, 1 joystick, 3 pad; anything else throws EInvalidParameter.
    virtual void ResetKeyMapping(std::int32_t type);
    /// "ja" or "en" once initialised.
    virtual std::string GetLanguage();
    /// The text of the key, or "" when the table has none.
    virtual std::string GetText(const std::string& key);
    std::uint8_t GetMusicVersion() override;
    void SetMusicVersion(std::uint8_t version) override;
    /// Plays the data-reset sound, resets every key mapping and deletes both games' saves.
    virtual void InitializeAllData();
    /// Sets the sound to the effect volume of the moment and restarts it.
    virtual void PlaySoundAtEffectVolume(boost::shared_ptr<korvane::ISound> sound);
    virtual void PlayUiSound1();
    virtual void PlayUiSound2();
    virtual void PlayUiSound3();
    virtual void PlayUiSound4();

    // The front end's names for the four interface sounds.
    void PlayDecideSound() { PlayUiSound1(); }
    void PlayCancelSound() { PlayUiSound2(); }
    void PlayCursorSound() { PlayUiSound3(); }
    void PlayPauseSound() { PlayUiSound4(); }

    /// The fifteen named buttons (plus "pause", "mode" and "cursor") on every device controller,
    /// each device joined to the merged controller.
    virtual void RegisterInputActions();

    /// "ja" for the store's "japanese" exactly, "en" for anything else.
    static std::string LanguageOf(const std::string& storeLanguage);

    korvane::CMergedController& GetMergedController() { return controller_; }
    CPreferenceManager& GetPreferenceManager() { return preferences_; }

    // IPreferenceHost
    korvane::CDXInput* GetInput() override;
    korvane::CGraphicsModePreference& GetGraphicsModePreference() override;
    std::string GetDisplaySettingPath() override;
    std::string GetSaveFolder() override;
    std::int32_t GetMusicVolume() override;
    void SetMusicVolume(std::int32_t volume) override;
    std::int32_t GetEffectVolume() override;
    void SetEffectVolume(std::int32_t volume) override;
    std::int32_t GetScreenRotation() override;
    void SetScreenRotation(std::int32_t rotation) override;
    std::int32_t GetAspectRatio() override;
    void SetAspectRatio(std::int32_t aspect) override;

private:
    CResourceScene();
    void LoadUiSound(boost::shared_ptr<korvane::ISound>& slot, const std::string& name);
    bool IsWindowActive();

    korvane::CCriticalSection displayLock_;
    korvane::CViewport viewport_;
    korvane::CTextureCache formCache_;
    korvane::CMergedController controller_;
    CPreferenceManager preferences_;
    std::string language_;
    korvane::TProperties<std::less<std::string>> texts_;
    std::uint8_t musicVersion_ = 1;
    /// Set once the preference file has been read: before that the manager holds only the
    /// defaults, and saving them would overwrite the user's file.
    bool preferencesLoaded_ = false;
    /// The display keys as last set, for when no window scene holds them.
    std::int32_t screenRotation_ = 0;
    std::int32_t aspectRatio_ = 0;
    boost::shared_ptr<korvane::ISound> sound1_;
    boost::shared_ptr<korvane::ISound> sound2_;
    boost::shared_ptr<korvane::ISound> sound3_;
    boost::shared_ptr<korvane::ISound> sound4_;
    boost::shared_ptr<korvane::ISound> sound5_;
    korvane::CCamera camera_;
};

namespace host_testing
{
/// An input object used in place of the driver's (null: the driver's again).
void SetInput(korvane::CDXInput* input);
} // namespace host_testing
