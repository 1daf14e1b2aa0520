/** @file DrawTest.cpp The widget tree drawn on the recording device: clip and matrix sequence under a nested client
 * offset, layout-edit markers, a shared appearance, and a hidden panel. */
#include "KorvaneXDK/mwt/SolidColorAppearance.h"
#include "MwtTest.h"

namespace
{

struct DrawFixture
{
    DrawFixture()
    {
        screen->Initialize();
        canvas.trace.clear();
    }

    ~DrawFixture()
    {
        // Every draw leaves the matrix, brush and clip stacks as it found them.
        EXPECT_EQ(std::tuple(canvas.GetMatrixDepth(), canvas.GetBrushDepth(), canvas.GetClipDepth()),
                  std::tuple(std::size_t{1}, std::size_t{1}, std::size_t{1}));
    }

    boost::shared_ptr<RecordingCanvasDevice> device = boost::make_shared<RecordingCanvasDevice>();
    TracingCanvas canvas{device};
    boost::shared_ptr<CScreen> screen = Make<CScreen>("screen", 0, 0, 300, 300);
};

} // namespace

TEST(Draw, NestedClientOffsetsLayoutEditMarkersASharedAppearanceAndAHiddenPanel)
{
    DrawFixture f;
    auto form = Make<CForm>("form", 20, 30, 200, 150);
    form->SetAppearance(boost::make_shared<InsetAppearance>());
    form->OpenAnimationFactory = CDefaultFactories::NullAnimation;
    f.screen->AddControl(form);
    auto leaf = Make("leaf", 10, 5, 30, 20);
    leaf->SetAppearance(CSolidColorAppearance::Create());
    leaf->SetColor(Color4<float>(0, 0, 1, 1));
    form->AddControl(leaf);
    leaf->SetEffectTransform(canvas::MakeScaling(2, 2));
    leaf->SetEffectColor(Color4<float>(1, 1, 1, 0.5f));

    // The leaf's clip, where its (1, 1) lands and its colour.
    std::tuple<Rect2f, V, Color4<float>> seen;
    leaf->DrawEvent = [&seen](CControl*, canvas::CCanvas* c) {
        seen = {c->GetLocalClipRect(), canvas::TransformPoint(c->GetMatrix(), V(1, 1)), c->GetEffectiveColor()};
    };
    f.screen->Draw(&f.canvas);

    // The client area in root coordinates; each child's root origin; its effect after the clip.
    EXPECT_EQ(f.canvas.Only({"multiply", "intersect", "origin"}),
              (Lines{"multiply I", "intersect (0,0,300,300)", "multiply T(20,30)", "origin (20,30)", "multiply I",
                     "multiply T(4,12)", "intersect (24,42,192,134)", "multiply T(10,5)", "origin (34,47)",
                     "multiply S(2,2)"}));
    // The form's client area seen from the leaf.
    EXPECT_EQ(seen, std::tuple(Rect2f(-10, -5, 192, 134), V(36, 49), Color4<float>(1, 1, 1, 0.5f)));
    ASSERT_EQ(f.device->draws.size(), 1u);
    EXPECT_EQ(f.device->draws[0].Triangles().at(0).color0, 0x7F0000FFu); // the leaf's blue at half opacity

    // Pushes and pops around each child, in order.
    const Lines stacks = f.canvas.Only({"push", "pop", "multiply", "origin"});
    const auto at = std::find(stacks.begin(), stacks.end(), "multiply T(10,5)");
    ASSERT_TRUE(at != stacks.begin() && stacks.end() - at >= 12);
    EXPECT_EQ(Lines(at - 1, at + 12),
              (Lines{"push matrix", "multiply T(10,5)", "push clip", "origin (34,47)", "multiply S(2,2)", "push brush",
                     "push matrix", "push brush", "pop brush", "pop matrix", "pop clip", "pop brush", "pop matrix"}));

    // The focused form's client area is framed orange; the other forms' are not.
    const std::string grey = " (0.5,0.5,0.5,1)", red = " (1,0,0,1)";
    const Lines unfocused = {"frame (0,0,200,200)" + grey, "fill (192,192,8,8)" + red, "frame (0,0,200,200)" + red,
                             "frame (0,0,40,30)" + grey,   "fill (32,22,8,8)" + red,   "frame (0,0,40,30)" + red,
                             "frame (0,0,20,20)" + grey};
    Lines focused = unfocused;
    focused.insert(focused.begin() + 3, "frame (0,0,200,200) (1,0.7,0,1)");
    const std::tuple<const char*, bool, bool, Lines> rows[] = {
        {"edit mode off", false, true, {}},
        {"edit mode, the form focused on the screen", true, true, focused},
        {"edit mode, another form focused: no client frame", true, false, unfocused}};
    for (const auto& [what, editMode, formFocused, expected] : rows) {
        DrawFixture g;
        const boost::shared_ptr<IControlAppearance> shared = CTransparentAppearance::Create();
        auto form = Add<CForm>(*g.screen, "form", 0, 0, 200, 200);
        auto other = Add<CForm>(*g.screen, "other", 210, 0, 80, 80);
        // Forms drawn like plain controls: only the layout-edit markers show.
        form->SetAppearance(CTransparentAppearance::Create());
        other->SetAppearance(CTransparentAppearance::Create());
        for (auto [name, x, w] : {std::tuple{"c", 10.0f, 40.0f}, {"d", 100.0f, 20.0f}}) {
            auto control = Make(name, x, 10, w, w == 40.0f ? 30.0f : 20.0f);
            control->SetAppearance(shared);
            form->AddControl(control);
        }
        form->SetLayoutEditMode(editMode);
        g.screen->SetFocusedControl(formFocused ? form.get() : other.get());
        g.canvas.trace.clear();
        g.screen->Draw(&g.canvas);
        EXPECT_EQ(g.canvas.Only({"fill", "frame"}), expected) << what;
    }

    // A hidden panel draws nothing, its children neither (the drawn panels are the GL clip test's).
    DrawFixture g;
    auto panel = Add<CPanel>(*g.screen, "panel", 5, 5, 100, 50);
    Add(*panel, "child", 1, 1, 10, 10)->SetAppearance(CSolidColorAppearance::Create());
    panel->SetVisible(false);
    g.screen->Draw(&g.canvas);
    EXPECT_EQ(g.canvas.Only({"fill", "frame"}), Lines{});
}
