/** @file OptionsTestSupport.h The options screens on the offscreen OpenGL device with a started resource scene: its
 * text table, preferences, input object and a sound device on the manual backend, a temporary save folder and a
 * display mode list of the graphics layer's hook. */
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "KorvaneXDK/core/GameWindow.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "frontend/forms/ControllerSettingsForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormsTestSupport.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/OptionsForm.h"
#include "host/ResourceScene.h"
#include "host/SaveDataFolder.h"
#include "host/SoundServices.h"
#include "os/audio/Testing.h"
#include "os/gfx/Testing.h"
#include "support/InputTestSupport.h"
#include "support/TempDir.h"

namespace optiontest
{

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
        // The adapter's modes, unsorted and with a duplicate, as a driver may report them.
        constexpr auto kFormat = os::gfx::Format::X8R8G8B8;
        os::testing::ReplaceAdapterModes(
            0, {{1280, 720, 60, kFormat}, {640, 480, 60, kFormat}, {1280, 720, 60, kFormat}, {800, 600, 60, kFormat}});
        modes.EnumerateModes();
        modes.fullscreen = false;
        // The driver lives for the whole run: no display keys of an earlier test.
        modes.SetValue("ScreenRotation", "0");
        modes.SetValue("ScreenAspectRatio", "0");
        // A resource scene started as the program starts it (the preferences read).
        scene = CResourceScene::GetInstance();
        scene->Initialize();
        // The menus remember their focus for the whole run.
        COptionsForm::ResetFocusIndex();
        CGameSelectForm::ResetFocusIndex();
        CControllerSettingsForm::ResetFocusIndex();
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
    korvane::IController& Keyboard() { return *input.GetController(0); }

    void Poll()
    {
        korvane::test::PumpInput();
        scene->PollController();
    }

    /// The key held over one frame of the screen, then let go.
    void Press(SDL_Scancode key)
    {
        korvane::test::PushKey(key, true);
        Poll();
        Frame();
        korvane::test::PushKey(key, false);
        Poll();
    }

    /// The row focused and the keys sent to the screen.
    void KeysOn(korvane::mwt::CControl& row, std::initializer_list<unsigned int> keys)
    {
        row.SetFocus();
        for (unsigned int key : keys)
            screen->OnKeyDown(key);
    }

    /// The button focused and clicked as the player reaches it, and the forms' animations run out.
    void Enter(korvane::mwt::CButton& button)
    {
        button.SetFocus();
        ClickOn(button);
        Frames(60);
    }

    /// The settings screens' cancel rule: Escape moves to Exit, Escape there leaves with the decide sound, and a
    /// third (as the form closes) is not heard.
    template <typename TForm, typename TExit>
    void ExpectCancelRule(TForm& form, const boost::shared_ptr<TExit>& exit)
    {
        sounds.clear();
        screen->OnKeyDown(form_names::kKeyEscape);
        EXPECT_EQ(exit, form.GetFocusedLeaf());
        screen->OnKeyDown(form_names::kKeyEscape);
        form.OnKeyDown(&form, form_names::kKeyEscape);
        EXPECT_EQ((std::vector<EUiSound>{EUiSound::Cancel, EUiSound::Cancel, EUiSound::Decide}), sounds);
        Frames(60);
    }

    /// The single open form of the class on the screen (none closing); anything else ends the test.
    template <typename TForm>
    boost::shared_ptr<TForm> Only()
    {
        std::vector<boost::shared_ptr<TForm>> open = FormsOf<TForm>();
        std::erase_if(open, [](const auto& form) { return form->IsClosing(); });
        // Thrown, the test ends here as an assertion would.
        if (open.size() != 1)
            throw std::runtime_error(std::to_string(open.size()) + " open forms of " + typeid(TForm).name());
        return open.back();
    }

    korvane::test::JoystickSubsystem sdl;
    korvane::CDXSound sound;
    korvane::CDXInput input{nullptr, nullptr};
    korvane::test::TempDir folder;
    CResourceScene* scene = nullptr;
};

} // namespace optiontest
