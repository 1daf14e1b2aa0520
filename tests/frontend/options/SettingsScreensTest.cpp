/** @file SettingsScreensTest.cpp The sound and screen settings screens and the display mode countdown, through the
 * real toolkit, graphics device and resource scene on a fixed frame clock. */
#include <tuple>

#include "OptionsTestSupport.h"
#include "frontend/forms/OptionsForm.h"
#include "frontend/forms/ScreenModeConfirmDialogForm.h"
#include "frontend/forms/ScreenSettingsForm.h"
#include "frontend/forms/SettingsFormParts.h"
#include "frontend/forms/SoundSettingsForm.h"

using namespace optiontest;
using form_names::kKeyEscape;
using form_names::kKeyLeft;
using form_names::kKeyReturn;
using form_names::kKeyRight;

namespace
{

std::vector<EUiSound> Repeat(EUiSound sound, std::size_t times, std::vector<EUiSound> before = {})
{
    before.insert(before.end(), times, sound);
    return before;
}

} // namespace

TEST(CountdownTextTest, OnlyTheFirstPlaceholderIsFilledAndNothingElseFormats)
{
    for (const auto& [text, expected] : {std::pair{"Returning in %s seconds.", "Returning in 12.34 seconds."},
                                         {"%s and %s", "12.34 and %s"},
                                         {"100% sure: %d %n %s", "100% sure: %d %n 12.34"},
                                         {"no placeholder", "no placeholder"},
                                         {"", ""}})
        EXPECT_EQ(expected, ReplaceFirstPlaceholder(text, "12.34")) << text;
    const std::string longText = std::string(505, 'a') + "%s\xC3\xA9";
    const std::string cut = ReplaceFirstPlaceholder(longText, "12.34");
    EXPECT_EQ(505u + 5u, cut.size()) << "cut at the formatter's limit, before a split character";
}

class SoundSettingsTest : public OptionsTest
{
protected:
    boost::shared_ptr<CSoundSettingsForm> Open(std::int32_t music, std::int32_t effect, std::uint8_t version)
    {
        MusicVolume = music;
        EffectVolume = effect;
        scene->SetMusicVersion(version);
        return Show(boost::make_shared<CSoundSettingsForm>());
    }

    static std::string Shown(const korvane::mwt::CHorizontalSelector& selector)
    {
        const std::int32_t index = selector.GetSelectedIndex();
        return index < 0 ? "" : selector.GetItems()[static_cast<std::size_t>(index)];
    }
};

TEST_F(SoundSettingsTest, OpeningShowsTheStepsAndStoresAnOffStepVolumeExactly)
{
    struct Case
    {
        std::int32_t music, effect;
        const char* musicShown;
        const char* effectShown;
        std::int32_t musicStored, effectStored;
        std::size_t cursorSounds;
    };
    const Case cases[] = {{-5250, -5000, "45", "50", -5500, -5000, 2},
                          {-10000, 0, "0", "100", -10000, 0, 1},
                          {-10000, -10000, "0", "0", -10000, -10000, 0}};
    for (const Case& c : cases) {
        sounds.clear();
        auto form = Open(c.music, c.effect, 1);
        SCOPED_TRACE(std::to_string(c.music) + " " + std::to_string(c.effect));
        EXPECT_EQ(std::tuple(std::string(c.musicShown), std::string(c.effectShown), c.musicStored, c.effectStored),
                  std::tuple(Shown(*form->MusicVolumeSelector), Shown(*form->SoundVolumeSelector), MusicVolume.load(),
                             EffectVolume.load()));
        EXPECT_EQ(Repeat(EUiSound::Cursor, c.cursorSounds), sounds);
        EXPECT_EQ(form->MusicVolumeLabel, form->GetFocusedLeaf());
        screen->RemoveAllControls();
    }
}

TEST_F(SoundSettingsTest, StepsThroughTheRowLabelsStopAtTheEnds)
{
    auto form = Open(0, -10000, 0);
    EXPECT_EQ("Original", Shown(*form->MusicVersionSelector));
    sounds.clear();
    screen->OnKeyDown(kKeyRight);
    EXPECT_EQ(0, MusicVolume.load()) << "right on 100 does nothing";
    EXPECT_TRUE(sounds.empty());

    KeysOn(*form->Label2, {kKeyLeft});
    EXPECT_EQ(-10000, EffectVolume.load()) << "left on 0 does nothing";
    EXPECT_TRUE(sounds.empty());
    screen->OnKeyDown(kKeyRight);
    EXPECT_EQ(-9500, EffectVolume.load());
    EXPECT_EQ(std::vector<EUiSound>{EUiSound::Cursor}, sounds);

    KeysOn(*form->Label1, {kKeyLeft});
    EXPECT_EQ(1, scene->GetMusicVersion());
    EXPECT_EQ("Extended(Area21-)", Shown(*form->MusicVersionSelector));
}

TEST_F(SoundSettingsTest, DefaultRunsEveryHandlerOnceMoreAfterTheDecideSound)
{
    auto form = Open(0, 0, 1);
    sounds.clear();
    ClickOn(*form->DefaultButton);
    EXPECT_EQ(Repeat(EUiSound::Cursor, 3, {EUiSound::Decide}), sounds) << "nothing changed";

    KeysOn(*form->Label1, {kKeyRight});
    ASSERT_EQ(0, scene->GetMusicVersion());
    sounds.clear();
    form->DefaultButton->SetFocus();
    ClickOn(*form->DefaultButton);
    EXPECT_EQ(1, scene->GetMusicVersion());
    // The version's selector reports its change, then the handler runs again directly.
    EXPECT_EQ(Repeat(EUiSound::Cursor, 4, {EUiSound::Decide}), sounds);
    EXPECT_EQ((std::vector<std::int32_t>{0, 0}), (std::vector<std::int32_t>{MusicVolume, EffectVolume}));
}

class ScreenSettingsTest : public OptionsTest
{
protected:
    korvane::CGraphicsModePreference& Modes() { return driver()->GetGraphicsModePreference(); }

    boost::shared_ptr<CScreenSettingsForm> Open()
    {
        auto form = Show(boost::make_shared<CScreenSettingsForm>());
        sounds.clear();
        return form;
    }
};

TEST_F(ScreenSettingsTest, TheResolutionsKeepTheListOrderAndTheExitCaptionFollowsTheChoice)
{
    auto form = Open();
    EXPECT_EQ((std::vector<std::string>{"640x480(60Hz)", "800x600(60Hz)", "1280x720(60Hz)", "1280x720(60Hz)"}),
              form->ScreenSizeSelector->GetItems());
    EXPECT_EQ(2, form->ScreenSizeSelector->GetSelectedIndex());
    EXPECT_EQ(" Exit", form->ExitButton->GetCaption());
    EXPECT_FALSE(form->WallpaperBrightnessLabel->IsVisible());
    EXPECT_FALSE(form->DefaultButton->IsVisible());
    EXPECT_EQ(form->ScreenModeLabel, form->GetFocusedLeaf());

    screen->OnKeyDown(kKeyRight);
    EXPECT_EQ(" APPLY", form->ExitButton->GetCaption()) << "full screen chosen";
    screen->OnKeyDown(kKeyLeft);
    EXPECT_EQ(" EXIT", form->ExitButton->GetCaption());
    KeysOn(*form->Label2, {kKeyRight});
    EXPECT_EQ(" APPLY", form->ExitButton->GetCaption()) << "the duplicate is another mode";
    screen->OnKeyDown(kKeyLeft);
    EXPECT_EQ(" EXIT", form->ExitButton->GetCaption());
    EXPECT_EQ(Repeat(EUiSound::Cursor, 4), sounds);
    // Chosen back as it was: leaving asks nothing.
    ExpectCancelRule(*form, form->ExitButton);
    EXPECT_FALSE(form->GetConfirmDialog());
    EXPECT_TRUE(Only<COptionsForm>());
}

TEST_F(ScreenSettingsTest, ApplySwitchesTheDeviceAndReturnKeepsTheMode)
{
    auto form = Open();
    KeysOn(*form->Label2, {kKeyLeft});
    const int resets = os::testing::GetResetCallCount();
    ClickOn(*form->ExitButton);
    const auto& present = driver()->GetGraphics()->GetCurrentPresentParameters();
    EXPECT_EQ(std::tuple(1, resets + 1, 800u, driver()->GetGameWindow()->GetHandle()),
              std::tuple(Modes().selectedIndex, os::testing::GetResetCallCount(), present.BackBufferWidth,
                         present.DeviceWindow));
    auto dialog = form->GetConfirmDialog();
    ASSERT_TRUE(dialog);
    Frames(75);
    EXPECT_EQ(ReplaceFirstPlaceholder(scene->GetText("2024_2"), "14.00"), dialog->Line3Label->GetCaption());

    screen->OnKeyDown(kKeyReturn);
    Frames(60);
    EXPECT_TRUE(dialog->IsAccepted());
    EXPECT_EQ(1, Modes().selectedIndex) << "kept";
    EXPECT_TRUE(FormsOf<CScreenSettingsForm>().empty());
    EXPECT_TRUE(Only<COptionsForm>());
}

TEST_F(ScreenSettingsTest, EscapeOrTheTimeoutRestoresTheOpeningModeButRotationAndAspectStay)
{
    for (const bool timeout : {false, true}) {
        auto form = Open();
        KeysOn(*form->RotateLabel, {kKeyRight});
        KeysOn(*form->Label1, {kKeyRight, kKeyRight});
        KeysOn(*form->Label2, {kKeyLeft, kKeyLeft});
        ClickOn(*form->ExitButton);
        EXPECT_EQ(0, Modes().selectedIndex);
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
        EXPECT_FALSE(dialog->IsAccepted());
        EXPECT_EQ(2, Modes().selectedIndex) << "the mode the screen opened with";
        EXPECT_FALSE(Modes().fullscreen);
        EXPECT_EQ(resets + 1, os::testing::GetResetCallCount()) << "re-applied";
        EXPECT_EQ(1280u, driver()->GetGraphics()->GetCurrentPresentParameters().BackBufferWidth);
        EXPECT_EQ(" EXIT", form->ExitButton->GetCaption());
        EXPECT_EQ(form, screen->GetActiveForm());
        EXPECT_EQ(1, CMegaWindowScene::GetInstance()->GetScreenRotation());
        EXPECT_EQ(2, CMegaWindowScene::GetInstance()->GetAspectRatio());
        screen->RemoveAllControls();
        CMegaWindowScene::GetInstance()->SetScreenRotation(0);
        CMegaWindowScene::GetInstance()->SetAspectRatio(0);
    }
}

TEST_F(ScreenSettingsTest, TheCountdownCancelsOnceEvenOnOneLongFrame)
{
    auto dialog = Show(boost::make_shared<CScreenModeConfirmDialogForm>());
    sounds.clear();
    Frame(16.0f);
    Frame(1.0f);
    EXPECT_TRUE(dialog->IsClosing());
    EXPECT_FALSE(dialog->IsAccepted());
    EXPECT_EQ(std::vector<EUiSound>{EUiSound::Cancel}, sounds);
    EXPECT_EQ(std::string::npos, dialog->Line3Label->GetCaption().find('-')) << "no negative count shown";
}
