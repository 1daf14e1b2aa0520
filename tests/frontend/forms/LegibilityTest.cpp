/** @file LegibilityTest.cpp The forms this program lays out itself, read back from OpenGL one unit to a pixel: every
 * text stands at least 4.5:1 against what is drawn behind it (read from the pixels its glyphs cover and leave bare),
 * the on-screen pointer on the focused item stands out against the menu, and the dialogs' lines leave the keys to the
 * dialog's own guides. */
#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "FormsTestSupport.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "frontend/forms/ControllerSettingsForm.h"
#include "frontend/forms/CreditsForm.h"
#include "frontend/forms/CursorForm.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/LeaderboardDialogs.h"
#include "os/gfx/ResultCodes.h"
#include "support/Contrast.h"
#include "support/FontReader.h"
#include "support/ReferenceImage.h"

using namespace formtest;
using korvane::mwt::CControl;
using korvane::mwt::CLabel;
using korvane::test::Contrast;
using korvane::test::FontReader;
using korvane::test::PlacedTextContrast;

namespace
{

/// A text table of the source data: key to text.
std::map<std::string, std::string> TextTable(const std::string& language)
{
    std::ifstream file(std::string(KORVANE_SOURCE_DIR) + "/data/text_" + language + ".properties");
    std::map<std::string, std::string> table;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t at = line.find('=');
        if (!line.empty() && line[0] != ';' && at != std::string::npos)
            table[line.substr(0, at)] = line.substr(at + 1);
    }
    return table;
}

} // namespace

class LegibilityTest : public FormsTest
{
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        // Buttons without an appearance of their own take the skin's, as in the program.
        savedButtonLook = korvane::mwt::CDefaultFactories::ButtonAppearance;
        korvane::mwt::CDefaultFactories::ButtonAppearance =
            korvane::mwt::CControlAppearanceStock::GetInstance()->GetFactory("SkinButton");
        CGameSelectForm::ResetFocusIndex();
    }
    void TearDown() override
    {
        korvane::mwt::CDefaultFactories::ButtonAppearance = savedButtonLook;
        SetLeaderboardTextLookup({});
        FormsTest::TearDown();
    }

    /// The screen drawn with the box's top left (screen units) at the device's, one unit to a pixel; the box's pixels
    /// (as far as the small device reaches), 0xRRGGBB.
    korvane::test::ReferenceImage Picture(const korvane::Vector2<float>& at, const korvane::Vector2<float>& size)
    {
        korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
        const auto& present = driver->GetGraphics()->GetCurrentPresentParameters();
        const float w = static_cast<float>(present.BackBufferWidth), h = static_cast<float>(present.BackBufferHeight);
        const ScreenPicture picture = DrawScreen(at.x, at.x + w, at.y + h, at.y);
        EXPECT_EQ(os::gfx::kOk, picture.cleared);
        EXPECT_EQ(os::gfx::kOk, picture.read);
        const std::vector<std::uint32_t>& all = picture.pixels;
        const std::uint32_t width = picture.width, height = picture.height;
        korvane::test::ReferenceImage box;
        const int cw = std::min(static_cast<int>(size.x), static_cast<int>(width));
        const int ch = std::min(static_cast<int>(size.y), static_cast<int>(height));
        box.width = static_cast<std::uint32_t>(std::max(cw, 0));
        box.height = static_cast<std::uint32_t>(std::max(ch, 0));
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x)
                box.pixels.push_back(all[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)] &
                                     0xFFFFFFu);
        return box;
    }

    korvane::test::ReferenceImage Picture(const CControl& control)
    {
        return Picture(control.LocalToScreen(korvane::Vector2<float>(0.0f, 0.0f)), control.GetSize());
    }

    /// The contrast of a button's or label's text against what is drawn behind it, read where the control draws it.
    double TextContrastOf(CControl& control)
    {
        std::string text, font;
        std::int32_t vertical = CLabel::kAlignNear;
        if (const auto* button = dynamic_cast<korvane::mwt::CButton*>(&control)) {
            text = button->GetCaption();
            font = button->GetFont().GetName();
            vertical = button->GetVerticalAlignment();
        } else if (auto* label = dynamic_cast<CLabel*>(&control)) {
            text = label->GetCaption();
            font = label->GetFont().GetName();
            vertical = label->GetVerticalAlignment();
        }
        FontReader reader(font);
        const int height = static_cast<int>(control.GetSize().y), line = reader.LineHeight();
        const int top = vertical == CLabel::kAlignCenter ? (height - line) / 2
                        : vertical == CLabel::kAlignFar  ? height - line
                                                         : 0;
        return PlacedTextContrast(Picture(control), reader, text, 0, top);
    }

    /// Every text-bearing control of the form at 4.5:1 or more.
    void ExpectLegible(const std::vector<boost::shared_ptr<CControl>>& controls)
    {
        Frames(60);
        for (const auto& control : controls)
            EXPECT_GE(TextContrastOf(*control), 4.5) << control->GetName();
    }

    /// The pointer, as the window scene puts it in focus navigation (12 units into the focused item, at half its
    /// height), at the top of its pulse (whole seconds), differs from the menu under it at 3:1 or more over a good
    /// part of its picture.
    void ExpectPointerShows(CControl& focused, CControl& other)
    {
        auto cursor = boost::make_shared<CCursorForm>();
        screen->AddControl(cursor);
        Frames(75);
        const auto pointAt = [&cursor](CControl& item) {
            item.SetFocus();
            cursor->SetCursorPosition(item.LocalToScreen(korvane::Vector2<float>(12.0f, item.GetSize().y * 0.5f)));
        };
        pointAt(focused);
        const korvane::Vector2<float> at = cursor->GetLocation(), size = cursor->GetSize();
        const auto pointed = Picture(at, size).pixels;
        pointAt(other);
        const auto plain = Picture(at, size).pixels;
        screen->RemoveControl(cursor.get());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < pointed.size(); ++i)
            differing += Contrast(pointed[i], plain[i]) >= 3.0 ? 1 : 0;
        // The arrow fills about an eighth of its picture.
        EXPECT_GT(differing, pointed.size() / 16) << focused.GetName();
    }

    korvane::mwt::CControl::AppearanceFactoryFunction savedButtonLook;
};

TEST_F(LegibilityTest, OwnFormsTextsStandOutAndThePointerShowsTheFocusedItem)
{
    const auto texts = TextTable("en");
    auto menu = Show(boost::make_shared<CGameSelectForm>());
    ExpectLegible({menu->Label1, menu->MainGameButton, menu->CompanionGameButton, menu->OptionsButton,
                   menu->LeaderboardsButton, menu->CreditsButton, menu->ExitButton});
    // The skinned window's caption: its form name in the form's font ("default", built as FONT12T2S), centred in
    // the height of the skin's caption band from the form's top, 8 in.
    FontReader captionFont("FONT12T2S");
    EXPECT_GE(PlacedTextContrast(Picture({0.0f, 0.0f}, {240.0f, 24.0f}), captionFont, menu->GetFormName(), 8,
                                 (24 - captionFont.LineHeight()) / 2),
              4.5)
        << "caption";

    for (const auto& [focused, other] :
         {std::pair{menu->MainGameButton, menu->ExitButton}, std::pair{menu->ExitButton, menu->OptionsButton}})
        ExpectPointerShows(*focused, *other);

    // The controller settings over the wallpaper the title menu leaves.
    menu->Close();
    Frames(60);
    auto controllers = Show(boost::make_shared<CControllerSettingsForm>());
    ASSERT_EQ(form_names::kImageTitleWallpaper, CFormSceneLink::GetWallpaperPath());
    ExpectLegible({controllers->Label1, controllers->KeyboardButton, controllers->DirectInputButton,
                   controllers->XInputButton, controllers->ExitButton});
    ExpectPointerShows(*controllers->KeyboardButton, *controllers->ExitButton);
    screen->RemoveAllControls();

    SetLeaderboardTextLookup([&texts](const std::string& key) { return texts.at(key); });
    auto credits = Show(boost::make_shared<CCreditsForm>());
    std::vector<boost::shared_ptr<CControl>> lines{credits->Label1};
    lines.insert(lines.end(), credits->Lines.begin(), credits->Lines.end());
    ExpectLegible(lines);
    screen->RemoveAllControls();

    // A dialog over the title menu, with both key guides.
    Show(boost::make_shared<CGameSelectForm>());
    auto dialog =
        Show(boost::make_shared<CDialogForm>(2, "WARNING", texts.at("2015_1"), texts.at("2015_2"), texts.at("2015_3")));
    ExpectLegible({dialog->CaptionLabel, dialog->Line1Label, dialog->Line2Label, dialog->Line3Label,
                   dialog->OkGuideLabel, dialog->CancelGuideLabel});
}

TEST(DialogTextsTest, LeaveTheKeysToTheDialogsOwnGuides)
{
    // Every line a dialog shows, in both tables: the guides under them already name Return and Escape.
    const char* const keys[] = {"802",  "805_1",  "805_2",  "806",          "808_1",       "808_2",  "88_1",
                                "88_2", "2015_1", "2015_2", "2015_3",       "2016_1",      "2016_2", "2016_3",
                                "2023", "2024_1", "2024_2", "title_exit_1", "title_exit_2"};
    for (const char* language : {"en", "ja"}) {
        const auto table = TextTable(language);
        for (const char* key : keys) {
            ASSERT_EQ(1u, table.count(key)) << language << " " << key;
            std::istringstream words(table.at(key));
            std::string word;
            // Whole words only: "Returning" is no key.
            while (words >> word) {
                word.erase(std::remove_if(word.begin(), word.end(), [](char c) { return c == ':' || c == ','; }),
                           word.end());
                for (const char* name : {"Enter", "Esc", "Return", "ENTER", "ESC", "RETURN"})
                    EXPECT_NE(name, word) << language << " " << key << ": " << table.at(key);
            }
        }
    }
}
