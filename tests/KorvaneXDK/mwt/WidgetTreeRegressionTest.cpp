/** @file WidgetTreeRegressionTest.cpp Faults found in the widget tree: a control whose drawing fails must not
 * leave the canvas stacks pushed for every later frame. */
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/ContainerControl.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/Panel.h"
#include "support/RecordingCanvas.h"

using namespace korvane;
using namespace korvane::mwt;

namespace
{

/// Pushes a brush and a matrix of its own, then fails, as an appearance whose font or texture
/// is missing does.
class CFailingAppearance : public TControlAppearance<CControl>
{
public:
    void Draw(CControl*, canvas::CCanvas* canvas) override
    {
        canvas->PushBrush();
        canvas->PushMatrix();
        throw EInvalidOperation(nullptr, "drawing failed");
    }
};

TEST(WidgetTreeRegressionTest, AFailedDrawLeavesTheCanvasStacksAsTheyWere)
{
    test::RecordingCanvas recording;
    canvas::CCanvas& canvas = *recording.canvas;

    auto root = boost::make_shared<CContainerControl>("root");
    root->Initialize();
    root->SetSize(Vector2<float>(200.0f, 100.0f));
    auto panel = boost::make_shared<CPanel>("panel");
    panel->SetLocation(Vector2<float>(10.0f, 20.0f));
    panel->SetSize(Vector2<float>(100.0f, 50.0f));
    panel->SetEffectColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.5f));
    root->AddControl(panel);
    auto failing = boost::make_shared<CControl>("failing");
    failing->SetAppearance(boost::make_shared<CFailingAppearance>());
    failing->SetLocation(Vector2<float>(5.0f, 5.0f));
    failing->SetSize(Vector2<float>(20.0f, 20.0f));
    panel->AddControl(failing);

    const std::size_t matrices = canvas.GetMatrixDepth();
    const std::size_t brushes = canvas.GetBrushDepth();
    const std::size_t clips = canvas.GetClipDepth();
    const canvas::Rect2f clip = canvas.GetClipRect();

    // Twice: a failure in one frame must not change what the next frame starts from.
    for (int frame = 0; frame < 2; ++frame) {
        SCOPED_TRACE(frame);
        EXPECT_THROW(root->Draw(&canvas), EInvalidOperation);
        EXPECT_EQ(matrices, canvas.GetMatrixDepth());
        EXPECT_EQ(brushes, canvas.GetBrushDepth());
        EXPECT_EQ(clips, canvas.GetClipDepth());
        EXPECT_EQ(clip, canvas.GetClipRect());
        EXPECT_EQ(Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), canvas.GetEffectiveColor());
        // No translation of the panel or its child is left on the top matrix.
        EXPECT_EQ(0.0f, canvas.GetMatrix().m[3]);
        EXPECT_EQ(0.0f, canvas.GetMatrix().m[7]);
    }
}

} // namespace
