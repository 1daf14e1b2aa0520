/** @file ControlsRegressionTest.cpp Faults found in the buttons, list boxes, horizontal selectors and scroll bars:
 * a draw that fails on a missing font must not leave a font pushed on the canvas for every later frame. */
#include <functional>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/ContainerControl.h"
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/ListBox.h"
#include "TreeTestSupport.h"
#include "support/RecordingCanvas.h"

using namespace korvane;
using namespace korvane::mwt;
using korvane::test::Make;

TEST(ControlsRegressionTest, AFailedDrawLeavesNoFontPushed)
{
    const canvas::CFont missing("missing");
    const struct
    {
        const char* what;
        std::function<boost::shared_ptr<CControl>()> make;
    } rows[] = {
        {"button",
         [&] {
             auto button = Make<CButton>("button", 10, 10, 100, 30);
             button->SetCaption("press");
             button->SetFont(missing);
             return boost::shared_ptr<CControl>(button);
         }},
        {"list box",
         [&] {
             auto list = Make<CListBox>("list", 10, 10, 100, 100);
             list->GetItems() = {"one", "two"};
             list->SetFont(missing);
             return boost::shared_ptr<CControl>(list);
         }},
        {"selector",
         [&] {
             auto selector = Make<CHorizontalSelector>("selector", 10, 10, 100, 30);
             selector->GetItems() = {"one", "two"};
             selector->SetFont(missing);
             return boost::shared_ptr<CControl>(selector);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        test::RecordingCanvas rc;
        canvas::CCanvas& canvas = *rc.canvas;
        auto root = Make<CContainerControl>("root", 0, 0, 400, 300);
        root->Initialize();
        root->AddControl(row.make());
        const std::size_t fonts = canvas.GetFontDepth();
        const std::size_t brushes = canvas.GetBrushDepth();
        // Twice: a failure in one frame must not change what the next frame starts from.
        for (int frame = 0; frame < 2; ++frame) {
            SCOPED_TRACE(frame);
            EXPECT_THROW(root->Draw(&canvas), EInvalidOperation);
            EXPECT_EQ(fonts, canvas.GetFontDepth());
            EXPECT_EQ("default", canvas.GetFont().GetName());
            EXPECT_EQ(brushes, canvas.GetBrushDepth());
        }
    }
}
