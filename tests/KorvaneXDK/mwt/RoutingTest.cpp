/** @file RoutingTest.cpp Containers route the mouse, keys and focus: capture, clicks, hit order, lost releases,
 * handlers that change the tree while it routes, key preview and group broadcast. */
#include "MwtTest.h"

namespace
{

/// A root with the children A at (10, 10) and B at (100, 10), 50 x 50 each, all wired to the log.
class PointerRouting : public testing::Test
{
protected:
    PointerRouting() { WireAll(log, *root, *a, *b); }

    Log log;
    boost::shared_ptr<CPanel> root = MakeRoot();
    boost::shared_ptr<CControl> a = Add(*root, "A", 10, 10, 50, 50);
    boost::shared_ptr<CControl> b = Add(*root, "B", 100, 10, 50, 50);
};

/// A root holding the panel P at (50, 50), 100 x 100 with its client area inset by (4, 12), and in it the leaf at
/// (10, 10), 20 x 20; all wired to the log.
class NestedRouting : public testing::Test
{
protected:
    NestedRouting()
    {
        panel->SetAppearance(boost::make_shared<InsetAppearance>());
        nest->AddControl(panel);
        leaf = Add(*panel, "leaf", 10, 10, 20, 20);
        WireAll(nestLog, *nest, *panel, *leaf);
    }

    Log nestLog;
    boost::shared_ptr<CPanel> nest = MakeRoot();
    boost::shared_ptr<CPanel> panel = Make<CPanel>("P", 50, 50, 100, 100);
    boost::shared_ptr<CControl> leaf;
};

/// A root with the children A, B and C in a row, all wired to the log.
class TreeChangingHandlers : public testing::Test
{
protected:
    TreeChangingHandlers() { WireAll(treeLog, *tree, *ta, *tb, *tc); }

    Log treeLog;
    boost::shared_ptr<CPanel> tree = MakeRoot();
    boost::shared_ptr<CControl> ta = Add(*tree, "A", 0, 0, 10, 10);
    boost::shared_ptr<CControl> tb = Add(*tree, "B", 20, 0, 10, 10);
    boost::shared_ptr<CControl> tc = Add(*tree, "C", 40, 0, 10, 10);
};

/// An initialised root whose only child cannot take the focus.
class EmptyContainer : public testing::Test
{
protected:
    EmptyContainer()
    {
        deaf->SetFocusable(false);
        empty->AddControl(deaf);
    }

    boost::shared_ptr<CPanel> empty = MakeRoot();
    boost::shared_ptr<CControl> deaf = Make("deaf", 0, 0, 5, 5);
};

} // namespace

TEST(Routing, APressGoesToTheTopmostEnabledVisibleChildElseToTheContainer)
{
    const struct
    {
        const char* what;
        void (*prepare)(CControl& a, CControl& b);
        const char* expected;
    } rows[] = {
        {"the later child wins", [](CControl&, CControl&) {}, "B down (10,10)"},
        {"a disabled child is transparent", [](CControl&, CControl& b) { b.SetEnabled(false); }, "A down (30,30)"},
        {"a hidden child is transparent", [](CControl&, CControl& b) { b.SetVisible(false); }, "A down (30,30)"},
        {"sent to the back", [](CControl&, CControl& b) { b.SendToBack(); }, "A down (30,30)"},
        {"brought back to the front", [](CControl&, CControl& b) { b.SendToBack(), b.BringToFront(); },
         "B down (10,10)"},
        {"nothing hit: the container", [](CControl& a, CControl& b) { a.SetEnabled(false), b.SetVisible(false); },
         "root down (40,40)"}};
    for (const auto& row : rows) {
        Log log;
        auto root = MakeRoot();
        auto a = Add(*root, "A", 10, 10, 50, 50);
        auto b = Add(*root, "B", 30, 30, 50, 50);
        row.prepare(*a, *b);
        WireAll(log, *root, *a, *b);
        root->OnMouseDown(V(40, 40), 1); // the press comes after any focus change
        EXPECT_EQ(log.empty() ? "" : log.back(), row.expected) << row.what;
    }
}

TEST(Routing, TheWheelBubblesUpUntilAHandlerTakesIt)
{
    const std::tuple<const char*, int, bool, bool> wheel[] = {
        {"no child handler", -1, true, false}, {"declined", 0, true, false}, {"taken", 1, false, true}};
    for (const auto& [what, child, rootCalled, result] : wheel) {
        auto root = MakeRoot();
        auto a = Add(*root, "A", 10, 10, 50, 50);
        bool heard = false;
        root->MouseWheelEvent = [&](CControl*, float) { return heard = true, false; };
        if (child >= 0) {
            a->MouseWheelEvent = [takes = child == 1](CControl*, float) { return takes; };
        }
        const bool taken = root->OnMouseWheel(V(20, 20), 1.0f);
        EXPECT_EQ(std::pair(result, rootCalled), std::pair(taken, heard)) << what;
    }
}

TEST(Routing, AKeyGoesToTheFocusedChildWithPreviewAndGroupBroadcast)
{
    const std::tuple<bool, bool, bool, Log> keys[] = {
        {false, false, false, {"k2 key"}},
        {true, false, false, {"form key", "k2 key"}},
        {false, true, false, {"form key", "k2 key"}},
        {false, false, true, {"k2 key", "k1 key", "k3 key", "k5 key"}},
        {true, false, true, {"form key", "k2 key", "k1 key", "k3 key", "k5 key"}}};
    for (const auto& [preview, editMode, broadcast, expected] : keys) {
        Log log;
        auto form = Make<CForm>("form", 0, 0, 300, 100, kInitialized);
        std::vector<boost::shared_ptr<CControl>> k; // k1 to k5, 20 apart
        for (int i = 0; i < 5; ++i) {
            k.push_back(Add(*form, "k" + std::to_string(i + 1), 20.0f * static_cast<float>(i), 0, 10, 10));
        }
        k[3]->SetGroup(1);
        form->SetFocusedControl(k[1].get());
        k[2]->SetEnabled(false); // disabled and hidden siblings hear broadcasts too
        k[4]->SetVisible(false);
        WireAll(log, *form, *k[0], *k[1], *k[2], *k[3], *k[4]);
        form->SetKeyPreview(preview);
        form->SetLayoutEditMode(editMode);
        form->SetGroupKeyBroadcast(broadcast);
        form->OnKeyDown(0x0D);
        EXPECT_EQ(log, expected) << preview << editMode << broadcast;
    }
}

TEST_F(PointerRouting, APressCapturesTheMovesAndTheReleaseWithoutAClick)
{
    root->OnMouseMove(V(120, 20), 0); // no press: the child under the pointer
    root->OnMouseDown(V(20, 20), 1);
    root->OnMouseMove(V(120, 20), 1);
    root->OnMouseMove(V(300, -5), 1);
    root->OnMouseUp(V(120, 20), 1);
    root->OnMouseMove(V(20, 20), 0);
    EXPECT_EQ(log, (Log{"B move (20,10)", "A down (10,10)", "A move (110,10)", "A move (290,-15)", "A up (110,10)",
                        "A move (10,10)"}));
}

TEST_F(PointerRouting, TheContainersOwnPressIsNotRoutedAndASecondOneReleasesItWithoutAClick)
{
    root->OnMouseDown(V(5, 150), 1);
    root->OnMouseDown(V(6, 151), 1);
    EXPECT_EQ(log, (Log{"root down (5,150)", "root up (6,151)", "root down (6,151)"}));
    root->OnMouseUp(V(6, 151), 1);
}

TEST_F(PointerRouting, ASecondPressOnAnotherChildReleasesTheFirstWithoutAClick)
{
    root->OnMouseDown(V(20, 20), 1);
    Click(*root, V(110, 20));
    EXPECT_EQ(log, (Log{"A down (10,10)", "A up (100,10)", "A lost", "B got", "root focus-changed B", "B down (10,10)",
                        "B up (10,10)", "B click"}));
}

TEST_F(PointerRouting, WindowDeactivationForgetsThePressSoTheReleaseGoesNowhere)
{
    root->SetFocusedControl(b.get());
    log.clear();
    b->WindowDeactivateEvent = [this](CControl*) { log.push_back("B deactivated"); };
    root->OnMouseDown(V(110, 20), 1);
    root->OnWindowDeactivate();
    root->OnMouseUp(V(110, 20), 1);
    EXPECT_EQ(log, (Log{"B down (10,10)", "B deactivated"}));
}

TEST_F(NestedRouting, AClickComesOnceToTheLeafThroughNestedContainers)
{
    // The leaf sits at 50 + 4 + 10, 50 + 12 + 10 on the root.
    Click(*nest, V(70, 80));
    EXPECT_EQ(std::pair(Log{"leaf down (6,8)", "leaf up (6,8)", "leaf click"}, V(70, 80)),
              std::pair(nestLog, leaf->LocalToScreen(V(6, 8))));
}

TEST_F(NestedRouting, AClickOnThePanelsEmptyClientAreaIsThePanelsOwnInItsClientCoordinates)
{
    Click(*nest, V(140, 140));
    EXPECT_EQ(nestLog, (Log{"P down (86,78)", "P up (86,78)", "P click"}));
}

TEST_F(NestedRouting, APressOnThePanelReleasedElsewhereReachesThePanelWithoutAClick)
{
    // Released over the root or over a sibling lying on the panel.
    auto cover = Add(*nest, "S", 120, 50, 60, 60);
    Wire(*cover, nestLog);
    const std::pair<V, const char*> elsewhere[] = {{V(190, 190), "P up (136,128)"}, {V(130, 100), "P up (76,38)"}};
    for (const auto& [release, up] : elsewhere) {
        nestLog.clear();
        nest->OnMouseDown(V(100, 130), 1);
        nest->OnMouseUp(release, 1);
        EXPECT_EQ(nestLog, (Log{"P down (46,68)", up})) << up;
    }
}

TEST(Routing, RemovingTheFocusedChildHandsTheFocusOnToTheFirstEligible)
{
    Log log;
    auto root = MakeRoot();
    auto a = Add(*root, "A", 0, 0, 10, 10);
    auto b = Add(*root, "B", 20, 0, 10, 10);
    auto c = Add(*root, "C", 40, 0, 10, 10);
    auto d = Add(*root, "D", 60, 0, 10, 10);
    d->SetEnabled(false);
    root->SetFocusedControl(c.get());
    WireAll(log, *root, *a, *b, *c, *d);
    root->RemoveControl(c.get());
    // From the last eligible to the first: the first in list order ends with the focus.
    EXPECT_EQ(log, (Log{"B got", "root focus-changed B", "B lost", "A got", "root focus-changed A"}));
    const bool first = root->IsFocusedControl(a.get());
    root->RemoveControl(a.get());
    const bool second = root->IsFocusedControl(b.get());
    root->RemoveControl(b.get()); // only the disabled D is left
    EXPECT_EQ(std::tuple(true, true, false), std::tuple(first, second, bool(root->GetFocusedControl())));
    root->RemoveControl(c.get()); // not a child: nothing
}

TEST_F(EmptyContainer, AChildThatCannotFocusLeavesTheFocusEmptyTheNextTakesItAndNamesMatchExactly)
{
    EXPECT_FALSE(empty->GetFocusedControl());
    auto next = Add(*empty, "next", 10, 0, 5, 5);
    // Found by its name, exactly as spelt.
    EXPECT_EQ(std::tuple(next, nullptr, next), std::tuple(empty->GetFocusedControl(), empty->FindControlByName("NEXT"),
                                                          empty->FindControlByName("next")));
}

TEST_F(EmptyContainer, TheFocusIsWeakSoARemovedChildIsSimplyNotFocusedAnyMore)
{
    auto next = Add(*empty, "next", 10, 0, 5, 5);
    empty->RemoveAllControls();
    EXPECT_EQ(std::pair(false, false), std::pair(bool(empty->GetFocusedControl()), bool(next->GetParent())));
}

TEST_F(TreeChangingHandlers, AnUpdatePassKeepsTheChildrenItStartedWith)
{
    ta->UpdateEvent = [&](CComponent*, float) {
        treeLog.push_back("A update");
        tree->RemoveControl(tb.get());
        tree->RemoveControl(tc.get());
    };
    tree->Update(0.1f);
    EXPECT_EQ(treeLog, (Log{"A update", "B update", "C update", "root update"}));
    EXPECT_EQ(std::pair(std::size_t{1}, static_cast<CComponent*>(nullptr)),
              std::pair(tree->GetControls().size(), tb->GetParent()));
}

TEST_F(TreeChangingHandlers, AControlOwnedOnlyByTheTreeMayRemoveItselfFromItsOwnHandler)
{
    tree->RemoveControl(tb.get());
    tree->RemoveControl(tc.get());
    tree->FocusChangedEvent.clear();
    ta->GotFocusEvent.clear();
    ta->LostFocusEvent.clear();
    for (const bool onPress : {true, false}) {
        SCOPED_TRACE(onPress ? "press" : "click");
        treeLog.clear();
        CControl* self = Add(*tree, "self", 100, 100, 20, 20).get();
        auto removeSelf = [this, self]() { treeLog.push_back("removing"), tree->RemoveControl(self); };
        if (onPress) {
            self->MouseDownEvent = [removeSelf](CControl*, V, int) { removeSelf(); };
        } else {
            self->ClickEvent = [removeSelf](CControl*) { removeSelf(); };
        }
        Click(*tree, V(105, 105));
        tree->OnMouseDown(V(105, 105), 1); // no lost release reaches the removed control
        tree->OnMouseUp(V(105, 105), 1);
        EXPECT_EQ(std::pair(std::size_t{1}, Log{"removing", "root down (105,105)", "root up (105,105)", "root click"}),
                  std::pair(tree->GetControls().size(), treeLog));
    }
}
