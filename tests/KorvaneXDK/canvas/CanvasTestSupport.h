/** @file CanvasTestSupport.h A canvas on the recording device with a shader pair and a fixed-metric "default" font. */
#pragma once

#include <cmath>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <gtest/gtest.h>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "support/CanvasRasterizer.h"
#include "support/FakeFont.h"
#include "support/FakeTexture.h"
#include "support/RecordingCanvasDevice.h"

namespace canvastest
{

using korvane::Color4;
using korvane::Matrix4;
using korvane::Vector2;
using korvane::canvas::CanvasVertex;
using korvane::canvas::CBrush;
using korvane::canvas::CCanvas;
using korvane::canvas::CFontStock;
using korvane::canvas::Rect2f;
using korvane::test::CanvasCall;
using korvane::test::CanvasDraw;
using korvane::test::FakeFont;
using korvane::test::FakeTexture;
using korvane::test::RecordingCanvasDevice;
using os::gfx::RenderState;
using os::gfx::SamplerState;
namespace value = os::gfx::value;

class CanvasTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        device.reset(new RecordingCanvasDevice());
        canvas.reset(new CCanvas(device));
        canvas->SetShaderPair(boost::shared_ptr<korvane::CShaderPair>(new korvane::CShaderPair()));
        font.reset(new FakeFont(device.get()));
        CFontStock::ReleaseInstance();
        CFontStock::GetInstance()->SetFontFactory(
            [this](korvane::IDataLoader*, const std::string&) -> boost::shared_ptr<korvane::IFont> { return font; });
        CFontStock::GetInstance()->LoadFont(nullptr, "default", "fonts\\default.kvf");
        device->Clear();
    }

    void TearDown() override { CFontStock::ReleaseInstance(); }

    /// The one draw the last operation made.
    const CanvasDraw& OnlyDraw()
    {
        EXPECT_EQ(1u, device->draws.size());
        return device->draws.at(0);
    }

    boost::shared_ptr<RecordingCanvasDevice> device;
    boost::shared_ptr<CCanvas> canvas;
    boost::shared_ptr<FakeFont> font;
};

inline void ExpectVertex(const CanvasVertex& v, float x, float y, float u, float w, const char* what)
{
    EXPECT_FLOAT_EQ(x, v.x) << what;
    EXPECT_FLOAT_EQ(y, v.y) << what;
    EXPECT_FLOAT_EQ(u, v.u) << what;
    EXPECT_FLOAT_EQ(w, v.v) << what;
    EXPECT_EQ(0.0f, v.z) << what;
    EXPECT_EQ(0u, v.color1) << what;
}

inline void ExpectMatrix(const Matrix4& expected, const Matrix4& actual, float tolerance = 1e-5f)
{
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(expected.m[i], actual.m[i], tolerance) << "element " << i;
    }
}

} // namespace canvastest
