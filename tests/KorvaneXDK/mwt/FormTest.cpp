/** @file FormTest.cpp Forms: the open and close life cycle with its handlers, the caption boxes' window states, frame
 * dragging, and failing animation factories. */
#include "MwtTest.h"

namespace
{

V Centre(const Rect2f& r)
{
    return V(r.left + r.width / 2, r.top + r.height / 2);
}

/// A 640 x 480 screen and a 200 x 100 form at (10, 20) whose handlers write to the log.
struct FormFixture
{
    FormFixture()
    {
        screen->Initialize();
        form->InitializedEvent = [this](CForm*) { log.push_back("initialized"); };
        form->OpenedEvent = [this](CForm* f) { log.push_back(f->IsVisible() ? "opened visible" : "opened hidden"); };
        form->ClosingEvent = [this](CForm*) { log.push_back("closing"); };
        form->ClosedEvent = [this](CForm* f) { log.push_back(f->GetParent() ? "closed child" : "closed orphan"); };
    }

    bool OnScreen() const { return screen->FindControl(form.get()) != nullptr; }

    /// Opens the form on the screen and lets it close to the end; the log ends with "closed child".
    void OpenAndCloseOnScreen()
    {
        screen->AddControl(form);
        screen->Update(1.0f);
        form->Close();
        screen->Update(0.25f);
        screen->Update(0.25f);
        screen->Update(0.0f);
    }

    /// Presses the close box of a framed form wired to the log.
    void PressCloseBox()
    {
        form->SetCloseBoxEnabled(true);
        screen->AddControl(form);
        Wire(*form, log);
        form->OnMouseDown(Centre(form->GetCloseBoxRect()), 1);
    }

    /// Adds the form without an opening animation factory: it is initialized, but the opening throws.
    void AddWithoutOpenFactory()
    {
        form->OpenAnimationFactory.clear();
        EXPECT_THROW(screen->AddControl(form), boost::bad_function_call);
    }

    boost::shared_ptr<CScreen> screen = Make<CScreen>("screen", 0, 0, 640, 480);
    boost::shared_ptr<CForm> form = Make<CForm>("form", 10, 20, 200, 100);
    Log log;
};

} // namespace

TEST(Form, AddingToAContainerOpensItAndAddingItAgainWhileAChildDoesNot)
{
    FormFixture f;
    EXPECT_FALSE(f.form->IsVisible());
    f.screen->AddControl(f.form);
    f.screen->AddControl(f.form); // already a child: not opened again
    f.screen->RemoveControl(f.form.get());
    f.screen->AddControl(f.form);
    EXPECT_EQ(f.log, (Log{"initialized", "opened visible", "opened visible"}));
}

TEST(Form, ClosingAnimatesDisabledThenLeavesTheContainerAndResetsTheForm)
{
    FormFixture f;
    f.screen->AddControl(f.form);
    f.screen->Update(1.0f);
    f.log.clear();
    f.form->Close();
    f.form->Close(); // ignored while closing
    EXPECT_FALSE(f.form->IsEnabled());
    f.screen->Update(0.25f);
    f.screen->Update(0.25f); // the animation ends during this frame
    EXPECT_EQ(std::pair(true, Log{"closing"}), std::pair(f.OnScreen(), f.log));
    f.screen->Update(0.0f);
    EXPECT_EQ(std::pair(false, Log{"closing", "closed child"}), std::pair(f.OnScreen(), f.log));
    // Closing, enabled, visible, the animation completed.
    EXPECT_EQ(std::tuple(false, true, false, true),
              std::tuple(f.form->IsClosing(), f.form->IsEnabled(), f.form->IsVisible(),
                         f.form->GetAnimation()->IsCompleted()));
}

TEST(Form, AFormClosedWithoutAContainerResetsButCallsNoClosedHandler)
{
    FormFixture f;
    f.OpenAndCloseOnScreen();
    auto lone = Make<CForm>("lone", 0, 0, 50, 50);
    lone->ClosedEvent = [&](CForm*) { f.log.push_back("lone closed"); };
    lone->CloseAnimationFactory = CDefaultFactories::NullAnimation;
    lone->Open();
    lone->Close();
    lone->Update(0.0f);
    EXPECT_EQ(std::pair(false, std::string("closed child")), std::pair(lone->IsClosing(), f.log.back()));
}

TEST(Form, TheCloseBoxClosesAndTheClosingFormIgnoresTheMouse)
{
    FormFixture g;
    g.PressCloseBox();
    ASSERT_TRUE(g.form->IsClosing());
    g.log.clear();
    g.form->OnMouseDown(V(50, 5), 1); // on the caption: would start a drag
    g.form->OnMouseMove(V(80, 5), 1);
    g.form->OnMouseUp(V(80, 5), 1);
    g.form->OnMouseDown(V(50, 50), 1); // in the client area
    EXPECT_EQ(std::tuple(Log{}, false, V(10, 20)), std::tuple(g.log, g.form->IsDragging(), g.form->GetLocation()));
}

TEST(Form, OpeningAClosingFormEndsTheClosingButLeavesItDisabled)
{
    FormFixture g;
    g.PressCloseBox();
    ASSERT_TRUE(g.form->IsClosing());
    g.form->Open();
    EXPECT_EQ(std::tuple(false, false), std::tuple(g.form->IsClosing(), g.form->IsEnabled()));
}

TEST(Form, TheMaximizeAndRollUpBoxesOfFramedFormsSetTheWindowStateBoundsAndDock)
{
    const Rect2f normal(10, 20, 200, 100);
    const Rect2f rolled(10, 20, 200, 20);
    const Rect2f maximized(0, 0, 640, 480);
    const std::tuple<const char*, std::int32_t, std::int32_t, Rect2f> rows[] = {
        {"M", 2, CForm::kStateMaximized, maximized},
        {"MM", 2, CForm::kStateNormal, normal},
        {"R", 3, CForm::kStateRolledUp, rolled},
        {"RR", 2, CForm::kStateNormal, normal},
        {"RM", 2, CForm::kStateMaximized, maximized},
        {"RMM", 2, CForm::kStateNormal, normal}, // maximised from rolled up: the bounds saved before rolling up
        {"MR", 2, CForm::kStateRolledUp, rolled},
        {"MRR", 2, CForm::kStateNormal, normal},
        {"M", 1, CForm::kStateNormal, normal}, // unframed styles ignore the boxes
        {"R", 0, CForm::kStateNormal, normal}};
    for (const auto& [presses, style, state, bounds] : rows) {
        SCOPED_TRACE(std::string(presses) + " style " + std::to_string(style));
        FormFixture f;
        f.form->SetMaximizeBoxEnabled(true);
        f.form->SetRollUpBoxEnabled(true);
        f.screen->AddControl(f.form);
        // The boxes of a framed form, kept when the style then changes.
        const Rect2f maximizeBox = f.form->GetMaximizeBoxRect(), rollUpBox = f.form->GetRollUpBoxRect();
        f.form->SetFormStyle(style);
        for (const char* p = presses; *p; ++p) {
            const bool framed = style == 2 || style == 3;
            const Rect2f box = *p == 'M' ? (framed ? f.form->GetMaximizeBoxRect() : maximizeBox)
                                         : (framed ? f.form->GetRollUpBoxRect() : rollUpBox);
            Click(*f.form, Centre(box));
        }
        const std::int32_t dock = state == CForm::kStateMaximized ? CControl::kDockFill : CControl::kDockNone;
        EXPECT_EQ(std::tuple(state, bounds, dock),
                  std::tuple(f.form->GetWindowState(), f.form->GetBounds(), f.form->GetDock()));
    }
}

TEST(Form, TheFrameDragsTheFormOnlyWhenUndockedAndOutsideLayoutEditMode)
{
    const std::tuple<const char*, std::int32_t, bool, bool, V, bool> drags[] = {
        {"a press on the caption drags", 0, false, false, V(50, 5), true},
        {"a press on the side band drags", 0, false, false, V(0, 50), true},
        {"a press in the client area does not", 0, false, false, V(50, 50), false},
        {"a docked form does not", 1, false, false, V(50, 5), false},
        {"nor one in layout edit mode", 0, true, false, V(50, 5), false},
        {"deactivation ends the drag in place", 0, false, true, V(50, 5), true}};
    for (const auto& [what, dock, editMode, deactivate, press, drags] : drags) {
        SCOPED_TRACE(what);
        FormFixture f;
        f.screen->AddControl(f.form);
        f.form->SetLayoutEditMode(editMode);
        f.form->SetDock(dock);
        bool ownPress = false;
        f.form->MouseDownEvent = [&](CControl*, V, int) { ownPress = true; };
        const V start = f.form->GetLocation();
        // Through the screen, so the form hears points relative to where it is now.
        const V pointer = start + press;
        f.screen->OnMouseDown(pointer, 1);
        EXPECT_EQ(std::pair(drags, !drags), std::pair(f.form->IsDragging(), ownPress));
        if (editMode) {
            continue; // the press edits the form instead (moved by the layout-edit drag)
        }
        if (deactivate) {
            f.form->OnWindowDeactivate();
            EXPECT_FALSE(f.form->IsDragging());
        }
        const bool moves = drags && !deactivate;
        f.screen->OnMouseMove(pointer + V(10, 10), 1);
        EXPECT_EQ(f.form->GetLocation() - start, moves ? V(10, 10) : V(0, 0));
        f.screen->OnMouseUp(pointer + V(11, 12), 1);
        EXPECT_EQ(std::pair(moves ? V(11, 12) : V(0, 0), false),
                  std::pair(f.form->GetLocation() - start, f.form->IsDragging()));
    }
}

TEST(Form, WithoutAnOpeningFactoryAddingThrowsAfterInitializingAndLeavesItHidden)
{
    FormFixture h;
    h.form->OpenAnimationFactory.clear();
    EXPECT_THROW(h.screen->AddControl(h.form), boost::bad_function_call);
    EXPECT_EQ(std::tuple(true, false), std::tuple(h.form->IsInitialized(), h.form->IsVisible()));
}

TEST(Form, WithoutAClosingFactoryCloseThrowsAndLeavesTheFormClosingAndDisabled)
{
    FormFixture h;
    h.AddWithoutOpenFactory();
    h.form->CloseAnimationFactory.clear();
    EXPECT_THROW(h.form->Close(), boost::bad_function_call);
    EXPECT_EQ(std::tuple(true, false, Log{"initialized"}), std::tuple(h.form->IsClosing(), h.form->IsEnabled(), h.log));
}

TEST(Form, TheDefaultFactoriesAreCopiedWhenTheFormIsConstructed)
{
    FormFixture h;
    h.AddWithoutOpenFactory(); // the log holds "initialized"
    Log& log = h.log;
    const CControl::AnimationFactoryFunction saved = CDefaultFactories::FormOpenAnimation;
    auto before = Make<CForm>("before", 0, 0, 100, 50);
    CDefaultFactories::FormOpenAnimation = [&log] {
        return boost::shared_ptr<CAnimationComponent>(new FakeAnimation("replaced", log));
    };
    auto after = Make<CForm>("after", 0, 0, 100, 50);
    CDefaultFactories::FormOpenAnimation = saved;
    before->Open();
    after->Open();
    EXPECT_EQ(log, (Log{"initialized", "replaced init"}));
}
