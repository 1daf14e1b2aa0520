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

// The bounds of the children docked in a 100 x 80 container.
std::string Layout(std::int32_t padding, std::initializer_list<Child> children)
{
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
}

TEST(LayoutAndFocus, DockedChildrenTakeTheirRoomInTurnAndTheRestKeepTheirBounds)
{
    // Top, bottom, left and fill with padding 4.
    EXPECT_EQ("(4,4,92,10)(4,70,92,6)(4,14,20,56)(24,14,72,56)",
              Layout(4, {{1, 0, 10, true}, {2, 0, 6, true}, {3, 20, 0, true}, {5, 0, 0, true}}));
    // Fill-all ignores padding and the others.
    EXPECT_EQ("(4,4,92,10)(0,0,100,80)", Layout(4, {{1, 0, 10, true}, {6, 1, 1, true}}));
    // Overflow: the right child lands left of R, the fill gets width 0.
    EXPECT_EQ("(0,0,60,80)(60,0,60,80)(90,0,10,80)(120,0,0,80)",
              Layout(0, {{3, 60, 0, true}, {3, 60, 0, true}, {4, 10, 0, true}, {5, 0, 0, true}}));
    // A hidden docked child takes no room and keeps its bounds.
    EXPECT_EQ("(0,0,0,10)(0,0,100,80)", Layout(0, {{1, 0, 10, false}, {5, 0, 0, true}}));
    // Dock 0 and unknown values place by location and size.
    EXPECT_EQ("(0,0,30,20)(0,0,15,5)(0,0,100,80)", Layout(0, {{0, 30, 20, true}, {7, 15, 5, true}, {5, 0, 0, true}}));
}

/// A 100 x 80 container with a child docked at the top and one filling the rest, whose resizes are counted.
class DockRelayout : public ::testing::Test
{
protected:
    DockRelayout()
    {
        top->SetDock(CControl::kDockTop);
        fill->SetDock(CControl::kDockFill);
        fill->ResizeEvent = [this](CControl*) { ++resized; };
    }

    /// Hides and shows the top child, then doubles the container's width and grows it to 100 high.
    void ToggleTopAndGrow()
    {
        top->SetVisible(false);
        top->SetVisible(true);
        relaid->SetSize(V(200, 100));
    }

    boost::shared_ptr<CPanel> relaid = MakeRoot(100, 80);
    boost::shared_ptr<CControl> top = Add(*relaid, "top", 0, 0, 0, 10);
    boost::shared_ptr<CControl> fill = Add(*relaid, "fill", 0, 0, 0, 0);
    int resized = 0;
};

TEST_F(DockRelayout, HidingOrShowingADockedChildLaysOutAgain)
{
    top->SetVisible(false);
    EXPECT_EQ(fill->GetBounds(), Rect2f(0, 0, 100, 80));
    top->SetVisible(true);
    EXPECT_EQ(fill->GetBounds(), Rect2f(0, 10, 100, 70));
}

TEST_F(DockRelayout, ResizingTheContainerLaysOutAgain)
{
    ToggleTopAndGrow(); // the container's size lays out before its own resize event
    EXPECT_EQ(fill->GetBounds(), Rect2f(0, 10, 200, 90));
}

TEST_F(DockRelayout, PaddingAndADockedChildsOwnSizeWaitForTheNextLayout)
{
    ToggleTopAndGrow();
    relaid->SetDockPadding(5);
    top->SetSize(V(0, 20));
    EXPECT_EQ(fill->GetBounds(), Rect2f(0, 10, 200, 90));
    relaid->SendControlToBack(fill.get());
    EXPECT_EQ(std::pair(Rect2f(5, 25, 190, 70), 4), std::pair(fill->GetBounds(), resized));
}

TEST_F(DockRelayout, ADockedNestedContainerLaysOutItsOwnChildrenInTurn)
{
    ToggleTopAndGrow();
    relaid->SetDockPadding(5);
    auto inner = Add<CPanel>(*relaid, "inner", 0, 0, 0, 0);
    auto innerFill = Add(*inner, "innerFill", 0, 0, 0, 0);
    innerFill->SetDock(CControl::kDockFillAll);
    inner->SetDock(CControl::kDockFillAll);
    EXPECT_EQ(innerFill->GetBounds(), Rect2f(0, 0, 200, 100));
}

/// Five children out of reading order, one of them not focusable, and nothing focused.
class FocusReadingOrder : public ::testing::Test
{
protected:
    FocusReadingOrder()
    {
        deaf->SetFocusable(false);
        root->ClearFocusedControl();
    }

    boost::shared_ptr<CPanel> root = MakeRoot(400, 400);
    boost::shared_ptr<CControl> low = Add(*root, "(10,50)", 10, 50, 5, 5);
    boost::shared_ptr<CControl> right = Add(*root, "(200,20)", 200, 20, 5, 5);
    boost::shared_ptr<CControl> first = Add(*root, "(10,20)", 10, 20, 5, 5);
    boost::shared_ptr<CControl> twin = Add(*root, "twin (10,20)", 10, 20, 5, 5); // equal locations keep list order
    boost::shared_ptr<CControl> deaf = Add(*root, "deaf", 0, 0, 5, 5);
};

TEST_F(FocusReadingOrder, WithNothingFocusedThereIsNothingToMoveFrom)
{
    EXPECT_FALSE(root->FocusNext());
    EXPECT_FALSE(root->FocusPrevious());
    EXPECT_FALSE(root->GetFocusedControl());
}

TEST_F(FocusReadingOrder, FocusMovesInReadingOrderAndWraps)
{
    std::vector<std::string> order;
    order.push_back(root->FocusFirst()->GetName());
    for (int i = 0; i < 4; ++i) {
        order.push_back(root->FocusNext()->GetName());
    }
    order.push_back(root->FocusPrevious()->GetName());
    order.push_back(root->FocusLast()->GetName());
    EXPECT_EQ(order, (Lines{"(10,20)", "twin (10,20)", "(200,20)", "(10,50)", "(10,20)", "(10,50)", "(10,50)"}));
    EXPECT_EQ(root->GetFocusedControl(), low);
}

/// A panel of three controls, an empty panel and a sibling, with the panel's middle control focused.
class FocusThroughNestedContainers : public ::testing::Test
{
protected:
    FocusThroughNestedContainers()
    {
        Add<CPanel>(*outer, "empty", 0, 50, 100, 40); // no candidates: skipped
        sibling = Add(*outer, "sibling", 0, 100, 5, 5);
        outer->SetFocusedControl(nested.get());
        nested->SetFocusedControl(n2.get());
    }

    boost::shared_ptr<CPanel> outer = MakeRoot(400, 400);
    boost::shared_ptr<CPanel> nested = Add<CPanel>(*outer, "nested", 0, 0, 100, 40);
    boost::shared_ptr<CControl> n1 = Add(*nested, "n1", 0, 0, 5, 5);
    boost::shared_ptr<CControl> n2 = Add(*nested, "n2", 10, 0, 5, 5);
    boost::shared_ptr<CControl> n3 = Add(*nested, "n3", 20, 0, 5, 5);
    boost::shared_ptr<CControl> sibling;
};

TEST_F(FocusThroughNestedContainers, FocusMovesInsideTheNestedContainerFirstThenRunsOffToTheOuterSibling)
{
    EXPECT_EQ(outer->FocusNext(), n3); // inside the nested container first
    EXPECT_TRUE(outer->IsFocusedControl(nested.get()));
    EXPECT_EQ(outer->FocusNext(), sibling); // runs off its end, past the empty panel
}

TEST_F(FocusThroughNestedContainers, TheOutermostCallWrapsDescendingAndBackwardsOffTheStartWrapsToTheLast)
{
    outer->FocusNext();
    outer->FocusNext();                // on the sibling
    EXPECT_EQ(outer->FocusNext(), n1); // the outermost call wraps, descending
    EXPECT_TRUE(nested->IsFocusedControl(n1.get()));
    EXPECT_EQ(outer->GetFocusedLeaf(), n1);
    EXPECT_EQ(outer->FocusPrevious(), sibling); // backwards off the start wraps to the last
    EXPECT_EQ(outer->FocusPrevious(), n3);
}

TEST_F(FocusThroughNestedContainers, AFocusedContainerWithNoFocusedChildHasNoLeaf)
{
    nested->ClearFocusedControl();
    outer->SetFocusedControl(nested.get());
    EXPECT_FALSE(outer->GetFocusedLeaf());
}

TEST(LayoutAndFocus, MovingOnFromADisabledFocusedChildStartsFromTheEnds)
{
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

} // namespace
