/** @file WindowSceneRegressionTest.cpp Faults found in the window scene, each kept fixed: drawing on an offscreen
 * OpenGL device over the build's data archive. */
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "host/MegaWindowScene.h"
#include "support/LogCapture.h"

namespace
{

using korvane::mwt::CControl;

class WindowSceneRegression : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string archive = std::string(KORVANE_BINARY_DIR) + "/bin/data.kva";
        ASSERT_TRUE(std::filesystem::exists(archive)) << "build the data_archive target first";
        savedOpen = korvane::mwt::CDefaultFactories::FormOpenAnimation;
        savedClose = korvane::mwt::CDefaultFactories::FormCloseAnimation;
        savedForm = korvane::mwt::CDefaultFactories::FormAppearance;
        savedButton = korvane::mwt::CDefaultFactories::ButtonAppearance;
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
        driver->SetDataLoader(boost::shared_ptr<korvane::IDataLoader>(
            new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(archive)));
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(320, 180));
        driver->CreateShaderEnvironment();
        scene = CMegaWindowScene::GetInstance();
        scene->Initialize();
        scene->Restore();
    }

    void TearDown() override
    {
        if (scene != nullptr) {
            scene->Finalize();
            delete scene;
        }
        korvane::mwt::CDefaultFactories::FormOpenAnimation = savedOpen;
        korvane::mwt::CDefaultFactories::FormCloseAnimation = savedClose;
        korvane::mwt::CDefaultFactories::FormAppearance = savedForm;
        korvane::mwt::CDefaultFactories::ButtonAppearance = savedButton;
        korvane::DestroyApplicationDriver();
    }

    CMegaWindowScene* scene = nullptr;
    korvane::mwt::CControl::AnimationFactoryFunction savedOpen, savedClose;
    korvane::mwt::CControl::AppearanceFactoryFunction savedForm, savedButton;
};

} // namespace

// A control that fails half-way through its drawing leaves clip rectangles and fonts pushed; the next
// frames must not inherit its tiny clip or grow the stacks.
TEST_F(WindowSceneRegression, AFailedDrawLeavesNoClipOrFontBehind)
{
    korvane::test::LogCapture log;
    scene->RunFrame(0.0f);
    korvane::canvas::CCanvas& canvas = *scene->GetCanvas();
    const std::size_t clips = canvas.GetClipDepth();
    const std::size_t fonts = canvas.GetFontDepth();
    const korvane::canvas::Rect2f clip = canvas.GetClipRect();

    boost::shared_ptr<CControl> bad(new CControl("Bad"));
    bad->SetBounds(korvane::canvas::Rect2f(100, 100, 50, 50));
    bad->DrawEvent = [](CControl* c, korvane::canvas::CCanvas* drawing) {
        drawing->PushFont();
        drawing->PushClipRect();
        drawing->IntersectClipRect(korvane::canvas::Rect2f(0, 0, 1, 1));
        throw korvane::EInvalidOperation(c, "draw failed on purpose");
    };
    scene->GetScreenPtr()->AddControl(bad);
    for (int i = 0; i < 3; ++i)
        scene->RunFrame(0.0f);
    EXPECT_EQ(3u, log.CountContaining("draw failed on purpose"));
    EXPECT_EQ(clips, canvas.GetClipDepth());
    EXPECT_EQ(fonts, canvas.GetFontDepth());
    EXPECT_EQ(clip, canvas.GetClipRect());
    scene->GetScreenPtr()->RemoveControl(bad.get());
}
