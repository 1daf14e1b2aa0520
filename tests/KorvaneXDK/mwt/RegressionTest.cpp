/** @file RegressionTest.cpp Faults found in the widget tree and the controls: a draw that fails (on a missing font,
 * say) must not leave a font, brush, matrix or clip pushed on the canvas for every later frame; each control takes
 * the default factory it finds when it is constructed; a skin whose definition fails to load keeps its earlier
 * values. */

#include "KorvaneXDK/mwt/SkinFormAppearance.h"
#include "KorvaneXDK/mwt/SolidColorAppearance.h"
#include "MwtTest.h"

namespace
{

using Ptr = boost::shared_ptr<CControl>;

/// Pushes a brush and a matrix of its own, then fails, as an appearance whose font or texture is missing does.
class FailingAppearance : public TControlAppearance<CControl>
{
public:
    void Draw(CControl*, canvas::CCanvas* canvas) override
    {
        canvas->PushBrush();
        canvas->PushMatrix();
        throw EInvalidOperation(nullptr, "drawing failed");
    }
};

template <typename T>
Ptr Shell()
{
    return boost::make_shared<T>("shell");
}

std::string InitialAppearanceName(const Ptr& control)
{
    control->Initialize();
    return control->GetAppearance() ? control->GetAppearance()->GetName() : std::string("(none)");
}

} // namespace

TEST(RegressionTest, FailedDrawsLeaveTheStacksDefaultFactoriesAreTakenAtConstructionFailedLoadsKeep)
{
    RecordingCanvas rc;
    canvas::CCanvas& canvas = *rc.canvas;
    const canvas::CFont missing("missing");
    auto with = [](auto control, auto prepare) { return prepare(*control), Ptr(control); };
    const Ptr controls[] = {
        with(Make<CComboBox>("combo", 10, 10, 120, 24), [&](auto& c) { c.SetText("text"), c.SetTextFont(missing); }),
        with(Make<CButton>("button", 10, 10, 100, 30), [&](auto& c) { c.SetCaption("press"), c.SetFont(missing); }),
        with(Make<CListBox>("list", 10, 10, 100, 100),
             [&](auto& c) { c.GetItems().assign(2, "item"), c.SetFont(missing); }),
        with(Make<CHorizontalSelector>("selector", 10, 10, 100, 30),
             [&](auto& c) { c.GetItems().assign(2, "item"), c.SetFont(missing); }),
        with(Make<CLabel>("label", 10, 10, 100, 20),
             [](auto& c) { c.SetCaption("text"), c.GetFont().SetName("missing"); }),
        // The skin form draws its caption in the form's own font.
        with(Make<CForm>("form", 10, 10, 200, 100),
             [](auto& c) {
                 c.AppearanceFactory = [] { return boost::make_shared<CSkinFormAppearance>(); };
                 c.GetFont().SetName("missing");
                 c.SetFormName("caption");
             }),
        // A control failing inside a half-transparent panel.
        with(Make<CPanel>("panel", 10, 20, 100, 50), [](auto& c) {
            c.SetEffectColor(Color4<float>(1, 1, 1, 0.5f));
            Add(c, "failing", 5, 5, 20, 20)->SetAppearance(boost::make_shared<FailingAppearance>());
        })};
    // The font and its name, the brush, matrix and clip depths, the clip, the colour and the matrix on top.
    auto state = [&canvas] {
        return std::tuple(canvas.GetFontDepth(), canvas.GetFont().GetName(), canvas.GetBrushDepth(),
                          canvas.GetMatrixDepth(), canvas.GetClipDepth(), canvas.GetClipRect(),
                          canvas.GetEffectiveColor(), Describe(canvas.GetMatrix()));
    };
    const auto before = state();
    EXPECT_EQ(std::tuple("default", Color4<float>(1, 1, 1, 1), "I"),
              std::tuple(std::get<1>(before), std::get<6>(before), std::get<7>(before)));
    for (const Ptr& control : controls) {
        SCOPED_TRACE(control->GetName());
        auto root = Make<CContainerControl>("root", 0, 0, 400, 300, kInitialized);
        root->AddControl(control);
        // Through the container and through the control alone, twice each: a failure in one frame must not change
        // what the next frame starts from.
        for (int frame = 0; frame < 4; ++frame) {
            SCOPED_TRACE(frame);
            EXPECT_THROW((frame < 2 ? *root : *control).Draw(&canvas), EInvalidOperation);
            EXPECT_EQ(before, state());
        }
    }

    const struct
    {
        CControl::AppearanceFactoryFunction& factory;
        Ptr (*make)();
        const char* expected;
    } rows[] = {{CDefaultFactories::KnobAppearance, &Shell<CKnob>, "SimpleKnob"},
                {CDefaultFactories::PagerAppearance, &Shell<CPager>, "SingleBorder"},
                {CDefaultFactories::EditAppearance, &Shell<CEdit>, "SingleBorder"},
                {CDefaultFactories::ComboBoxAppearance, &Shell<CComboBox>, "SimpleComboBox"},
                {CDefaultFactories::CheckBoxAppearance, &Shell<CCheckBox>, "SimpleCheckBox"},
                {CDefaultFactories::RadioButtonAppearance, &Shell<CRadioButton>, "SimpleRadioButton"},
                {CDefaultFactories::TrackBarAppearance, &Shell<CTrackBar>, "SimpleTrackBar"},
                {CDefaultFactories::ProgressBarAppearance, &Shell<CProgressBar>, "SimpleProgressBar"},
                {CDefaultFactories::ButtonAppearance, &Shell<CButton>, "SimpleButton"},
                {CDefaultFactories::ListBoxAppearance, &Shell<CListBox>, "SingleBorder"},
                {CDefaultFactories::HorizontalSelectorAppearance, &Shell<CHorizontalSelector>, "Transparent"},
                {CDefaultFactories::ScrollBarAppearance, &Shell<CScrollBar>, "SimpleScrollBar"},
                {CDefaultFactories::FormAppearance, &Shell<CForm>, "SimpleForm"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        // Replacing a factory (the window scene does, once its skin is loaded) reaches only the controls of its own
        // class constructed afterwards, whenever they are initialised. A class reading another class's factory fails
        // its own row.
        const Ptr before = row.make();
        const CControl::AppearanceFactoryFunction saved = row.factory;
        row.factory = &CSolidColorAppearance::Create;
        const Ptr during = row.make();
        const std::string beforeName = InitialAppearanceName(before);
        row.factory = saved;
        EXPECT_EQ(std::pair(std::string(row.expected), std::string("SolidColor")),
                  std::pair(beforeName, InitialAppearanceName(during)));
    }

    FakeTexture up(16, 16), down(16, 16), other(8, 8);
    AppearanceProperties first;
    first.ParseLines({"BodyRect.left=1", "BodyRect.width=8", "Texture=up", "DownTexture=down", "MaxButtonSize=20"});
    AppearanceProperties second;
    second.ParseLines({"BodyRect.left=5", "BodyRect.width=2", "Texture=other", "DownTexture=broken"});
    const auto resolve = [&](const std::string& name) -> ITexture* {
        if (name == "broken") {
            throw std::runtime_error("no such picture");
        }
        return name == "up" ? &up : name == "down" ? &down : &other;
    };
    const auto keepsTheFirstLoad = [&](auto& appearance) {
        appearance.LoadProperties(first, resolve);
        EXPECT_THROW(appearance.LoadProperties(second, resolve), std::runtime_error);
        EXPECT_EQ(std::tuple(Rect2f(1, 0, 8, 0), static_cast<ITexture*>(&up), static_cast<ITexture*>(&down)),
                  std::tuple(appearance.GetBodyRect(), appearance.GetTexture(), appearance.GetDownTexture()));
    };
    CSkinButtonAppearance button;
    keepsTheFirstLoad(button);
    CSkinScrollBarAppearance bar;
    keepsTheFirstLoad(bar);
    EXPECT_EQ(20.0f, bar.GetMaxButtonSize());
}
