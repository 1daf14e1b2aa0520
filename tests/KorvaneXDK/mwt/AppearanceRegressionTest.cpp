/** @file AppearanceRegressionTest.cpp Faults found in the value controls and their appearances: a draw that fails on
 * a missing font must not leave a font pushed on the canvas for every later frame, each control shell takes the
 * default appearance factory it finds when it is constructed, and a track-bar button longer than its track stays at
 * its start. */
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/CheckBox.h"
#include "KorvaneXDK/mwt/ComboBox.h"
#include "KorvaneXDK/mwt/ContainerControl.h"
#include "KorvaneXDK/mwt/ControlAppearanceInterface.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Edit.h"
#include "KorvaneXDK/mwt/Knob.h"
#include "KorvaneXDK/mwt/Pager.h"
#include "KorvaneXDK/mwt/ProgressBar.h"
#include "KorvaneXDK/mwt/RadioButton.h"
#include "KorvaneXDK/mwt/SimpleKnobAppearance.h"
#include "KorvaneXDK/mwt/TrackBar.h"
#include "TreeTestSupport.h"
#include "support/RecordingCanvas.h"

using namespace korvane;
using namespace korvane::mwt;
using korvane::test::Make;

TEST(AppearanceRegressionTest, AFailedCaptionOrTextDrawLeavesNoFontPushed)
{
    const canvas::CFont missing("missing");
    const struct
    {
        const char* what;
        std::function<boost::shared_ptr<CControl>()> make;
    } rows[] = {
        {"combo box",
         [&] {
             auto combo = Make<CComboBox>("combo", 10, 10, 120, 24);
             combo->SetText("text");
             combo->SetTextFont(missing);
             return boost::shared_ptr<CControl>(combo);
         }},
        {"check box",
         [&] {
             auto box = Make<CCheckBox>("check", 10, 10, 120, 20);
             box->SetCaption("check");
             box->SetFont(missing);
             return boost::shared_ptr<CControl>(box);
         }},
        {"radio button",
         [&] {
             auto radio = Make<CRadioButton>("radio", 10, 10, 120, 20);
             radio->SetCaption("radio");
             radio->SetFont(missing);
             return boost::shared_ptr<CControl>(radio);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        test::RecordingCanvas rc;
        canvas::CCanvas& canvas = *rc.canvas;
        auto root = Make<CContainerControl>("root", 0, 0, 400, 300);
        root->Initialize();
        const boost::shared_ptr<CControl> control = row.make();
        root->AddControl(control);
        const std::size_t fonts = canvas.GetFontDepth();
        const std::size_t brushes = canvas.GetBrushDepth();
        const std::size_t matrices = canvas.GetMatrixDepth();
        // Through the container and through the control alone, twice each: a failure in one frame must
        // not change what the next frame starts from.
        for (int frame = 0; frame < 4; ++frame) {
            SCOPED_TRACE(frame);
            CControl& drawn = frame < 2 ? static_cast<CControl&>(*root) : *control;
            EXPECT_THROW(drawn.Draw(&canvas), EInvalidOperation);
            EXPECT_EQ(fonts, canvas.GetFontDepth());
            EXPECT_EQ("default", canvas.GetFont().GetName());
            EXPECT_EQ(brushes, canvas.GetBrushDepth());
            EXPECT_EQ(matrices, canvas.GetMatrixDepth());
        }
    }
}

namespace
{

template <typename T>
std::string InitialAppearanceName()
{
    T control("shell");
    control.Initialize();
    return control.GetAppearance() ? control.GetAppearance()->GetName() : std::string("(none)");
}

} // namespace

TEST(AppearanceRegressionTest, ShellsTakeTheirDefaultFactoryWhenConstructed)
{
    const struct
    {
        const char* what;
        CControl::AppearanceFactoryFunction& factory;
        std::function<std::string()> make;
        const char* expected;
    } rows[] = {
        {"knob", CDefaultFactories::KnobAppearance, &InitialAppearanceName<CKnob>, "SimpleKnob"},
        {"pager", CDefaultFactories::PagerAppearance, &InitialAppearanceName<CPager>, "SingleBorder"},
        {"edit", CDefaultFactories::EditAppearance, &InitialAppearanceName<CEdit>, "SingleBorder"},
        {"combo box", CDefaultFactories::ComboBoxAppearance, &InitialAppearanceName<CComboBox>, "SimpleComboBox"},
        {"check box", CDefaultFactories::CheckBoxAppearance, &InitialAppearanceName<CCheckBox>, "SimpleCheckBox"},
        {"radio button", CDefaultFactories::RadioButtonAppearance, &InitialAppearanceName<CRadioButton>,
         "SimpleRadioButton"},
        {"track bar", CDefaultFactories::TrackBarAppearance, &InitialAppearanceName<CTrackBar>, "SimpleTrackBar"},
        {"progress bar", CDefaultFactories::ProgressBarAppearance, &InitialAppearanceName<CProgressBar>,
         "SimpleProgressBar"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.expected, row.make());
        // Replacing the factory (the window scene does, once its skin is loaded) reaches only controls
        // constructed afterwards; the knob's appearance stands in for any skinned one.
        const CControl::AppearanceFactoryFunction saved = row.factory;
        row.factory = &CSimpleKnobAppearance::Create;
        EXPECT_EQ("SimpleKnob", row.make());
        row.factory = saved;
        EXPECT_EQ(row.expected, row.make());
    }
}

TEST(AppearanceRegressionTest, ATrackBarButtonLongerThanItsTrackDoesNotRunBackwards)
{
    // Horizontal simple track bars: the button is half the height long.
    const struct
    {
        float width;
        float height;
        double value;
        float buttonLeft;
    } rows[] = {
        {100.0f, 20.0f, 100.0, 90.0f}, // room to travel: the end of the track
        {100.0f, 20.0f, 50.0, 45.0f},
        {16.0f, 40.0f, 0.0, 0.0f}, // a 20-unit button on a 16-unit track stays at the start
        {16.0f, 40.0f, 50.0, 0.0f},
        {16.0f, 40.0f, 100.0, 0.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height << " at " << row.value);
        auto bar = Make<CTrackBar>("track", 0, 0, row.width, row.height);
        bar->Initialize();
        bar->SetMinimum(0.0);
        bar->SetMaximum(100.0);
        bar->SetValue(row.value);
        EXPECT_FLOAT_EQ(row.buttonLeft, bar->GetButtonRect().left);
        EXPECT_FLOAT_EQ(row.buttonLeft, bar->GetFirstAreaRect().width);
    }
}
