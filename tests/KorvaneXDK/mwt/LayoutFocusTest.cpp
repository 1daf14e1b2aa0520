/** @file LayoutFocusTest.cpp Docking layout and focus navigation in reading order through nested containers. */
#include "MwtTest.h"

namespace
{

struct Child
{
    std::int32_t dock;
    float w, h;
    bool visible;
};

} // namespace

TEST(LayoutAndFocus, DockingLayoutsRelayoutAndFocusInReadingOrderThroughNestedContainers)
{
    // The bounds of the children docked in a 100 x 80 container.
    auto layout = [](std::int32_t padding, std::initializer_list<Child> children) {
        auto root = MakeRoot(100, 80);
        root->SetDockPadding(padding);
        std::vector<boost::shared_ptr<CControl>> made;
        for (const Child& c : children) {
            made.push_back(Add(*root, "c", 0, 0, c.w, c.h));
            made.back()->SetVisible(c.visible);
            made.back()->SetDock(c.dock);
        }
        std::string bounds;
        for (const auto& child : made) {
            bounds += Rect(child->GetBounds());
        }
        return bounds;
    };
    // Top, bottom, left and fill with padding 4.
    EXPECT_EQ("(4,4,92,10)(4,70,92,6)(4,14,20,56)(24,14,72,56)",
              layout(4, {{1, 0, 10, true}, {2, 0, 6, true}, {3, 20, 0, true}, {5, 0, 0, true}}));
    // Fill-all ignores padding and the others.
    EXPECT_EQ("(4,4,92,10)(0,0,100,80)", layout(4, {{1, 0, 10, true}, {6, 1, 1, true}}));
    // Overflow: the right child lands left of R, the fill gets width 0.
    EXPECT_EQ("(0,0,60,80)(60,0,60,80)(90,0,10,80)(120,0,0,80)",
              layout(0, {{3, 60, 0, true}, {3, 60, 0, true}, {4, 10, 0, true}, {5, 0, 0, true}}));
    // A hidden docked child takes no room and keeps its bounds.
    EXPECT_EQ("(0,0,0,10)(0,0,100,80)", layout(0, {{1, 0, 10, false}, {5, 0, 0, true}}));
    // Dock 0 and unknown values place by location and size.
    EXPECT_EQ("(0,0,30,20)(0,0,15,5)(0,0,100,80)", layout(0, {{0, 30, 20, true}, {7, 15, 5, true}, {5, 0, 0, true}}));

    // What lays out again.
    auto relaid = MakeRoot(100, 80);
    auto top = Add(*relaid, "top", 0, 0, 0, 10);
    auto fill = Add(*relaid, "fill", 0, 0, 0, 0);
    top->SetDock(CControl::kDockTop);
    fill->SetDock(CControl::kDockFill);
    int resized = 0;
    fill->ResizeEvent = [&resized](CControl*) { ++resized; };

    top->SetVisible(false);
    EXPECT_EQ(fill->GetBounds(), Rect2f(0, 0, 100, 80));
    top->SetVisible(true);
    EXPECT_EQ(fill->GetBounds(), Rect2f(0, 10, 100, 70));
    relaid->SetSize(V(200, 100)); // the container's size lays out before its own resize event
    EXPECT_EQ(fill->GetBounds(), Rect2f(0, 10, 200, 90));
    // Padding and a docked child's own size wait for the next layout.
    relaid->SetDockPadding(5);
    top->SetSize(V(0, 20));
    EXPECT_EQ(fill->GetBounds(), Rect2f(0, 10, 200, 90));
    relaid->SendControlToBack(fill.get());
    EXPECT_EQ(std::pair(Rect2f(5, 25, 190, 70), 4), std::pair(fill->GetBounds(), resized));
    // A docked nested container lays out its own children in turn.
    auto inner = Add<CPanel>(*relaid, "inner", 0, 0, 0, 0);
    auto innerFill = Add(*inner, "innerFill", 0, 0, 0, 0);
    innerFill->SetDock(CControl::kDockFillAll);
    inner->SetDock(CControl::kDockFillAll);
    EXPECT_EQ(innerFill->GetBounds(), Rect2f(0, 0, 200, 100));

    // Focus moves in reading order and wraps.
    auto root = MakeRoot(400, 400);
    auto low = Add(*root, "(10,50)", 10, 50, 5, 5);
    auto right = Add(*root, "(200,20)", 200, 20, 5, 5);
    auto first = Add(*root, "(10,20)", 10, 20, 5, 5);
    auto twin = Add(*root, "twin (10,20)", 10, 20, 5, 5); // equal locations keep list order
    auto deaf = Add(*root, "deaf", 0, 0, 5, 5);
    deaf->SetFocusable(false);

    root->ClearFocusedControl();
    EXPECT_FALSE(root->FocusNext()); // nothing focused: nothing to move from
    EXPECT_FALSE(root->FocusPrevious());
    EXPECT_FALSE(root->GetFocusedControl());

    std::vector<std::string> order;
    order.push_back(root->FocusFirst()->GetName());
    for (int i = 0; i < 4; ++i) {
        order.push_back(root->FocusNext()->GetName());
    }
    order.push_back(root->FocusPrevious()->GetName());
    order.push_back(root->FocusLast()->GetName());
    EXPECT_EQ(order, (Lines{"(10,20)", "twin (10,20)", "(200,20)", "(10,50)", "(10,20)", "(10,50)", "(10,50)"}));
    EXPECT_EQ(root->GetFocusedControl(), low);

    // Nested containers run off to the outer sibling.
    auto outer = MakeRoot(400, 400);
    auto nested = Add<CPanel>(*outer, "nested", 0, 0, 100, 40);
    auto n1 = Add(*nested, "n1", 0, 0, 5, 5);
    auto n2 = Add(*nested, "n2", 10, 0, 5, 5);
    auto n3 = Add(*nested, "n3", 20, 0, 5, 5);
    Add<CPanel>(*outer, "empty", 0, 50, 100, 40); // no candidates: skipped
    auto sibling = Add(*outer, "sibling", 0, 100, 5, 5);

    outer->SetFocusedControl(nested.get());
    nested->SetFocusedControl(n2.get());
    EXPECT_EQ(outer->FocusNext(), n3); // inside the nested container first
    EXPECT_TRUE(outer->IsFocusedControl(nested.get()));
    EXPECT_EQ(outer->FocusNext(), sibling); // runs off its end, past the empty panel
    EXPECT_EQ(outer->FocusNext(), n1);      // the outermost call wraps, descending
    EXPECT_TRUE(nested->IsFocusedControl(n1.get()));
    EXPECT_EQ(outer->GetFocusedLeaf(), n1);
    EXPECT_EQ(outer->FocusPrevious(), sibling); // backwards off the start wraps to the last
    EXPECT_EQ(outer->FocusPrevious(), n3);

    // A focused container with no focused child has no leaf.
    nested->ClearFocusedControl();
    outer->SetFocusedControl(nested.get());
    EXPECT_FALSE(outer->GetFocusedLeaf());

    // A disabled focused child starts from the ends.
    const std::tuple<bool, const char*> rows[] = {{true, "a"}, {false, "c"}};
    for (const auto& [forward, expected] : rows) {
        auto row = MakeRoot(100, 100);
        Add(*row, "a", 0, 0, 5, 5);
        auto b = Add(*row, "b", 10, 0, 5, 5);
        Add(*row, "c", 20, 0, 5, 5);
        row->SetFocusedControl(b.get());
        b->SetEnabled(false);
        const auto moved = forward ? row->FocusNext() : row->FocusPrevious();
        EXPECT_EQ(moved ? moved->GetName() : "(none)", expected);
    }
}
