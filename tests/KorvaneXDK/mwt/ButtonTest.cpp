/** @file ButtonTest.cpp Buttons: the pressed state under the pointer, the click animation, the icon and caption
 * layout, half opacity when disabled, and the skin's keys and missing pictures. */
#include "KorvaneXDK/mwt/SoftTouchAnimation.h"
#include "MwtTest.h"

namespace
{

/// A skin button appearance whose "Texture" is `up` and "DownTexture" is `down` (either may be null).
boost::shared_ptr<CSkinButtonAppearance> SkinOf(ITexture* up, ITexture* down)
{
    return LoadSkin<CSkinButtonAppearance>({"BodyRect.width=8", "BodyRect.height=8", "Texture=up", "DownTexture=down"},
                                           {{"up", up}, {"down", down}});
}

/// A 100 x 40 button with the caption, drawn on a fresh canvas.
boost::shared_ptr<CButton> MakeButton(const char* caption)
{
    auto button = Make<CButton>("button", 0, 0, 100, 40, kInitialized);
    button->SetCaption(caption);
    return button;
}

} // namespace

TEST(ButtonTest, PressesClicksIconAndCaptionPlacementColoursAndAMissingDownPicture)
{
    auto panel = Make<CPanel>("panel", 0, 0, 200, 100, kInitialized);
    auto button = Add<CButton>(*panel, "button", 10, 10, 100, 40);
    int clicked = 0;
    button->ClickEvent = [&clicked](CControl*) { ++clicked; };
    const std::tuple<const char*, V, bool, int> rows[] = {{"down", V(20, 20), true, 0},  {"move", V(150, 20), false, 0},
                                                          {"move", V(109, 49), true, 0}, {"move", V(110, 20), false, 0},
                                                          {"up", V(150, 20), false, 0},  {"move", V(20, 20), false, 0},
                                                          {"down", V(20, 20), true, 0},  {"up", V(30, 30), false, 1}};
    for (const auto& [step, point, pressed, clicks] : rows) {
        const std::string kind = step;
        kind == "down"   ? panel->OnMouseDown(point, 1)
        : kind == "move" ? panel->OnMouseMove(point, 1)
                         : panel->OnMouseUp(point, 1);
        // Only the click plays the press animation.
        EXPECT_EQ(std::tuple(pressed, clicks, clicks > 0),
                  std::tuple(button->IsPressed(), clicked,
                             dynamic_cast<CSoftTouchAnimation*>(button->GetAnimation().get()) != nullptr))
            << std::string(step) + " " + Point(point);
    }
    button->OnMouseDown(V(5, 5), 3);
    EXPECT_TRUE(button->IsPressed()) << "any mouse button presses";
    button->OnWindowDeactivate();
    EXPECT_FALSE(button->IsPressed());

    // In layout edit mode a button is never shown pressed, and a click plays no animation.
    auto form = Make<CForm>("form", 0, 0, 200, 100);
    form->SetLayoutEditMode(true);
    auto edited = Make<CButton>("edited", 10, 10, 100, 40);
    edited->SetParent(form.get());
    edited->OnMouseDown(V(5, 5), 1);
    edited->OnClick();
    EXPECT_EQ(std::pair(false, false), std::pair(edited->IsPressed(), bool(edited->GetAnimation())));
    edited->SetParent(nullptr);

    // The press animation comes from the button's own factory.
    button->PressAnimationFactory.clear();
    EXPECT_THROW(button->OnClick(), boost::bad_function_call);

    RecordingCanvas fonts; // "default": 8 units a character, 16 high
    // Caption "ab" measures 16 x 16; the icon's image is 10 x 6 inside a 16 x 8 surface.
    FakeTexture icon(10, 6, 16, 8);
    auto draw = [&icon](bool withIcon, std::int32_t placement, std::int32_t horizontal, std::int32_t vertical) {
        LogCanvas canvas;
        auto button = MakeButton("ab");
        if (withIcon) {
            button->SetIcon(boost::shared_ptr<ITexture>(&icon, [](ITexture*) {}));
        }
        button->SetIconPlacement(placement);
        button->SetHorizontalAlignment(horizontal);
        button->SetVerticalAlignment(vertical);
        button->Draw(&canvas);
        std::string drawn;
        for (const std::string& entry : canvas.Only({"image", "clipped"})) {
            drawn += entry.substr(0, entry.find(") ") + 1) + " ";
        }
        return drawn;
    };
    EXPECT_EQ("image (37,17) clipped (47,12,16,16) ", draw(true, CButton::kIconLeft, 1, 1));
    EXPECT_EQ("image (53,17) clipped (37,12,16,16) ", draw(true, CButton::kIconRight, 1, 1));
    EXPECT_EQ("image (45,9) clipped (42,15,16,16) ", draw(true, CButton::kIconAbove, 1, 1));
    EXPECT_EQ("image (45,25) clipped (42,9,16,16) ", draw(true, CButton::kIconBelow, 1, 1));
    EXPECT_EQ("image (45,17) clipped (42,12,16,16) ", draw(true, CButton::kIconCentered, 1, 1));
    EXPECT_EQ("image (0,0) clipped (0,0,16,16) ", draw(true, 7, 1, 1));
    // Without an icon the alignments place the caption alone: right and bottom, then left and top.
    EXPECT_EQ("clipped (84,24,16,16) ", draw(false, CButton::kIconLeft, 2, 2));
    EXPECT_EQ("clipped (0,0,16,16) ", draw(false, CButton::kIconLeft, 0, 5));

    FakeTexture icon8(8, 8), up(8, 8), down(8, 8);
    // Icon 8 x 8 and caption "ok" 16 x 16 make a 24 x 16 block centred in 100 x 40.
    const std::string body = "fill (1,1,98,38) (0,0,1,0.2) b0";
    const std::string outline = "frame (1,1,98,38) (0,0,1,1) b1";
    const std::string icon1 = "image (38,16) (1,1,1,1) b0";
    const std::string halfIcon = "image (38,16) (1,1,1,0.5) b0";
    const std::string brightIcon = "image (38,16) (1,1,1,0.5) b1";
    const std::string caption = "clipped (46,12,16,16) 'ok' (0,0,1,1)";
    const std::string halfCaption = "clipped (46,12,16,16) 'ok' (0,0,1,0.5)";
    const std::string pressedBody = "fill (1,1,98,38) (0,0,1,0.8) b0";
    // Skin 0: the simple appearance; 1: a skin; 2: a skin whose resolver gave no down picture.
    const std::tuple<const char*, int, bool, bool, Lines> looks[] = {
        {"simple", 0, true, false, {body, outline, icon1, caption}},
        // The simple body ignores the disabled state; icon and caption are halved.
        {"simple disabled", 0, false, false, {body, outline, halfIcon, halfCaption}},
        {"simple pressed", 0, true, true, {pressedBody, outline, icon1, brightIcon, caption}},
        {"skin", 1, true, false, {"skin (0,0,100,40) up (1,1,1,1)", icon1, caption}},
        {"skin disabled", 1, false, false, {"skin (0,0,100,40) up (1,1,1,0.5)", halfIcon, halfCaption}},
        {"skin pressed", 1, true, true, {"skin (0,0,100,40) down (1,1,1,1)", icon1, brightIcon, caption}},
        // The pressed body is left out instead of failing the frame.
        {"skin pressed without a down picture", 2, true, true, {icon1, brightIcon, caption}}};
    for (const auto& [what, skin, enabled, pressed, want] : looks) {
        LogCanvas canvas;
        canvas.names = {{&up, "up"}, {&down, "down"}};
        auto button = MakeButton("ok");
        if (skin) {
            button->SetAppearance(SkinOf(&up, skin == 1 ? &down : nullptr));
        }
        button->SetColor(Color4<float>(0, 0, 1, 1));
        button->SetIcon(boost::shared_ptr<ITexture>(&icon8, [](ITexture*) {}));
        button->SetEnabled(enabled);
        if (pressed) {
            button->OnMouseDown(V(50, 20), 1);
        }
        button->Draw(&canvas);
        EXPECT_EQ(want, canvas.Only({"fill", "frame", "skin", "image", "clipped"})) << what;
    }

    // No body at all when it is switched off.
    LogCanvas canvas;
    auto bodiless = MakeButton("");
    bodiless->SetBodyVisible(0);
    bodiless->Draw(&canvas);
    EXPECT_EQ(Lines{}, canvas.Only({"fill", "frame", "skin"}));
}
