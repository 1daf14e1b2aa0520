/** @file SelectorTest.cpp Horizontal selectors: stepping with faded end markers, clicks on the outer thirds, the
 * wheel, an empty list, and text wider than the control. */
#include "MwtTest.h"

namespace
{

const char* const kFull = "(1,1,1,1)";
const char* const kFaded = "(1,1,1,0.2)";

/// A 120 x 30 selector of "aa", "bbbb" and "c" that counts its selection changes.
struct Selector
{
    Selector()
    {
        selector->GetItems() = {"aa", "bbbb", "c"};
        selector->Initialize();
        selector->SelectionChangedEvent = [this](CHorizontalSelector*) { ++changes; };
    }

    /// The markers and the text as drawn now.
    Lines Draw()
    {
        LogCanvas canvas;
        selector->Draw(&canvas);
        return canvas.Only({"text", "clipped"});
    }

    boost::shared_ptr<CHorizontalSelector> selector = Make<CHorizontalSelector>("selector", 0, 0, 120, 30);
    int changes = 0;
};

} // namespace

TEST(SelectorTest, StepsFadedMarkersWideTextAnEmptyListClicksOnTheOuterThirdsAndTheWheel)
{
    RecordingCanvas fonts; // "default": 8 units a character, 16 high
    Selector s;
    int keys = 0;
    s.selector->KeyDownEvent = [&keys](CControl*, unsigned int) { ++keys; };
    int pressed = 0;
    const std::tuple<unsigned int, int, int, const char*, const char*, const char*> rows[] = {
        {0, 0, 0, kFaded, kFull, "clipped (52,7,16,16) 'aa' (1,1,1,1)"},
        {0x27, 1, 1, kFull, kFull, "clipped (44,7,32,16) 'bbbb' (1,1,1,1)"},
        {0x28, 2, 2, kFull, kFaded, "clipped (56,7,8,16) 'c' (1,1,1,1)"},
        {0x27, 2, 2, kFull, kFaded, "clipped (56,7,8,16) 'c' (1,1,1,1)"},
        {0x25, 1, 3, kFull, kFull, "clipped (44,7,32,16) 'bbbb' (1,1,1,1)"},
        {0x10026, 0, 4, kFaded, kFull, "clipped (52,7,16,16) 'aa' (1,1,1,1)"},
        {0x26, 0, 4, kFaded, kFull, "clipped (52,7,16,16) 'aa' (1,1,1,1)"}};
    for (const auto& [key, selected, changes, left, right, text] : rows) {
        if (key != 0) {
            s.selector->OnKeyDown(key);
        }
        pressed += key != 0 ? 1 : 0;
        // The key-down handler follows every key.
        EXPECT_EQ(
            std::tuple(selected, changes, pressed,
                       Lines{std::string("text (6,7) '<' ") + left, std::string("text (106,7) '>' ") + right, text}),
            std::tuple(s.selector->GetSelectedIndex(), s.changes, keys, s.Draw()))
            << "key " << std::hex << key;
    }

    s.selector->GetItems()[0] = "abcdefghijklmnop"; // 128 wide: starts at -4
    EXPECT_EQ("clipped (0,7,120,16) 'abcdefghijklmnop' (1,1,1,1)", s.Draw().back());

    // An empty list fires once and shows only faded markers, or the name when laying out.
    Selector e;
    e.selector->GetItems().clear();
    EXPECT_EQ(-1, e.selector->GetSelectedIndex());
    e.selector->OnKeyDown(0x27);
    e.selector->OnKeyDown(0x25);
    e.selector->SetSelectedIndex(5);
    // The stored 0 became -1 once.
    EXPECT_EQ(std::pair(1, Lines{std::string("text (6,7) '<' ") + kFaded, std::string("text (106,7) '>' ") + kFaded}),
              std::pair(e.changes, e.Draw()));

    auto form = Make<CForm>("form", 0, 0, 200, 100);
    form->SetLayoutEditMode(true);
    e.selector->SetParent(form.get());
    EXPECT_EQ("clipped (28,7,64,16) 'selector' (1,1,1,1)", e.Draw().back());
    e.selector->SetParent(nullptr);

    const std::tuple<float, int> rows2[] = {{0, 0}, {39.99f, 0}, {40, 1}, {60, 1}, {80, 1}, {80.01f, 2}, {119, 2}};
    for (const auto& [x, selected] : rows2) {
        Selector s;
        for (const int button : {1, 3}) {
            s.selector->SetSelectedIndex(1);
            s.selector->OnMouseDown(V(x, 15), button);
            EXPECT_EQ(selected, s.selector->GetSelectedIndex()) << x << " button " << button;
        }
    }

    const std::tuple<const char*, int, float, int> wheel[] = {{"up", -1, 1, 2},
                                                              {"no movement steps back", -1, 0, 0},
                                                              {"down", -1, -2, 0},
                                                              {"declined", 0, 1, 2},
                                                              {"taken", 1, 1, 1}};
    for (const auto& [what, handler, delta, selected] : wheel) {
        Selector s;
        s.selector->SetSelectedIndex(1);
        if (handler >= 0) {
            s.selector->MouseWheelEvent = [takes = handler == 1](CControl*, float) { return takes; };
        }
        const bool handled = s.selector->OnMouseWheel(V(0, 0), delta);
        EXPECT_EQ(std::pair(true, selected), std::pair(handled, s.selector->GetSelectedIndex())) << what;
    }
}
