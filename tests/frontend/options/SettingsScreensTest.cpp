/** @file SettingsScreensTest.cpp The sound and screen settings screens and the display mode countdown, through the
 * real toolkit, graphics device and resource scene on a fixed frame clock. */
#include <tuple>

#include "OptionsTestSupport.h"
#include "frontend/forms/ScreenModeConfirmDialogForm.h"
#include "frontend/forms/ScreenSettingsForm.h"
#include "frontend/forms/SettingsFormParts.h"
#include "frontend/forms/SoundSettingsForm.h"

using namespace optiontest;
using form_names::kKeyEscape;
using form_names::kKeyLeft;
using form_names::kKeyReturn;
using form_names::kKeyRight;

std::vector<EUiSound> Repeat(EUiSound sound, std::size_t times, std::vector<EUiSound> before = {})
{
    before.insert(before.end(), times, sound);
    return before;
}

TEST(CountdownTextTest, OnlyTheFirstPlaceholderIsFilledAndNothingElseFormats)
{
    for (const auto& [text, expected] : {std::pair{"Returning in %s seconds.", "Returning in 12.34 seconds."},
                                         {"%s and %s", "12.34 and %s"},
                                         {"100% sure: %d %n %s", "100% sure: %d %n 12.34"},
                                         {"no placeholder", "no placeholder"},
                                         {"", ""}})
        EXPECT_EQ(expected, ReplaceFirstPlaceholder(text, "12.34")) << text;
    EXPECT_EQ(505u + 5u, ReplaceFirstPlaceholder(std::string(505, 'a') + "%s\xC3\xA9", "12.34").size())
        << "cut at the formatter's limit, before a split character";
}

TEST_F(OptionsTest, TheSoundSettingsShowTheStepsStopAtTheEndsAndDefaultRunsEveryHandlerOnceMore)
{
    const auto open = [this](std::int32_t music, std::int32_t effect, std::uint8_t version) {
        screen->RemoveAllControls();
        MusicVolume = music;
        EffectVolume = effect;
        scene->SetMusicVersion(version);
        return Show(boost::make_shared<CSoundSettingsForm>());
    };
    const auto shown = [](const korvane::mwt::CHorizontalSelector& selector) {
        const std::int32_t index = selector.GetSelectedIndex();
        return index < 0 ? "" : selector.GetItems()[static_cast<std::size_t>(index)];
    };
    // Opening: music and effect volume; the steps shown, the volumes stored (an off-step one exactly), and the
    // cursor sounds.
    const std::tuple<std::int32_t, std::int32_t, const char*, const char*, std::int32_t, std::int32_t, std::size_t>
        cases[] = {{-5250, -5000, "45", "50", -5500, -5000, 2},
                   {-10000, 0, "0", "100", -10000, 0, 1},
                   {-10000, -10000, "0", "0", -10000, -10000, 0}};
    for (const auto& [music, effect, musicShown, effectShown, musicStored, effectStored, cursorSounds] : cases) {
        sounds.clear();
        auto form = open(music, effect, 1);
        EXPECT_EQ(std::tuple(musicShown, effectShown, musicStored, effectStored, Repeat(EUiSound::Cursor, cursorSounds),
                             form->MusicVolumeLabel),
                  std::tuple(shown(*form->MusicVolumeSelector), shown(*form->SoundVolumeSelector), MusicVolume.load(),
                             EffectVolume.load(), sounds, form->GetFocusedLeaf()))
            << music << " " << effect;
    }

    // Stepping through the row labels stops at the ends.
    auto form = open(0, -10000, 0);
    EXPECT_EQ("Original", shown(*form->MusicVersionSelector));
    sounds.clear();
    screen->OnKeyDown(kKeyRight);
    EXPECT_EQ(std::tuple(0, 0u), std::tuple(MusicVolume.load(), sounds.size())) << "right on 100 does nothing";
    KeysOn(*form->Label2, {kKeyLeft});
    EXPECT_EQ(std::tuple(-10000, 0u), std::tuple(EffectVolume.load(), sounds.size())) << "left on 0 does nothing";
    screen->OnKeyDown(kKeyRight);
    EXPECT_EQ(std::tuple(-9500, std::vector<EUiSound>{EUiSound::Cursor}), std::tuple(EffectVolume.load(), sounds));
    KeysOn(*form->Label1, {kKeyLeft});
    EXPECT_EQ(std::tuple(1, "Extended(Area21-)"),
              std::tuple(int(scene->GetMusicVersion()), shown(*form->MusicVersionSelector)));

    // Default runs every handler once more after the decide sound.
    form = open(0, 0, 1);
    sounds.clear();
    ClickOn(*form->DefaultButton);
    EXPECT_EQ(Repeat(EUiSound::Cursor, 3, {EUiSound::Decide}), sounds) << "nothing changed";
    KeysOn(*form->Label1, {kKeyRight});
    ASSERT_EQ(0, scene->GetMusicVersion());
    sounds.clear();
    form->DefaultButton->SetFocus();
    ClickOn(*form->DefaultButton);
    // The version's selector reports its change, then the handler runs again directly.
    EXPECT_EQ(std::tuple(1, Repeat(EUiSound::Cursor, 4, {EUiSound::Decide}), 0, 0),
              std::tuple(int(scene->GetMusicVersion()), sounds, MusicVolume.load(), EffectVolume.load()));
}

TEST_F(OptionsTest, TheScreenSettingsKeepTheListOrderRestoreTheOpeningModeOnEscapeOrTimeoutAndKeepAnAppliedMode)
{
    korvane::CGraphicsModePreference& modes = driver()->GetGraphicsModePreference();
    const auto open = [this] {
        auto form = Show(boost::make_shared<CScreenSettingsForm>());
        sounds.clear();
        return form;
    };
    auto form = open();
    EXPECT_EQ((std::vector<std::string>{"640x480(60Hz)", "800x600(60Hz)", "1280x720(60Hz)", "1280x720(60Hz)"}),
              form->ScreenSizeSelector->GetItems());
    EXPECT_EQ(std::tuple(2, " Exit", false, false, form->ScreenModeLabel),
              std::tuple(form->ScreenSizeSelector->GetSelectedIndex(), form->ExitButton->GetCaption(),
                         form->WallpaperBrightnessLabel->IsVisible(), form->DefaultButton->IsVisible(),
                         form->GetFocusedLeaf()));

    // Full screen chosen and back; the duplicate, another mode, chosen and back.
    for (const auto& [row, key, caption] : {std::tuple{form->ScreenModeLabel, kKeyRight, " APPLY"},
                                            {form->ScreenModeLabel, kKeyLeft, " EXIT"},
                                            {form->Label2, kKeyRight, " APPLY"},
                                            {form->Label2, kKeyLeft, " EXIT"}}) {
        KeysOn(*row, {key});
        EXPECT_EQ(caption, form->ExitButton->GetCaption()) << row->GetName() << " " << key;
    }
    EXPECT_EQ(Repeat(EUiSound::Cursor, 4), sounds);
    // Chosen back as it was: leaving asks nothing.
    ExpectCancelRule(*form, form->ExitButton);
    EXPECT_FALSE(form->GetConfirmDialog());
    Only<COptionsForm>();
    screen->RemoveAllControls();

    // Escape or the timeout restores the opening mode, but rotation and aspect stay.
    for (const bool timeout : {false, true}) {
        form = open();
        KeysOn(*form->RotateLabel, {kKeyRight});
        KeysOn(*form->Label1, {kKeyRight, kKeyRight});
        KeysOn(*form->Label2, {kKeyLeft, kKeyLeft});
        ClickOn(*form->ExitButton);
        EXPECT_EQ(0, modes.selectedIndex);
        auto dialog = form->GetConfirmDialog();
        ASSERT_TRUE(dialog);
        const int resets = os::testing::GetResetCallCount();
        sounds.clear();
        if (timeout) {
            // The countdown run by frames of the fixed clock until it closes (at most 20 s).
            int frames = 0;
            for (; !dialog->IsClosing() && frames < 20 * 75; ++frames)
                Frame();
            EXPECT_NEAR(15 * 75 + 1, frames, 1) << "only a negative remainder cancels";
        } else {
            Frames(10);
            screen->OnKeyDown(kKeyEscape);
        }
        EXPECT_EQ(std::vector<EUiSound>{EUiSound::Cancel}, sounds);
        Frames(60);
        // Declined; the mode the screen opened with re-applied; rotation and aspect as chosen.
        EXPECT_EQ(std::tuple(false, 2, false, resets + 1, 1280u, " EXIT", form, 1, 2),
                  std::tuple(dialog->IsAccepted(), modes.selectedIndex, modes.fullscreen,
                             os::testing::GetResetCallCount(),
                             driver()->GetGraphics()->GetCurrentPresentParameters().BackBufferWidth,
                             form->ExitButton->GetCaption(), screen->GetActiveForm(),
                             CMegaWindowScene::GetInstance()->GetScreenRotation(),
                             CMegaWindowScene::GetInstance()->GetAspectRatio()));
        screen->RemoveAllControls();
        CMegaWindowScene::GetInstance()->SetScreenRotation(0);
        CMegaWindowScene::GetInstance()->SetAspectRatio(0);
    }

    // Apply switches the device; Return keeps the mode; the countdown alone cancels once, even on one long frame.
    form = open();
    KeysOn(*form->Label2, {kKeyLeft});
    const int resets = os::testing::GetResetCallCount();
    ClickOn(*form->ExitButton);
    const auto& present = driver()->GetGraphics()->GetCurrentPresentParameters();
    EXPECT_EQ(std::tuple(1, resets + 1, 800u, driver()->GetGameWindow()->GetHandle()),
              std::tuple(modes.selectedIndex, os::testing::GetResetCallCount(), present.BackBufferWidth,
                         present.DeviceWindow));
    auto dialog = form->GetConfirmDialog();
    ASSERT_TRUE(dialog);
    Frames(75);
    EXPECT_EQ(ReplaceFirstPlaceholder(scene->GetText("2024_2"), "14.00"), dialog->Line3Label->GetCaption());

    screen->OnKeyDown(kKeyReturn);
    Frames(60);
    EXPECT_EQ(std::tuple(true, 1, 0u),
              std::tuple(dialog->IsAccepted(), modes.selectedIndex, FormsOf<CScreenSettingsForm>().size()))
        << "the mode kept";
    Only<COptionsForm>();

    // The countdown alone cancels once, even on one long frame.
    screen->RemoveAllControls();
    auto alone = Show(boost::make_shared<CScreenModeConfirmDialogForm>());
    sounds.clear();
    Frame(16.0f);
    Frame(1.0f);
    EXPECT_EQ(std::tuple(true, false, std::vector<EUiSound>{EUiSound::Cancel}),
              std::tuple(alone->IsClosing(), alone->IsAccepted(), sounds));
    EXPECT_EQ(std::string::npos, alone->Line3Label->GetCaption().find('-')) << "no negative count shown";
}

// What the exit saves while the countdown is answered: the mode the screen opened with until the answer, a kept mode
// from the key on (the program may end while the dialog is still closing), a refused one never.
TEST_F(OptionsTest, TheScreenSettingsSaveAnAppliedModeFromTheMomentItIsKept)
{
    korvane::CGraphicsModePreference& modes = driver()->GetGraphicsModePreference();
    const auto savedWidth = [&] {
        modes.Save(folder.File("display_setting.ini"));
        const std::string text = korvane::test::TempDir::Read(folder.File("display_setting.ini"));
        const std::size_t from = text.find("ScreenWidth=");
        return from == std::string::npos ? std::string() : text.substr(from + 12, text.find('\r', from) - from - 12);
    };
    for (const auto& [name, key, kept] : {std::tuple{"Return", kKeyReturn, "800"}, {"Escape", kKeyEscape, "1280"}}) {
        modes.SelectMode(2);
        auto form = Show(boost::make_shared<CScreenSettingsForm>());
        KeysOn(*form->Label2, {kKeyLeft});
        ClickOn(*form->ExitButton);
        Frames(10);
        EXPECT_EQ("1280", savedWidth()) << "awaiting the answer";
        screen->OnKeyDown(key);
        ASSERT_TRUE(form->GetConfirmDialog()->IsClosing());
        EXPECT_EQ(kept, savedWidth()) << name << ": answered, the dialog still closing";
        Frames(60);
        EXPECT_EQ(kept, savedWidth()) << name << ": closed";
        screen->RemoveAllControls();
    }
}
