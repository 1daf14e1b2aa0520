/** @file MenusTest.cpp The options and controller settings menus, the confirmed reset, the key mapping screens on
 * the keyboard and an SDL virtual pad, and the settings kept in the preference files for the next start. */
#include <filesystem>
#include <tuple>

#include "OptionsTestSupport.h"
#include "frontend/forms/ColorFlashForm.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/KeyMappingForm.h"
#include "frontend/forms/ScreenSettingsForm.h"
#include "frontend/forms/SoundSettingsForm.h"

// The run-wide driver on an offscreen device, the archive's fonts and skin, as the form tests have them.
#include "frontend/forms/FormsTestSupport.cpp"

using namespace optiontest;
using form_names::kKeyEscape;
using form_names::kKeyReturn;

TEST_F(OptionsTest, MenusRememberTheirButtonsSettingsCancelBackOnlyTwoAcceptedWarningsResetAndSettingsReachTheNextStart)
{
    auto title = Show(boost::make_shared<CGameSelectForm>());
    Enter(*title->OptionsButton);
    EXPECT_TRUE(FormsOf<CGameSelectForm>().empty());
    auto options = Only<COptionsForm>();
    EXPECT_EQ(options->ScreenSettingsButton, options->GetFocusedLeaf());

    // Sound settings by their cancel rule and back: the button that led away.
    Enter(*options->SoundSettingsButton);
    auto sound = Only<CSoundSettingsForm>();
    sound->Label2->SetFocus();
    ExpectCancelRule(*sound, sound->ExitButton);
    EXPECT_TRUE(FormsOf<CSoundSettingsForm>().empty());
    options = Only<COptionsForm>();
    EXPECT_EQ(options->SoundSettingsButton, options->GetFocusedLeaf());

    // The controller menu: its first button, whatever was left focused there before.
    for (int visit = 0; visit < 2; ++visit) {
        Enter(*options->ControllerSettingsButton);
        auto controllers = Only<CControllerSettingsForm>();
        // No joystick held; the four pad slots always are.
        EXPECT_EQ(std::tuple(controllers->KeyboardButton, "CONTROLLER SETTINGS", false, true),
                  std::tuple(controllers->GetFocusedLeaf(), controllers->Label1->GetCaption(),
                             controllers->DirectInputButton->IsEnabled(), controllers->XInputButton->IsEnabled()))
            << visit;
        if (visit == 0) {
            // The keyboard mapping screen's cancel rule leads back to the controller menu.
            Enter(*controllers->KeyboardButton);
            auto keys = Only<CKeyMappingForm>();
            keys->ShieldLabel->SetFocus();
            ExpectCancelRule(*keys, keys->ExitButton);
            controllers = Only<CControllerSettingsForm>();
        }
        ExpectCancelRule(*controllers, controllers->ExitButton);
        options = Only<COptionsForm>();
        EXPECT_EQ(options->ControllerSettingsButton, options->GetFocusedLeaf());
    }

    // The options menu's own cancel rule leads back to the title menu on Options.
    ExpectCancelRule(*options, options->ExitButton);
    title = Only<CGameSelectForm>();
    EXPECT_EQ(title->OptionsButton, title->GetFocusedLeaf());

    // Only two accepted warnings reset the data.
    screen->RemoveAllControls();
    const std::string mainSave = folder.Write("QVR2.SAV", "save");

    options = Show(boost::make_shared<COptionsForm>());
    // The keys for the first and the second warning (0: never reached), and whether the data is reset.
    const std::tuple<unsigned int, unsigned int, bool> steps[] = {
        {kKeyEscape, 0, false}, {kKeyReturn, kKeyEscape, false}, {kKeyReturn, kKeyReturn, true}};
    for (const auto& [first, second, reset] : steps) {
        Enter(*options->InitializeButton);
        ASSERT_TRUE(options->GetConfirmDialog());
        EXPECT_EQ(std::tuple(options->GetConfirmDialog(), scene->GetText("2015_1")),
                  std::tuple(screen->GetActiveForm(), options->GetConfirmDialog()->Line1Label->GetCaption()));
        screen->OnKeyDown(first);
        Frames(60);
        if (second != 0) {
            ASSERT_TRUE(options->GetConfirmAgainDialog());
            EXPECT_EQ("WARNING WARNING WARNING", options->GetConfirmAgainDialog()->CaptionLabel->GetCaption());
            screen->OnKeyDown(second);
            bool flashed = false;
            for (int frame = 0; frame < 120; ++frame) {
                Frame();
                flashed = flashed || !FormsOf<CColorFlashForm>().empty();
            }
            EXPECT_EQ(reset, flashed);
        }
        // The save gone or kept (all that the reset clears: the resource scene's tests); the preferences are written
        // at exit only.
        EXPECT_EQ(std::tuple(options, !reset, false),
                  std::tuple(screen->GetActiveForm(), std::filesystem::exists(mainSave),
                             std::filesystem::exists(folder.File("preference.dat"))));
    }
    screen->RemoveAllControls();

    // Changed settings are in the preference files, written at exit, at the next start, each through its form and
    // file. (Every field's bytes and reading: the preference tests; the display file's own keys: its tests.)
    sound = Show(boost::make_shared<CSoundSettingsForm>());
    sound->MusicVolumeSelector->SetSelectedIndex(10);
    sound->SoundVolumeSelector->SetSelectedIndex(15);
    sound->MusicVersionSelector->SetSelectedIndex(1);
    screen->RemoveAllControls();
    auto display = Show(boost::make_shared<CScreenSettingsForm>());
    display->RotateSelector->SetSelectedIndex(2);
    display->AspectRatioSelector->SetSelectedIndex(3);
    screen->RemoveAllControls();
    Show(boost::make_shared<CKeyMappingForm>("Keyboard Mapping", 0u, false))->SuperShotLabel->SetFocus();
    Press(SDL_SCANCODE_V);
    screen->RemoveAllControls();

    scene->Shutdown();
    delete scene;
    MusicVolume = 0;
    EffectVolume = 0;
    CMegaWindowScene::GetInstance()->SetScreenRotation(0);
    CMegaWindowScene::GetInstance()->SetAspectRatio(0);
    Keyboard().SetMapping("x3", 0, 0x2E);
    scene = CResourceScene::GetInstance();
    scene->Initialize();
    EXPECT_EQ(std::tuple(-5000, -2500, 0, 0x2Fu, 2, 3, true),
              std::tuple(MusicVolume.load(), EffectVolume.load(), int(scene->GetMusicVersion()),
                         Keyboard().GetMapping("x3", 0), CMegaWindowScene::GetInstance()->GetScreenRotation(),
                         CMegaWindowScene::GetInstance()->GetAspectRatio(),
                         korvane::test::TempDir::Read(folder.File("display_setting.ini")).find("ScreenRotation=2") !=
                             std::string::npos));
}

TEST_F(OptionsTest, KeyMappingBindsAHeldKeyOrPadButtonToTheFocusedRowAndStaysSafeWithoutADevice)
{
    auto form = Show(boost::make_shared<CKeyMappingForm>("Keyboard Mapping", 0u, false));
    sounds.clear();
    // The form taking the focus as it opens is the first focus change: Exit's hints.
    EXPECT_EQ(std::tuple("Keyboard Mapping", form->ExitButton, scene->GetText("_1"), false),
              std::tuple(form->FormCaptionLabel->GetCaption(), form->GetFocusedLeaf(), form->HintLabel1->GetCaption(),
                         form->SystemKeyPanel->IsEnabled()));
    // Each row shows its caption; its text key stays behind it.
    std::vector<std::pair<std::string, std::string>> rows;
    for (const KeyMappingRow& row : form->GetRows())
        rows.emplace_back(row.rowControl->GetCaption(), row.rowControl->GetText());
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{{" Frontal Shot", "180"},
                                                                {" Wide Shot", "181"},
                                                                {" Shield", "182"},
                                                                {" SUPER SHOT", "183"},
                                                                {" OK", "184"},
                                                                {" Cancel", "185"},
                                                                {" Pause", "187"}}),
              rows);

    form->FrontShotLabel->SetFocus();
    EXPECT_EQ(std::tuple(scene->GetText("180_1"), scene->GetText("180_2")),
              std::tuple(form->HintLabel1->GetCaption(), form->HintLabel2->GetCaption()));

    korvane::test::PushKey(SDL_SCANCODE_Q, true);
    Poll();
    Frames(3);
    EXPECT_EQ(std::tuple(0x10u, "[" + Keyboard().GetInputName("x2", 0) + "]", std::vector<EUiSound>{EUiSound::Decide}),
              std::tuple(Keyboard().GetMapping("x2", 0), form->FrontShotKeyLabel->GetCaption(), sounds))
        << "held for three frames, one sound";
    korvane::test::PushKey(SDL_SCANCODE_Q, false);
    Poll();

    // The same key on another row plays; again on that row later does not; x2 keeps Q too.
    for (auto* row : {form->WideShotLabel.get(), form->FrontShotLabel.get(), form->WideShotLabel.get()}) {
        row->SetFocus();
        Press(SDL_SCANCODE_Q);
    }
    EXPECT_EQ(std::tuple(std::vector<EUiSound>(4, EUiSound::Decide), 0x10u, 0x10u),
              std::tuple(sounds, Keyboard().GetMapping("x1", 0), Keyboard().GetMapping("x2", 0)));

    // Directions and the locked system keys bind nothing; Tab binds like any other key.
    sounds.clear();
    form->ShieldLabel->SetFocus();
    for (SDL_Scancode held : {SDL_SCANCODE_LEFT, SDL_SCANCODE_RETURN, SDL_SCANCODE_ESCAPE})
        Press(held);
    EXPECT_EQ(std::tuple(0x2Du, 0u), std::tuple(Keyboard().GetMapping("x4", 0), sounds.size()));
    Press(SDL_SCANCODE_TAB);
    EXPECT_EQ(std::tuple(0x0Fu, "[TAB]", std::vector<EUiSound>{EUiSound::Decide}),
              std::tuple(Keyboard().GetMapping("x4", 0), form->ShieldKeyLabel->GetCaption(), sounds));

    // DEFAULT restores the keyboard defaults and the labels.
    ClickOn(*form->DefaultButton);
    EXPECT_EQ(std::tuple(0x2Cu, "[" + Keyboard().GetInputName("x1", 0) + "]", scene->GetText("_1")),
              std::tuple(Keyboard().GetMapping("x1", 0), form->WideShotKeyLabel->GetCaption(),
                         form->HintLabel1->GetCaption()));

    // On a pad form every row binds a button, and Escape stays on the row.
    auto pad = korvane::test::VirtualJoystick::Pad(0x045E, 0x028E, "Options Test Pad");
    ASSERT_TRUE(pad.Attached());
    Poll();
    // Without a reader of its own the link reads the started scene's merged controller, each press once.
    CFormSceneLink::SetPressReader({});
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    Poll();
    EXPECT_EQ(std::pair(true, false),
              (std::pair{CFormSceneLink::WasPressed("decide"), CFormSceneLink::WasPressed("decide")}));
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, false);
    Poll();
    screen->RemoveAllControls();
    auto padForm = Show(boost::make_shared<CKeyMappingForm>("X-Input Mapping", 3u, true));
    ASSERT_EQ(std::tuple(4u, true),
              std::tuple(padForm->GetTargetControllers().size(), padForm->SystemKeyPanel->IsEnabled()));
    sounds.clear();

    padForm->CancelLabel->SetFocus();
    screen->OnKeyDown(kKeyEscape);
    EXPECT_EQ(std::tuple(padForm->CancelLabel, 0u), std::tuple(padForm->GetFocusedLeaf(), sounds.size()))
        << "the cancel button may be bound here";

    // The buttons held over one frame of the screen, then let go.
    auto press = [&](std::initializer_list<int> buttons) {
        for (bool down : {true, false}) {
            for (int button : buttons)
                pad.SetButton(button, down);
            Poll();
            if (down)
                Frame();
        }
    };
    press({SDL_CONTROLLER_BUTTON_Y});
    for (korvane::IController* target : padForm->GetTargetControllers())
        EXPECT_EQ(3u, target->GetMapping("cancel", 0)) << "every pad slot";
    EXPECT_EQ(std::vector<EUiSound>{EUiSound::Decide}, sounds);

    // A held direction binds nothing.
    padForm->OkLabel->SetFocus();
    press({SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_X});
    EXPECT_EQ(0u, padForm->GetTargetControllers().front()->GetMapping("decide", 0));

    // With no device of the kind the screen stays safe.
    screen->RemoveAllControls();
    auto none = boost::make_shared<CKeyMappingForm>("Direct-Input Mapping", 1u, true);
    EXPECT_THROW(screen->AddControl(none), korvane::EIOError);
    Frames(60);
    EXPECT_EQ(std::tuple(0u, "[NONE]"),
              std::tuple(none->GetTargetControllers().size(), none->OkKeyLabel->GetCaption()));
    none->OkLabel->SetFocus();
    Press(SDL_SCANCODE_Q);
    sounds.clear();
    ClickOn(*none->DefaultButton);
    EXPECT_EQ(std::tuple(std::vector<EUiSound>{EUiSound::Decide}, "[NONE]"),
              std::tuple(sounds, none->OkKeyLabel->GetCaption()));
}
