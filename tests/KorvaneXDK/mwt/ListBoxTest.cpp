/** @file ListBoxTest.cpp List boxes: keys through a ten-item list, the pointer selecting and scrolling, the visible
 * count for broken item heights, and the drawing of the pulsing selection, the hover highlight and owner-drawn
 * items. */
#include "MwtTest.h"
#include "os/window/Messages.h"

namespace
{

constexpr unsigned int kPageUp = os::window::VK_PRIOR, kPageDown = os::window::VK_NEXT, kHome = os::window::VK_HOME,
                       kLeft = os::window::VK_LEFT, kUp = os::window::VK_UP, kRight = os::window::VK_RIGHT,
                       kDown = os::window::VK_DOWN;

/// `count` items "0", "1", ... of height 10 in an inner rectangle 92 x 40 at (4, 4): four rows.
boost::shared_ptr<CListBox> MakeList(int count)
{
    auto list = Make<CListBox>("list", 0, 0, 100, 48);
    list->SetItemHeightFromFont(false);
    list->SetItemHeight(10);
    for (int i = 0; i < count; ++i) {
        list->GetItems().push_back(std::to_string(i));
    }
    return list;
}

/// A ten-item list whose key-down handler counts the keys.
class ListBoxKeys : public ::testing::Test
{
protected:
    ListBoxKeys()
    {
        list->KeyDownEvent = [this](CControl*, unsigned int) { ++keys; };
    }

    boost::shared_ptr<CListBox> list = MakeList(10);
    int keys = 0;
};

/// Drawing and the font's item height need the fixed-metric fonts.
class ListBoxDrawing : public ::testing::Test
{
protected:
    RecordingCanvas fonts; // "default": 8 units a character, 16 high
};

TEST_F(ListBoxKeys, KeysMoveTheSelectionAndScrollItIntoViewAndTheHandlerFollowsEveryKey)
{
    int step = 0;
    const std::tuple<unsigned int, int, int> steps[] = {
        {kUp, 0, 0},                          // no selection: up (as down) selects the first item
        {kDown, 1, 0},     {kPageDown, 5, 4}, // keeps the selection on its row
        {kPageDown, 9, 6},                    // the last item; the top clamps to count - 4
        {kDown, 9, 6},     {kPageUp, 5, 2},   {kLeft, 1, 0}, {kDown, 2, 0},
        {kDown, 3, 0},     {kDown, 4, 1},     {kHome, 4, 1}, {0x10000u | kLeft, 0, 0}, // compared on the low 16 bits
        {kRight, 4, 4},    {kUp, 3, 3}};
    for (const auto& [key, selected, top] : steps) {
        SCOPED_TRACE(::testing::Message() << "step " << step << " key " << std::hex << key);
        list->OnKeyDown(key);
        // The key-down handler follows every key.
        EXPECT_EQ(std::tuple(selected, top, ++step), std::tuple(list->GetSelectedIndex(), list->GetTopIndex(), keys));
    }
}

TEST(ListBoxTest, KeysOnAnEmptyListSelectNothingButStillReachTheHandler)
{
    auto empty = MakeList(0);
    int emptyKeys = 0, changes = 0;
    empty->KeyDownEvent = [&emptyKeys](CControl*, unsigned int) { ++emptyKeys; };
    empty->SelectionChangedEvent = [&changes](CListBox*) { ++changes; };
    for (const unsigned int key : {kUp, kDown, kPageDown, kPageUp}) {
        empty->OnKeyDown(key);
    }
    EXPECT_EQ(std::tuple(-1, 4, 0), std::tuple(empty->GetSelectedIndex(), emptyKeys, changes));
}

TEST(ListBoxTest, TheScrollMarginKeepsItemsAroundTheSelectionAndTheScrolledEventFiresEvenWhenClamped)
{
    auto margin = MakeList(10);
    margin->SetScrollMargin(1);
    int scrolled = 0, changed = 0;
    margin->ScrolledEvent = [&scrolled](CListBox*) { ++scrolled; };
    margin->SelectionChangedEvent = [&changed](CListBox*) { ++changed; };
    margin->SetSelectedIndex(3);
    EXPECT_EQ(1, margin->GetTopIndex()) << "one item stays visible below the selection";
    margin->SetTopIndex(6);
    margin->SetSelectedIndex(9); // the clamp keeps the top; the event comes anyway
    margin->SetSelectedIndex(9); // no change, no event
    margin->SetSelectedIndex(7); // already in view: no scroll
    EXPECT_EQ(std::tuple(6, 2, 3), std::tuple(margin->GetTopIndex(), scrolled, changed));
    margin->GetItems().resize(5);
    EXPECT_EQ(4, margin->GetSelectedIndex()) << "read back clamped to the items left";
}

TEST(ListBoxTest, ThePointerBelowTheLastItemSelectsItAndHitTestsOutsideTheItemsFindNone)
{
    auto shortList = MakeList(3);
    shortList->OnMouseDown(V(50, 40), 1); // below the last item: selects the last item
    EXPECT_EQ(std::tuple(2, 3, -1, -1), std::tuple(shortList->GetSelectedIndex(), shortList->GetItemAt(V(50, 40)),
                                                   shortList->GetItemAt(V(50, 44)), shortList->GetItemAt(V(96, 10))));
}

TEST(ListBoxTest, DraggingBelowTheListScrollsOneItemAMoveAndSelectsTheItemUnderThePointer)
{
    auto pointed = MakeList(10);
    int pointerScrolled = 0;
    pointed->ScrolledEvent = [&pointerScrolled](CListBox*) { ++pointerScrolled; };
    pointed->OnMouseMove(V(50, 60), 0); // no button held: no scroll
    pointed->OnMouseDown(V(50, 5), 1);
    EXPECT_EQ(std::pair(0, 0), std::pair(pointed->GetTopIndex(), pointed->GetSelectedIndex()));
    for (int move = 1; move <= 3; ++move) {
        pointed->OnMouseMove(V(50, 60), 1);
        EXPECT_EQ(std::pair(move, move), std::pair(pointed->GetTopIndex(), pointerScrolled));
    }
    pointed->OnMouseMove(V(50, 25), 1);
    EXPECT_EQ(5, pointed->GetSelectedIndex()) << "the item under the pointer, third row from the top";
    pointed->OnMouseUp(V(50, 35), 1);
    pointed->OnMouseMove(V(50, 60), 0);
    EXPECT_EQ(std::pair(6, 3), std::pair(pointed->GetSelectedIndex(), pointed->GetTopIndex()));
}

TEST(ListBoxTest, HotTrackingHoversTheItemUnderThePointerAndNoneOutsideTheList)
{
    auto pointed = MakeList(10);
    pointed->SetTopIndex(3);
    pointed->SetHotTrack(true);
    pointed->OnMouseMove(V(50, 15), 0);
    const int hover = pointed->GetHoverIndex();
    pointed->OnMouseMove(V(50, 60), 0);
    EXPECT_EQ(std::pair(4, -1), std::pair(hover, pointed->GetHoverIndex()));
}

TEST_F(ListBoxDrawing, TheVisibleCountHitTestsAndDrawingStayBoundedForEveryItemHeight)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::tuple<const char*, bool, int, float, int> rows[] = {
        {"32 in 100", false, 32, 108, 3},
        {"the font's 16 in 100", true, 32, 108, 6},
        {"item height 0", false, 0, 108, 0},
        {"negative item height", false, -5, 108, 0},
        {"negative inner height", false, 10, 4, 0},
        {"inner height no number", false, 10, nan, 0},
        {"saturated", false, 1, 1e30f, std::numeric_limits<std::int32_t>::max()}};
    for (const auto& [what, fromFont, itemHeight, height, visible] : rows) {
        SCOPED_TRACE(what);
        auto list = Make<CListBox>("list", 0, 0, 100, height);
        list->SetItemHeightFromFont(fromFont);
        list->SetItemHeight(itemHeight);
        list->GetItems() = {"a", "b", "c", "d", "e", "f", "g", "h"};
        EXPECT_EQ(std::pair(visible, visible), std::pair(list->GetVisibleItemCount(), list->GetVisibleCount()));
        // Hit tests and the drawing stay bounded whatever the count.
        const int hit = list->GetItemAt(V(50, 20));
        EXPECT_EQ(visible > 0 ? (fromFont ? 1 : 16 / itemHeight) : -1, hit);
        list->Initialize();
        LogCanvas canvas;
        list->Draw(&canvas);
        EXPECT_EQ(static_cast<std::size_t>(std::min(visible, 8)), canvas.Only({"clipped"}).size());
    }
}

TEST_F(ListBoxDrawing, TheSelectionPulsesOnceASecondAndTheHoverHighlightShows)
{
    const std::tuple<double, const char*> pulse[] = {{0, "0.45"}, {250, "0.7"}, {750, "0.2"}, {1250, "0.7"}};
    for (const auto& [milliseconds, alpha] : pulse) {
        auto list = MakeList(10);
        list->Initialize();
        list->SetSelectedIndex(1);
        list->SetHotTrack(true);
        list->OnMouseMove(V(50, 25), 0);
        LogCanvas canvas;
        canvas.device->elapsedMilliseconds = milliseconds;
        list->Draw(&canvas);
        EXPECT_EQ(
            (Lines{"clipped (4,4,92,10) '0' (1,1,1,1)", std::string("fill (4,14,92,10) (1,0.5,0,") + alpha + ") b0",
                   "clipped (4,14,92,10) '1' (1,1,1,1)", "fill (4,24,92,10) (1,1,1,0.2) b0",
                   "clipped (4,24,92,10) '2' (1,1,1,1)", "clipped (4,34,92,10) '3' (1,1,1,1)"}),
            canvas.Only({"fill (4", "clipped"}))
            << milliseconds;
    }
}

TEST_F(ListBoxDrawing, OwnerDrawnItemsGoToTheHandlerInsteadOfTheCanvas)
{
    auto owner = MakeList(10);
    owner->Initialize();
    owner->SetTopIndex(7);
    owner->SetOwnerDraw(true);
    Lines drawn;
    owner->DrawItemEvent = [&drawn](CListBox*, canvas::CCanvas*, std::int32_t index, const canvas::Rect2f& r) {
        drawn.push_back(std::to_string(index) + " " + Rect(r));
    };
    LogCanvas canvas;
    owner->Draw(&canvas);
    EXPECT_EQ((Lines{"6 (4,4,92,10)", "7 (4,14,92,10)", "8 (4,24,92,10)", "9 (4,34,92,10)"}), drawn)
        << "the top clamps to count - 4";
    EXPECT_EQ(Lines{}, canvas.Only({"fill (4", "clipped"}));
}

} // namespace
