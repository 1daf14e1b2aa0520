/** @file ControlTest.cpp Controls: the layout-edit drag, the update order, focus inside forms, failing appearances (never
 * drawn) and the appearance template's defaults. */
#include "MwtTest.h"

namespace
{

/// A form in layout edit mode, unframed (the client area is the whole form), holding one control at (10, 10),
/// 40 x 30.
std::pair<boost::shared_ptr<CForm>, boost::shared_ptr<CControl>> EditForm()
{
    auto form = Make<CForm>("form", 0, 0, 200, 200);
    form->SetLayoutEditMode(true);
    form->SetFormStyle(0);
    form->Initialize();
    return {form, Add(*form, "c", 10, 10, 40, 30)};
}

/// The edit form's control dragged from (5, 5) to (10.7, 3.2), floored to (15, 8), and still held.
class LayoutEditDrag : public testing::Test
{
protected:
    LayoutEditDrag()
    {
        control->OnMouseDown(V(5, 5), 1);
        control->OnMouseMove(V(10.7f, 3.2f), 1);
    }

    std::pair<boost::shared_ptr<CForm>, boost::shared_ptr<CControl>> edit = EditForm();
    boost::shared_ptr<CForm>& form = edit.first;
    boost::shared_ptr<CControl>& control = edit.second;
    Log log;
};

/// A 10 x 10 control whose animation factory makes logging animations "a1", "a2", ...
class ControlAnimation : public testing::Test
{
protected:
    ControlAnimation()
    {
        Wire(*animated, log);
        animated->AnimationFactory = [this]() {
            last = boost::make_shared<FakeAnimation>("a" + std::to_string(++made), log);
            return last;
        };
    }

    /// What one update of the animated writes down.
    Log Update() { return log.clear(), animated->Update(0.1f), log; }

    Log log;
    boost::shared_ptr<CControl> animated = Make("c", 0, 0, 10, 10);
    boost::shared_ptr<FakeAnimation> last;
    int made = 0;
};

/// A screen with the forms A and B; in A a panel holding the control "c"; all but B wired to the log.
class FocusInForms : public testing::Test
{
protected:
    FocusInForms() { WireAll(log, *screen, *a, *inner, *fc); }

    Log log;
    boost::shared_ptr<CScreen> screen = Make<CScreen>("screen", 0, 0, 640, 480, kInitialized);
    boost::shared_ptr<CForm> a = Add<CForm>(*screen, "A", 0, 0, 200, 200);
    boost::shared_ptr<CForm> b = Add<CForm>(*screen, "B", 300, 0, 200, 200);
    boost::shared_ptr<CPanel> inner = Add<CPanel>(*a, "panel", 10, 10, 100, 100);
    boost::shared_ptr<CControl> fc = Add(*inner, "c", 5, 5, 20, 20);
};

} // namespace

TEST(LayoutEdit, TheHalfOpenGripResizesAnyOtherPressMovesAndOnlyTheLeftButtonEdits)
{
    // The grip runs from (w - 8, h - 8) up to but not at (w, h). A resize floors and keeps the minimum 8; a move
    // floors.
    const std::tuple<V, int, std::int32_t, V, Rect2f> drags[] = {
        {V(32, 22), 1, CControl::kEditResizing, V(50.7f, 40.2f), {10, 10, 58, 48}}, // grab (8, 8) + point, floored
        {V(32, 22), 1, CControl::kEditResizing, V(-100, -100), {10, 10, 8, 8}},
        {V(32, 22), 1, CControl::kEditResizing, V(-0.5f, 100), {10, 10, 8, 108}},
        {V(39.9f, 29.9f), 1, CControl::kEditResizing, V(39.9f, 29.9f), {10, 10, 40, 30}},
        {V(31.9f, 22), 1, CControl::kEditMoving, V(31.9f, 22), {10, 10, 40, 30}},
        {V(40, 30), 1, CControl::kEditMoving, V(40, 30), {10, 10, 40, 30}},
        {V(0, 0), 1, CControl::kEditMoving, V(0, 0), {10, 10, 40, 30}},
        {V(32, 22), 2, CControl::kEditNone, V(50, 50), {10, 10, 40, 30}},
        {V(5, 5), 1, CControl::kEditMoving, V(10.7f, 3.2f), {15, 8, 40, 30}}};
    for (const auto& [press, button, state, move, bounds] : drags) {
        auto [form, control] = EditForm();
        control->OnMouseDown(press, button);
        const std::int32_t pressed = control->GetEditDragState();
        control->OnMouseMove(move, 1);
        EXPECT_EQ(std::pair(state, bounds), std::pair(pressed, control->GetBounds())) << Point(press) + Point(move);
    }
}

TEST_F(LayoutEditDrag, ADockedControlDraggedAwaySnapsBackIntoTheLayoutOnRelease)
{
    auto top = Add(*form, "top", 0, 0, 50, 10);
    top->SetDock(CControl::kDockTop);
    ASSERT_EQ(top->GetBounds(), Rect2f(0, 0, 200, 10));
    top->OnMouseDown(V(5, 5), 1);
    top->OnMouseMove(V(50, 50), 1);
    EXPECT_EQ(top->GetLocation(), V(45, 45));
    top->OnMouseUp(V(50, 50), 1);
    EXPECT_EQ(std::pair(CControl::kEditNone, Rect2f(0, 0, 200, 10)),
              std::pair(top->GetEditDragState(), top->GetBounds()));
}

TEST_F(LayoutEditDrag, WindowDeactivationEndsADragQuietly)
{
    Wire(*control, log);
    control->WindowDeactivateEvent = [this](CControl*) { log.push_back("deactivated"); };
    control->OnMouseDown(V(5, 5), 1);
    control->OnWindowDeactivate();
    EXPECT_EQ(std::pair(CControl::kEditNone, Log{"c down (5,5)"}), std::pair(control->GetEditDragState(), log));
}

TEST_F(LayoutEditDrag, OutsideEditModeTheStateNeverChangesAndTheEventsComeAsUsual)
{
    control->OnWindowDeactivate(); // the drag is over
    Wire(*control, log);
    form->SetLayoutEditMode(false);
    control->OnMouseDown(V(32, 22), 1);
    control->OnMouseMove(V(100, 100), 1);
    control->OnMouseUp(V(100, 100), 1);
    EXPECT_EQ(std::tuple(CControl::kEditNone, Rect2f(15, 8, 40, 30),
                         Log{"c down (32,22)", "c move (100,100)", "c up (100,100)"}),
              std::tuple(control->GetEditDragState(), control->GetBounds(), log));
}

TEST_F(ControlAnimation, AnUpdateStartsTheAnimationKeepsItWhileItRunsAndReplacesItOnceCompleted)
{
    EXPECT_EQ(Update(), (Log{"a1 init", "a1 update", "c update"}));
    EXPECT_EQ(Update(), (Log{"a1 update", "c update"})); // still running: kept
    last->completed = true;
    EXPECT_EQ(Update(), (Log{"a2 init", "a2 update", "c update"}));
    EXPECT_EQ(std::pair(animated->GetAnimation().get(), last->GetParent()),
              (std::pair<CAnimationComponent*, CComponent*>(last.get(), animated.get())));
}

TEST_F(ControlAnimation, AFactoryYieldingNoneLeavesTheControlWithoutAnAnimationInsteadOfFailing)
{
    Update(); // "a1" runs
    animated->AnimationFactory = [] { return boost::shared_ptr<CAnimationComponent>(); };
    last->completed = true;
    EXPECT_EQ(Update(), (Log{"c update"}));
    EXPECT_FALSE(animated->GetAnimation());
}

TEST_F(FocusInForms, AControlIsFocusedInItsFormButNotOnTheScreenAndAFormIsFocusedInItself)
{
    screen->SetFocusedControl(b.get());
    EXPECT_EQ(std::tuple(true, false, true, false),
              std::tuple(fc->IsFocusedInForm(), fc->IsFocused(), a->IsFocusedInForm(), a->IsFocused()));
}

TEST_F(FocusInForms, SetFocusStopsAtTheFormSoTheScreenKeepsItsFocus)
{
    screen->SetFocusedControl(b.get());
    fc->SetFocus();
    const bool screenKept = screen->IsFocusedControl(b.get());
    screen->SetFocusedControl(a.get());
    EXPECT_EQ(std::pair(true, true), std::pair(screenKept, fc->IsFocused()));
}

TEST_F(FocusInForms, GotFocusRaisesEveryAncestorsFocusChangedEventInnermostFirst)
{
    fc->SetFocus();
    screen->SetFocusedControl(a.get());
    auto d = Add(*inner, "d", 50, 5, 20, 20);
    Wire(*d, log);
    log.clear();
    d->SetFocus();
    EXPECT_EQ(std::pair(Log{"c lost", "d got", "panel focus-changed d", "A focus-changed d", "screen focus-changed d"},
                        false),
              std::pair(log, fc->IsFocusedInForm()));
}

TEST(Control, ALooseControlIsNeitherFocusedNorInLayoutEditMode)
{
    auto loose = Make("loose", 0, 0, 1, 1);
    EXPECT_EQ(std::tuple(false, false, false),
              std::tuple(loose->IsFocused(), loose->IsFocusedInForm(), loose->IsLayoutEditMode()));
}

TEST(Control, AControlWithoutAnAppearanceStaysInItsContainerButIsNeverHitLaidOutOrDrawn)
{
    const std::tuple<const char*, CControl::AppearanceFactoryFunction> rows[] = {
        {"no factory", {}}, {"a factory yielding none", [] { return boost::shared_ptr<IControlAppearance>(); }}};
    for (const auto& [what, factory] : rows) {
        SCOPED_TRACE(what);
        Log log;
        auto root = MakeRoot(100, 100);
        auto bare = Make<CPanel>("bare", 10, 10, 50, 50);
        bare->AppearanceFactory = factory;
        WireAll(log, *root, *bare);
        ExpectThrowWith<EInvalidOperation>([&] { root->AddControl(bare); }, "Appearance is NULL.",
                                           "class korvane::mwt::CPanel");
        // Left in the list with its parent set, but inert: never hit, no layout, no crash.
        EXPECT_EQ(std::tuple(bare, root.get(), false, false),
                  std::tuple(root->FindControl(bare.get()), bare->GetParent(), bool(bare->GetAppearance()),
                             bare->HitTest(V(20, 20))));
        bare->SetSize(V(60, 60));
        bare->SetDock(CControl::kDockFill);
        EXPECT_EQ(bare->GetBounds(), Rect2f(0, 0, 100, 100));
        Click(*root, V(20, 20));
        EXPECT_EQ(log, (Log{"root down (20,20)", "root up (20,20)", "root click"}));
        // Nor drawn, alone or through its container: no canvas call, no draw event, its children neither.
        bare->AddControl(Make("inner", 0, 0, 10, 10));
        bool drawn = false;
        bare->DrawEvent = [&drawn](CControl*, canvas::CCanvas*) { drawn = true; };
        TracingCanvas canvas;
        canvas.trace.clear();
        bare->Draw(&canvas);
        const Lines alone = canvas.trace;
        root->Draw(&canvas);
        EXPECT_EQ(std::pair(Lines{}, false), std::pair(alone, drawn));
    }
}

TEST(AppearanceTemplate, CastsToItsControlClassOrThrowsABadCast)
{
    TControlAppearance<CPanel> forPanels;
    CControl plain("plain");
    CPanel panel("panel");
    EXPECT_THROW(forPanels.HitTest(&plain, V(0, 0)), EBadCast);
    EXPECT_STREQ("bad cast", EBadCast().what());
    EXPECT_THROW(forPanels.CastControl(static_cast<CControl*>(nullptr)), std::bad_cast);
    EXPECT_EQ(forPanels.CastControl(static_cast<CControl*>(&panel)), &panel);
    const TControlAppearance<CPanel>& constant = forPanels;
    EXPECT_THROW(constant.CastControl(static_cast<const CControl*>(&plain)), std::bad_cast);
}

TEST(AppearanceTemplate, TheTransparentAppearanceHitsItsBoundsHalfOpenAndItsClientIsTheWholeControl)
{
    CTransparentAppearance transparent;
    CControl plain("plain");
    plain.SetBounds(Rect2f(10, 20, 30, 40));
    const std::tuple<V, bool> hits[] = {{V(10, 20), true},  {V(39.99f, 59.99f), true}, {V(40, 20), false},
                                        {V(10, 60), false}, {V(9.99f, 30), false},     {V(20, 19.99f), false}};
    for (const auto& [point, hit] : hits) {
        EXPECT_EQ(transparent.HitTest(&plain, point), hit) << Point(point);
    }
    Rect2f client(1, 1, 1, 1);
    plain.SetBounds(Rect2f(35, 7, 100, 40));
    transparent.GetClientRect(client, &plain);
    EXPECT_EQ(client, Rect2f(0, 0, 100, 40));
}
