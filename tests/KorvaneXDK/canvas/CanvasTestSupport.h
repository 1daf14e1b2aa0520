/** @file CanvasTestSupport.h A canvas on the recording device with a shader pair and a fixed-metric "default" font. */
#pragma once

#include <cmath>
#include <memory>
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
#include "support/RecordingCanvas.h"
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

/// A recording canvas whose local clip is still the new canvas's {0, 0, 0, 0}.
class CanvasTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recording.reset(); // one registry at a time
        recording.reset(new korvane::test::RecordingCanvas());
        device = recording->device;
        font = recording->font;
        canvas.reset(new CCanvas(device));
        canvas->SetShaderPair(boost::shared_ptr<korvane::CShaderPair>(new korvane::CShaderPair()));
        device->Clear();
    }

    void TearDown() override { recording.reset(); }

    /// The one draw the last operation made.
    const CanvasDraw& OnlyDraw()
    {
        EXPECT_EQ(1u, device->draws.size());
        return device->draws.at(0);
    }

    std::unique_ptr<korvane::test::RecordingCanvas> recording;
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
