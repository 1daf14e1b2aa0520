/** @file OptionsTestSupport.h The options screens on the offscreen OpenGL device with a started resource scene: its
 * text table, preferences, input object and a sound device on the manual backend, a temporary save folder and a
 * display mode list of the graphics layer's hook. */
#pragma once

#include <vector>

#include "KorvaneXDK/core/GameWindow.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormsTestSupport.h"
#include "host/ResourceScene.h"
#include "host/SaveDataFolder.h"
#include "host/SoundServices.h"
#include "os/audio/Testing.h"
#include "os/gfx/Testing.h"
#include "support/InputTestSupport.h"
#include "support/TempDir.h"

namespace optiontest
{

/// The adapter's modes, unsorted and with a duplicate, as a driver may report them.
inline std::vector<os::gfx::DisplayMode> AdapterModes()
{
    auto mode = [](std::uint32_t w, std::uint32_t h, std::uint32_t hz) {
        os::gfx::DisplayMode m;
        m.Width = w;
        m.Height = h;
        m.RefreshRate = hz;
        m.Format = os::gfx::Format::X8R8G8B8;
        return m;
    };
    return {mode(1280, 720, 60), mode(640, 480, 60), mode(1280, 720, 60), mode(800, 600, 60)};
}

class OptionsTest : public formtest::FormsTest
{
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        ASSERT_TRUE(sdl.Ok());
        os::testing::ResetAudioHooks();
        os::testing::UseManualAudioBackend(true);
        ASSERT_TRUE(sound.Initialize());
        host_testing::SetSoundDevice(&sound);
        korvane::test::PumpInput();
        ASSERT_TRUE(input.Initialize(true));
        host_testing::SetInput(&input);
        SetSaveDataFolder(folder.Path());
        driver()->SetDisplaySettingPath(folder.File("display_setting.ini"));
        korvane::CGraphicsModePreference& modes = driver()->GetGraphicsModePreference();
        os::testing::ReplaceAdapterModes(0, AdapterModes());
        modes.EnumerateModes();
        modes.fullscreen = false;
        // The driver lives for the whole run: no display keys of an earlier test.
        modes.SetValue("ScreenRotation", "0");
        modes.SetValue("ScreenAspectRatio", "0");
        StartScene();
    }

    void TearDown() override
    {
        FormsTest::TearDown();
        delete CResourceScene::GetInstance();
        host_testing::SetInput(nullptr);
        input.Finalize();
        SoundReleaseAll();
        host_testing::SetSoundDevice(nullptr);
        sound.Finalize();
        SetSaveDataFolder("");
        os::testing::ResetGraphicsHooks();
        os::testing::ResetAudioHooks();
        MusicVolume = 0;
        EffectVolume = 0;
    }

    static korvane::CGameApplicationDriverCX* driver() { return korvane::GetApplicationDriver(); }

    /// A new resource scene, started as the program starts it (the preferences read).
    void StartScene()
    {
        scene = CResourceScene::GetInstance();
        scene->Initialize();
    }

    /// The key held or let go, read by the devices and the scene's controller.
    void Key(SDL_Scancode key, bool down)
    {
        korvane::test::PushKey(key, down);
        Poll();
    }

    void Poll()
    {
        korvane::test::PumpInput();
        scene->PollController();
    }

    /// The form added to the screen and its open animation run out.
    template <typename TForm>
    boost::shared_ptr<TForm> Show(boost::shared_ptr<TForm> form)
    {
        screen->AddControl(form);
        Frames(60);
        return form;
    }

    /// The single open form of the class on the screen (none closing).
    template <typename TForm>
    boost::shared_ptr<TForm> Only()
    {
        boost::shared_ptr<TForm> found;
        int count = 0;
        for (const auto& form : FormsOf<TForm>()) {
            if (!form->IsClosing()) {
                found = form;
                ++count;
            }
        }
        EXPECT_EQ(1, count) << typeid(TForm).name();
        return found;
    }

    korvane::test::JoystickSubsystem sdl;
    korvane::CDXSound sound;
    korvane::CDXInput input{nullptr, nullptr};
    korvane::test::TempDir folder;
    CResourceScene* scene = nullptr;
};

} // namespace optiontest
