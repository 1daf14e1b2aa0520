/** @file ControlsRegressionTest.cpp Faults found in the buttons, list boxes, horizontal selectors and scroll bars:
 * a draw that fails on a missing font must not leave a font pushed on the canvas for every later frame, and a skin
 * whose definition fails to load keeps all of its earlier values. */
#include <functional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/ContainerControl.h"
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/ListBox.h"
#include "KorvaneXDK/mwt/SkinButtonAppearance.h"
#include "KorvaneXDK/mwt/SkinScrollBarAppearance.h"
#include "TreeTestSupport.h"
#include "support/FakeTexture.h"
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

TEST(ControlsRegressionTest, ASkinWhoseDownPictureFailsToLoadKeepsItsEarlierValues)
{
    test::FakeTexture up(16, 16);
    test::FakeTexture down(16, 16);
    test::FakeTexture other(8, 8);
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
    const canvas::Rect2f body(1, 0, 8, 0);

    CSkinButtonAppearance button;
    button.LoadProperties(first, resolve);
    EXPECT_THROW(button.LoadProperties(second, resolve), std::runtime_error);
    EXPECT_EQ(body, button.GetBodyRect());
    EXPECT_EQ(&up, button.GetTexture());
    EXPECT_EQ(&down, button.GetDownTexture());

    CSkinScrollBarAppearance bar;
    bar.LoadProperties(first, resolve);
    EXPECT_THROW(bar.LoadProperties(second, resolve), std::runtime_error);
    EXPECT_EQ(body, bar.GetBodyRect());
    EXPECT_EQ(&up, bar.GetTexture());
    EXPECT_EQ(&down, bar.GetDownTexture());
    EXPECT_EQ(20.0f, bar.GetMaxButtonSize());
}
