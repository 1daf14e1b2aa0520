/** @file CanvasTestSupport.h A canvas on the recording device with a shader pair and a fixed-metric "default" font. */
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "support/CanvasRasterizer.h"
#include "support/FakeFont.h"
#include "support/FakeTexture.h"
#include "support/LogCapture.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingCanvasDevice.h"

namespace canvastest
{

using namespace korvane;
using namespace korvane::canvas;
using namespace korvane::test;
using os::gfx::RenderState;
using os::gfx::SamplerState;
namespace value = os::gfx::value;
using U32s = std::vector<std::uint32_t>;

/// A recording canvas whose local clip is still the new canvas's {0, 0, 0, 0}.
class CanvasTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recording.reset(); // one registry at a time
        recording.reset(new RecordingCanvas());
        device = recording->device;
        font = recording->font;
        canvas.reset(new CCanvas(device));
        canvas->SetShaderPair(boost::shared_ptr<CShaderPair>(new CShaderPair()));
        device->Clear();
    }
    void TearDown() override { recording.reset(); }

    /// The one draw the last operation made.
    const CanvasDraw& OnlyDraw()
    {
        EXPECT_EQ(1u, device->draws.size());
        return device->draws.at(0);
    }

    std::unique_ptr<RecordingCanvas> recording;
    boost::shared_ptr<RecordingCanvasDevice> device;
    boost::shared_ptr<CCanvas> canvas;
    boost::shared_ptr<FakeFont> font;
};

/// "message|where" of the engine exception of type E a call throws.
template <typename E = EException, typename Call>
std::string Failure(Call&& call)
{
    try {
        call();
    } catch (const E& e) {
        return e.GetMessage() + "|" + e.GetWhere();
    }
    return "no exception";
}

inline void ExpectVertex(const CanvasVertex& v, float x, float y, float u, float w, const char* what)
{
    EXPECT_THAT((std::vector<float>{v.x, v.y, v.u, v.v, v.z}),
                ::testing::Pointwise(::testing::FloatEq(), std::vector<float>{x, y, u, w, 0.0f}))
        << what;
    EXPECT_EQ(0u, v.color1) << what;
}

inline void ExpectMatrix(const Matrix4& expected, const Matrix4& actual, float tolerance = 1e-5f)
{
    EXPECT_THAT(actual.m, ::testing::Pointwise(::testing::FloatNear(tolerance), expected.m));
}

} // namespace canvastest
