/** @file FormsRegressionTest.cpp Faults found in the forms, their appearances and the label: a draw that fails on a
 * missing font must not leave a font pushed on the canvas for every later frame. */
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/ContainerControl.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/mwt/SkinFormAppearance.h"
#include "TreeTestSupport.h"
#include "support/RecordingCanvas.h"

using namespace korvane;
using namespace korvane::mwt;
using korvane::test::Make;

namespace
{

/// Draws the root twice (a failure in one frame must not change what the next starts from) and
/// checks that every canvas stack, the fonts included, is back where it was.
void ExpectFailedDrawsRestoreTheStacks(CContainerControl& root, canvas::CCanvas& canvas)
{
    const std::size_t fonts = canvas.GetFontDepth();
    const std::size_t brushes = canvas.GetBrushDepth();
    const std::size_t matrices = canvas.GetMatrixDepth();
    for (int frame = 0; frame < 2; ++frame) {
        SCOPED_TRACE(frame);
        EXPECT_THROW(root.Draw(&canvas), EInvalidOperation);
        EXPECT_EQ(fonts, canvas.GetFontDepth());
        EXPECT_EQ("default", canvas.GetFont().GetName());
        EXPECT_EQ(brushes, canvas.GetBrushDepth());
        EXPECT_EQ(matrices, canvas.GetMatrixDepth());
    }
}

} // namespace

TEST(FormsRegressionTest, AFailedDrawLeavesNoFontPushed)
{
    for (const bool form : {false, true}) {
        SCOPED_TRACE(form ? "skin form" : "label");
        test::RecordingCanvas rc;
        auto root = Make<CContainerControl>("root", 0, 0, 400, 300);
        root->Initialize();
        if (form) {
            // The skin form draws its caption in the form's own font.
            auto skinned = Make<CForm>("form", 10, 10, 200, 100);
            skinned->AppearanceFactory = [] { return boost::make_shared<CSkinFormAppearance>(); };
            skinned->GetFont().SetName("missing");
            skinned->SetFormName("caption");
            root->AddControl(skinned);
        } else {
            auto label = Make<CLabel>("label", 10, 10, 100, 20);
            label->SetCaption("text");
            label->GetFont().SetName("missing");
            root->AddControl(label);
        }
        ExpectFailedDrawsRestoreTheStacks(*root, *rc.canvas);
    }
}
