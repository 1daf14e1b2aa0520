/** @file ScreenTest.cpp The screen: top-most forms kept above the others, the cascade and its wrap, adding without
 * focusing or reopening, and the active form. */
#include "MwtTest.h"

namespace
{

/// "A..." a plain control, "T..." a top-most form, "E..." a top-most form in layout edit mode,
/// anything else an ordinary form.
boost::shared_ptr<CControl> Child(const std::string& name)
{
    if (name[0] == 'A') {
        return Make<CControl>(name, 0, 0, 10, 10);
    }
    auto form = Make<CForm>(name, 0, 0, 100, 50);
    form->SetTopMost(name[0] == 'T' || name[0] == 'E'); // before the first open: the flag only
    form->SetLayoutEditMode(name[0] == 'E');
    return form;
}

Lines Order(const CScreen& screen)
{
    Lines names;
    for (const auto& child : screen.GetControls()) {
        names.push_back(child->GetName());
    }
    return names;
}

/// An initialised 1920 x 1080 screen holding the children of the names, in order.
boost::shared_ptr<CScreen> ScreenOf(const Lines& names)
{
    auto screen = Make<CScreen>("screen", 0, 0, 1920, 1080, kInitialized);
    for (const std::string& name : names) {
        screen->AddControl(Child(name));
    }
    return screen;
}

CControl& Find(const CScreen& screen, const std::string& name)
{
    return dynamic_cast<CControl&>(*screen.FindControlByName(name));
}

} // namespace

TEST(Screen, TopMostFormsStayAboveTheCascadeWrapsAndAddingDoesNotFocus)
{
    const std::tuple<Lines, const char*, Lines> rows[] = {
        {{"A", "T1", "T2"}, "F", {"A", "F", "T1", "T2"}},
        {{"A", "F", "T1", "T2"}, "T3", {"A", "F", "T1", "T2", "T3"}},
        {{"T1"}, "F", {"F", "T1"}},
        {{}, "F", {"F"}},
        {{"A", "T1"}, "E1", {"A", "E1", "T1"}}, // in layout edit mode: placed as an ordinary form
        {{"A", "E1"}, "F", {"A", "F", "E1"}},   // but a top-most form for the others
        // '^': brought to the front, under the same rule.
        {{"A", "F", "G", "T1", "T2"}, "^F", {"A", "G", "F", "T1", "T2"}},
        {{"A", "F", "T1", "T2"}, "^T1", {"A", "F", "T2", "T1"}}};
    for (const auto& [before, step, after] : rows) {
        auto screen = ScreenOf(before);
        if (step[0] == '^') {
            Find(*screen, step + 1).BringToFront();
        } else {
            screen->AddControl(Child(step));
        }
        EXPECT_EQ(Order(*screen), after) << step;
    }

    // Made top-most once open; and activated by a press.
    auto screen = ScreenOf({"F", "G", "T1"});
    dynamic_cast<CForm&>(Find(*screen, "F")).SetTopMost(true);
    const Lines madeTopMost = Order(*screen);
    Find(*screen, "G").OnMouseDown(V(50, 30), 1);
    EXPECT_EQ(std::pair(madeTopMost, Order(*screen)), std::pair(Lines{"G", "T1", "F"}, Lines{"G", "T1", "F"}));
    screen->AddControl(Child("H"));
    Find(*screen, "G").OnMouseDown(V(50, 30), 1);
    EXPECT_EQ(Order(*screen), (Lines{"H", "G", "T1", "F"}));

    auto cascade = ScreenOf({});
    std::vector<boost::shared_ptr<CControl>> forms;
    for (int i = 0; i < 51; ++i) {
        forms.push_back(Make<CForm>("F" + std::to_string(i), 0, 0, 400, 300));
        cascade->AddFormCascaded(forms.back());
    }
    // (24, 16) a step: the 50th form would reach y 784 + 300 >= 1080, and starts again at (0, 0).
    EXPECT_EQ((std::vector{V(0, 0), V(24, 16), V(1152, 768), V(0, 0), V(24, 16)}),
              (std::vector{forms[0]->GetLocation(), forms[1]->GetLocation(), forms[48]->GetLocation(),
                           forms[49]->GetLocation(), forms[50]->GetLocation()}));

    // Adding does not focus; the active form is the focused one.
    auto g = ScreenOf({"F"});
    auto* active = &dynamic_cast<CForm&>(Find(*g, "F"));
    EXPECT_EQ(std::pair(false, false), std::pair(bool(g->GetFocusedControl()), bool(g->GetActiveForm())));
    active->SetFocus();
    EXPECT_EQ(std::pair(active, true), std::pair(g->GetActiveForm().get(), active->IsFocused()));
    g->AddControl(Child("A"));
    Find(*g, "A").SetFocus();
    EXPECT_EQ(g->GetActiveForm(), nullptr);
}
