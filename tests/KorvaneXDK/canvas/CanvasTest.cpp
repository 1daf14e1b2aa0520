/** @file CanvasTest.cpp The canvas on the recording device (stacks, brush states, clipping, matrices and refusals,
 * the drawing operations' vertices, UVs, colours and states at their edge cases, the canvas maths), the font
 * registry with a fake font factory, and the canvas on the real OpenGL device, read back: coverage against the
 * rasteriser, blend modes, and depth under the window scene's projection. */
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <gmock/gmock.h>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "support/CanvasRasterizer.h"
#include "support/ExpectThrow.h"
#include "support/FakeFont.h"
#include "support/FakeTexture.h"
#include "support/LogCapture.h"
#include "support/MemoryDataLoader.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingCanvasDevice.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace canvastest
{

using namespace korvane;
using namespace korvane::canvas;
using namespace korvane::test;
using os::gfx::RenderState;
using os::gfx::SamplerState;
namespace value = os::gfx::value;
using U32s = std::vector<std::uint32_t>;
const char* const kCanvas = "class korvane::canvas::CCanvas";
const char* const kStock = "class korvane::canvas::CFontStock";

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

    /// The one draw the last operations made; the recording is cleared for the next ones.
    CanvasDraw OnlyDraw()
    {
        EXPECT_EQ(1u, device->draws.size());
        const CanvasDraw draw = device->draws.at(0);
        device->Clear();
        return draw;
    }

    std::unique_ptr<RecordingCanvas> recording;
    boost::shared_ptr<RecordingCanvasDevice> device;
    boost::shared_ptr<CCanvas> canvas;
    boost::shared_ptr<FakeFont> font;
};

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

TEST_F(CanvasTest, ANewCanvasClipsEverythingAwayUntilTheFirstClipCall)
{
    FakeTexture texture(8, 8);
    canvas->DrawImageAt({0, 0}, &texture);
    canvas->DrawSkin({0, 0, 64, 64}, {0, 0, 8, 8}, &texture);
    EXPECT_TRUE(device->calls.empty());
    canvas->FillRect({0, 0, 10, 10}); // still a quad, of no area
    const CanvasDraw empty = OnlyDraw();
    EXPECT_EQ(std::pair(empty.vertices[0].x, empty.vertices[0].y), std::pair(empty.vertices[3].x, empty.vertices[3].y));
    EXPECT_EQ(Rect2f(0, 0, 0, 0), canvas->GetLocalClipRect());
}

TEST_F(CanvasTest, TheEffectiveColourIsTheProductOfEveryBrush)
{
    FakeTexture texture(8, 8);
    canvas->GetBrush().SetColor({0.5f, 1.0f, 1.0f, 0.5f}); // from white, as the controls' tests see it
    canvas->PushBrush();
    canvas->GetBrush().SetColor({1.0f, 0.5f, 1.0f, 1.0f});
    EXPECT_EQ(Color4<float>(0.5f, 0.5f, 1.0f, 0.5f), canvas->GetEffectiveColor());
    canvas->ResetClipRect();
    canvas->DrawImageAt({0, 0}, &texture);
    EXPECT_EQ(0x808080FFu, OnlyDraw().vertices[0].color0); // 0.5 rounds to 128 for images
}

TEST_F(CanvasTest, BrushStatesFollowAnisotropyCapsFilteringAndBlendMode)
{
    namespace filtercaps = os::gfx::filtercaps;
    // level, caps, filtering, blend; then mag, min, mip, max anisotropy, source and destination blend
    const U32s cases[] = {
        {0, filtercaps::MagAnisotropic, 1, 0, value::FilterLinear, value::FilterLinear, value::FilterLinear,
         0xFFFFFFFFu, value::BlendSrcAlpha, value::BlendInvSrcAlpha},
        {4, filtercaps::MagAnisotropic, 1, 1, value::FilterAnisotropic, value::FilterAnisotropic, value::FilterLinear,
         4, value::BlendSrcAlpha, value::BlendOne},
        {4, 0, 1, 2, value::FilterLinear, value::FilterAnisotropic, value::FilterLinear, 4, value::BlendZero,
         value::BlendSrcColor},
        {4, filtercaps::MagAnisotropic, 0, 3, value::FilterPoint, value::FilterPoint, value::FilterPoint, 4,
         value::BlendSrcAlpha, value::BlendInvSrcAlpha},
    };
    for (const U32s& c : cases) {
        SetUp(); // a new canvas for each
        device->anisotropyLevel = static_cast<std::int32_t>(c[0]);
        device->textureFilterCaps = c[1];
        canvas->GetBrush().SetFiltering(c[2] != 0);
        canvas->GetBrush().SetBlendMode(static_cast<std::int32_t>(c[3]));
        canvas->FillRect({0, 0, 1, 1});
        const CanvasDraw& d = OnlyDraw();
        SCOPED_TRACE(testing::Message() << "level " << c[0] << " blend " << c[3]);
        EXPECT_EQ((U32s{d.Sampler(SamplerState::MagFilter), d.Sampler(SamplerState::MinFilter),
                        d.Sampler(SamplerState::MipFilter), d.Sampler(SamplerState::MaxAnisotropy),
                        d.RenderState(RenderState::SrcBlend), d.RenderState(RenderState::DestBlend),
                        d.Sampler(SamplerState::AddressU), d.Sampler(SamplerState::AddressV),
                        d.RenderState(RenderState::CullMode)}),
                  (U32s{c[4], c[5], c[6], c[7], c[8], c[9], value::AddressWrap, value::AddressWrap, value::CullNone}));
        EXPECT_EQ(device->white.get(), d.texture);
    }
}

TEST_F(CanvasTest, PopsNeverEmptyAStackAndResetMatrixLeavesOneEntry)
{
    canvas->PopMatrix();
    canvas->PopBrush();
    canvas->PopFont();
    canvas->PopClipRect(); // empty: nothing
    EXPECT_EQ((std::vector<std::size_t>{canvas->GetMatrixDepth(), canvas->GetBrushDepth(), canvas->GetFontDepth(),
                                        canvas->GetClipDepth()}),
              (std::vector<std::size_t>{1, 1, 1, 0}));
    EXPECT_EQ("default", canvas->GetFont().GetName());
    canvas->PushMatrix();
    canvas->PushMatrix();
    const Matrix4 m = MakeTranslation(3, 4);
    canvas->ResetMatrix(m);
    EXPECT_EQ(1u, canvas->GetMatrixDepth());
    ExpectMatrix(m, canvas->GetMatrix());
}

TEST_F(CanvasTest, MultiplyActsLocallyAndPreMultiplyInRootCoordinates)
{
    canvas->ResetClipRect();
    canvas->ResetMatrix(MakeScaling(2, 2));
    canvas->PushMatrix();
    canvas->MultiplyMatrix(MakeTranslation(10, 20));
    EXPECT_EQ(Vector2<float>(20, 40), TransformPoint(canvas->GetMatrix(), Vector2<float>(0, 0))); // scaled
    canvas->PopMatrix();
    canvas->MultiplyMatrixPre(MakeTranslation(10, 20));
    EXPECT_EQ(Vector2<float>(10, 20), TransformPoint(canvas->GetMatrix(), Vector2<float>(0, 0)));
}

TEST_F(CanvasTest, ADrawsWorldIsTheTransposeOfTheTopMatrix)
{
    canvas->ResetClipRect();
    canvas->ResetMatrix(MakeScaling(2, 2));
    canvas->MultiplyMatrixPre(MakeTranslation(10, 20));
    canvas->FillRect({0, 0, 1, 1});
    const Matrix4 top = OnlyDraw().world;
    ExpectMatrix(Transpose(canvas->GetMatrix()), top);
    EXPECT_EQ(10.0f, top.m[12]);
}

using Calls = std::vector<std::function<void()>>;

TEST_F(CanvasTest, DrawingWithoutAShaderPairIsRefused)
{
    CCanvas bare(device);
    FakeTexture small(4, 4);
    bare.ResetClipRect();
    const Rect2f r{0, 0, 1, 1};
    const Vector2<float> p{0, 0};
    for (const auto& call :
         Calls{[&] { bare.GetShaderPair(); }, [&] { bare.FillRect(r); }, [&] { bare.DrawImageAt(p, &small); },
               [&] { bare.DrawRing(p, 0, 1, 4); }, [&] { bare.DrawText(p, "a"); }})
        ExpectThrowWith<EException>(call, "Must call SetShaderPair() before using a canvas.", kCanvas);
    EXPECT_TRUE(device->draws.empty());
}

TEST_F(CanvasTest, DrawingANullTextureIsRefused)
{
    const Rect2f r{0, 0, 1, 1};
    const Vector2<float> p{0, 0};
    canvas->ResetClipRect();
    CCanvas& c = *canvas;
    for (const auto& call :
         Calls{[&] { c.DrawImageAt(p, nullptr); }, [&] { c.DrawImageScaled(r, nullptr); },
               [&] { c.DrawImagePartAt(p, r, nullptr); }, [&] { c.DrawSkin(r, r, nullptr); },
               [&] { c.DrawHorizontalSkin(r, r, nullptr); }, [&] { c.DrawVerticalSkin(r, r, nullptr); },
               [&] { c.DrawImageSector(p, 0, 1, nullptr); }})
        ExpectThrowWith<EException>(call, "texture is null.", kCanvas);
    EXPECT_TRUE(device->calls.empty());
}

TEST_F(CanvasTest, ClipRectanglesFollowTheStackRules)
{
    // GetClipRect on an empty stack gives the unbounded rectangle instead of reading nothing.
    EXPECT_EQ(std::pair(CCanvas::kUnboundedRect, std::size_t{1}),
              (std::pair{canvas->GetClipRect(), canvas->GetClipDepth()}));
    canvas->IntersectClipRect({10, 20, 100, 50});
    EXPECT_EQ(std::pair(Rect2f(10, 20, 100, 50), Rect2f(0, 0, 100, 50)),
              (std::pair{canvas->GetClipRect(), canvas->GetLocalClipRect()}));
    canvas->PushClipRect();
    canvas->SetClipOrigin({30, 25});
    EXPECT_EQ(Rect2f(-20, -5, 100, 50), canvas->GetLocalClipRect());
    // A miss leaves zero size, which stays after the pop until a clip call sets it again.
    canvas->IntersectClipRect({500, 500, 10, 10});
    canvas->PopClipRect();
    EXPECT_EQ(0.0f, canvas->GetLocalClipRect().width); // a fill under it has no area, as on a new canvas
    // Popping the only entry leaves the unbounded rectangle, top and local.
    canvas->PopClipRect();
    EXPECT_EQ(std::tuple(std::size_t{1}, CCanvas::kUnboundedRect, CCanvas::kUnboundedRect),
              (std::tuple{canvas->GetClipDepth(), canvas->GetClipRect(), canvas->GetLocalClipRect()}));
}

TEST_F(CanvasTest, FontsComeFromTheRegistryByNameOrAliasAndThePopRestoresTheDefault)
{
    canvas->PushFont();
    canvas->SetFont(CFont("CAPTION"));
    ExpectThrowWith<EInvalidOperation>([&] { canvas->MeasureText("x"); }, "Font not found : 'CAPTION'", kStock);
    canvas->AddFontAlias("Caption", "DEFAULT");
    EXPECT_EQ(Vector2<float>(24, 16), canvas->MeasureText("abc"));
    EXPECT_EQ(16.0f, canvas->GetFontHeight("abc"));
    canvas->LoadFont("Small", "smaller"); // the registry's factory gets the path
    canvas->SetFont(CFont("SMALL"));
    EXPECT_EQ(Vector2<float>(6, 12), canvas->MeasureText("a"));
    canvas->PopFont();
    EXPECT_EQ("default", canvas->GetFont().GetName());
}

TEST_F(CanvasTest, TheClockIsTheDevicesElapsedTime)
{
    device->elapsedMilliseconds = 1234.5;
    EXPECT_EQ(1234.5, canvas->GetElapsedMilliseconds());
}

TEST_F(CanvasTest, BeginDrawSetsBlendingCullingAndTheDeclaration)
{
    canvas->BeginDraw();
    canvas->EndDraw();
    ASSERT_EQ(3u, device->calls.size());
    EXPECT_EQ((U32s{device->calls[0].state, device->calls[0].value, device->calls[1].state, device->calls[1].value}),
              (U32s{static_cast<std::uint32_t>(RenderState::AlphaBlendEnable), value::True,
                    static_cast<std::uint32_t>(RenderState::CullMode), value::CullNone}));
    EXPECT_EQ(CanvasCall::Kind::Declaration, device->calls[2].kind);
}

TEST_F(CanvasTest, TheTextWorldDividesByThePixelScaleAndShiftsHalfAPixelBelowTwo)
{
    canvas->ResetClipRect();
    canvas->ResetMatrix(MakeTranslation(100, 50));
    for (std::int32_t k : {1, 2}) {
        device->Clear();
        recording->font.reset(new FakeFont(device.get(), 8, 16, k));
        font = recording->font;
        CFontStock::GetInstance()->LoadFont(nullptr, "default", "");
        canvas->DrawText({2.9f, -3.9f}, "ab");
        ASSERT_EQ(2u, device->Count(CanvasCall::Kind::World) + device->Count(CanvasCall::Kind::Text));
        const Matrix4 world = device->calls[device->calls.size() - 2].matrix;
        // A glyph corner (g, g) lands at 100 + g / k - shift.
        const float shift = k < 2 ? 0.5f : 0.0f, g = 8.0f;
        EXPECT_FLOAT_EQ(100.0f + g / static_cast<float>(k) - shift, g * world.m[0] + g * world.m[4] + world.m[12]);
        EXPECT_FLOAT_EQ(50.0f + g / static_cast<float>(k) - shift, g * world.m[1] + g * world.m[5] + world.m[13]);
        ASSERT_EQ(1u, font->calls.size());
        // Truncated toward zero.
        EXPECT_EQ((U32s{static_cast<std::uint32_t>(font->calls[0].x), static_cast<std::uint32_t>(font->calls[0].y),
                        font->calls[0].color}),
                  (U32s{2, static_cast<std::uint32_t>(-3), 0xFFFFFFFFu}));
        EXPECT_EQ(CanvasCall::Kind::Text, device->calls.back().kind);
        EXPECT_EQ(0u, device->Count(CanvasCall::Kind::Bind)); // the font binds its own texture
    }
}

TEST_F(CanvasTest, AnImageIsCutAtTheClipWithItsTextureCoordinates)
{
    canvas->IntersectClipRect({16, 0, 100, 100});
    canvas->SetClipOrigin({0, 0});
    FakeTexture image(32, 32, 64, 64);
    canvas->DrawImage({0, 0, 64, 64}, {0, 0, 32, 32}, &image);
    EXPECT_EQ(CanvasCall::Kind::Unbind, device->calls.back().kind);
    const CanvasDraw quad = OnlyDraw();
    EXPECT_EQ(std::pair(os::gfx::PrimitiveType::TriangleStrip, 2u), std::pair(quad.type, quad.primitiveCount));
    ExpectVertex(quad.vertices[0], 15.5f, -0.5f, 8.0f / 64, 0.0f, "top-left");
    ExpectVertex(quad.vertices[1], 63.5f, -0.5f, 32.0f / 64, 0.0f, "top-right");
    ExpectVertex(quad.vertices[2], 15.5f, 63.5f, 8.0f / 64, 32.0f / 64, "bottom-left");
    ExpectVertex(quad.vertices[3], 63.5f, 63.5f, 32.0f / 64, 32.0f / 64, "bottom-right");
    EXPECT_EQ(&image, quad.texture);
}

TEST_F(CanvasTest, ClippedTextStopsAtTheClipsRightEdgeAndAbsurdCoordinatesSaturate)
{
    canvas->ResetClipRect();
    canvas->IntersectClipRect({0, 0, 50, 100});
    canvas->GetBrush().SetColor({1, 1, 1, 0.5f});
    canvas->DrawTextClipped({10.7f, 5.2f, 100, 20}, "abc");
    ASSERT_EQ(1u, font->calls.size());
    const FakeFont::Call& call = font->calls[0];
    EXPECT_EQ(std::pair(call.clipped, call.color), std::pair(true, 0x80FFFFFFu));
    // The right edge is 10 + trunc(39.3).
    EXPECT_EQ(
        (std::vector<std::int32_t>{call.x, call.y, call.rect.left, call.rect.top, call.rect.right, call.rect.bottom}),
        (std::vector<std::int32_t>{10, 5, 10, 5, 49, 25}));
    // Unbounded and absurd coordinates saturate instead of overflowing.
    canvas->ResetClipRect();
    canvas->DrawTextClipped({std::nanf(""), 1e30f, 1e30f, 1e30f}, "x");
    EXPECT_EQ(std::pair(0, INT32_MAX), std::pair(font->calls[1].x, font->calls[1].y));
}

TEST_F(CanvasTest, ARingAlternatesInnerAndOuterVerticesAroundItsCentre)
{
    canvas->DrawRing({0, 0}, 0, 10, 4);
    const CanvasDraw ring = OnlyDraw();
    EXPECT_EQ((U32s{ring.indexed, ring.vertexCount, ring.primitiveCount}), (U32s{1, 8, 8}));
    std::vector<float> xy; // inner and outer vertices in turn, without a half-pixel shift
    for (const CanvasVertex& v : ring.vertices)
        xy.insert(xy.end(), {v.x, v.y});
    EXPECT_THAT(
        xy, ::testing::Pointwise(::testing::FloatNear(1e-5f), {0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f, 0.0f, 10.0f, 0.0f,
                                                               0.0f, -10.0f, 0.0f, 0.0f, 0.0f, 0.0f, -10.0f}));
    EXPECT_EQ((std::vector<std::uint16_t>{6, 7, 0, 7, 1, 0}), std::vector(ring.indices.end() - 6, ring.indices.end()));
    canvas->DrawRing({0, 0}, 5, 10, 4);
    EXPECT_EQ(5.0f, OnlyDraw().vertices[0].x);
}

TEST_F(CanvasTest, RingCountsThatDoNotFitTheSixteenBitFieldsDrawNothingOrAreClamped)
{
    canvas->DrawRing({0, 0}, 0, 10, 0);
    canvas->DrawRing({0, 0}, 0, 10, -3);
    EXPECT_TRUE(device->draws.empty());
    canvas->DrawRing({0, 0}, 0, 10, 20000);
    const CanvasDraw clamped = OnlyDraw();
    EXPECT_EQ(std::pair(clamped.vertexCount, clamped.indices.size()), std::pair(2u * 10922u, std::size_t{65532}));
}

TEST_F(CanvasTest, SectorsCoverTheirPartOfTheImageOnce)
{
    const float pi = 3.14159265f;
    // From and to angles, then the covered pixels (right and bottom exclusive).
    const std::tuple<float, float, os::gfx::Rect> cases[] = {
        {0, pi / 2, {4, 4, 8, 8}},         {pi / 2, 0, {4, 4, 8, 8}},  {0, 2 * pi, {0, 0, 8, 8}},
        {pi, 3 * pi, {0, 0, 8, 8}},        {-pi / 2, 0, {4, 0, 8, 4}}, // a sector below 0 is not cut at 0
        {4 * pi, 4.5f * pi, {4, 4, 8, 8}},
    };
    FakeTexture texture(8, 8, 16, 16);
    for (const auto& [a, b, covered] : cases) {
        canvas->DrawImageSector({0, 0}, a, b, &texture);
        const CanvasDraw sector = OnlyDraw();
        CanvasRasterizer raster(10, 10);
        raster.Draw(sector);
        EXPECT_EQ(CanvasRasterizer::PictureOf(10, 10, {covered}), raster.Picture()) << a << " .. " << b;
        EXPECT_LE(sector.primitiveCount, 16u);
    }
}

TEST_F(CanvasTest, SectorAnglesThatAreNoNumbersDrawNothing)
{
    // Instead of looping over garbage.
    FakeTexture texture(8, 8, 16, 16);
    canvas->DrawImageSector({0, 0}, 0, std::nanf(""), &texture);
    canvas->DrawImageSector({0, 0}, -INFINITY, 1, &texture);
    EXPECT_TRUE(device->draws.empty());
}

TEST_F(CanvasTest, AFullSectorIsEightTrianglesAndTheSecondPassesEmptyOne)
{
    const float pi = 3.14159265f;
    FakeTexture texture(8, 8, 16, 16);
    canvas->DrawImageSector({0, 0}, 0, 2 * pi + 1e-6f, &texture);
    const CanvasDraw full = OnlyDraw();
    EXPECT_EQ(9u, full.primitiveCount);
    ExpectVertex(full.vertices[0], 3.5f, 3.5f, 0.25f, 0.25f, "centre");
}

TEST_F(CanvasTest, ASkinNeedsTwoQuartersDropsEmptyPiecesAndBlendsNormallyInABrushOfItsOwn)
{
    canvas->ResetClipRect();
    FakeTexture skin(64, 64);
    canvas->GetBrush().SetBlendMode(CBrush::kBlendAdditive);
    canvas->DrawSkin({0, 0, 31, 100}, {0, 0, 64, 64}, &skin);
    EXPECT_TRUE(device->calls.empty()); // 32 > 31
    canvas->DrawSkin({0, 0, 32, 100}, {0, 0, 64, 64}, &skin);
    const CanvasDraw draw = OnlyDraw();
    // The middle column has width 0.
    EXPECT_EQ(std::pair(os::gfx::PrimitiveType::TriangleList, 12u), std::pair(draw.type, draw.primitiveCount));
    ExpectVertex(draw.vertices[0], -0.5f, -0.5f, 0.0f, 0.0f, "top-left corner");
    ExpectVertex(draw.vertices[4], 15.5f, 15.5f, 0.25f, 0.25f, "top-left corner, bottom-right");
    ExpectVertex(draw.vertices[6], 15.5f, -0.5f, 0.75f, 0.0f, "top-right corner");
    EXPECT_EQ(value::BlendInvSrcAlpha, draw.RenderState(RenderState::DestBlend));
    EXPECT_EQ(std::pair(canvas->GetBrush().GetBlendMode(), canvas->GetBrushDepth()),
              std::pair(CBrush::kBlendAdditive, std::size_t{1}));
}

TEST_F(CanvasTest, HorizontalAndVerticalSkinsCentreByTheBody)
{
    canvas->ResetClipRect();
    FakeTexture strip(64, 16), narrow(30, 8), column(16, 64);
    canvas->DrawHorizontalSkin({10, 10, 100, 30}, {8, 0, 48, 16}, &strip);
    // top = 10 + trunc(7.0) = 17, O = {2, 17, 116, 16}.
    const CanvasDraw strips = OnlyDraw();
    ASSERT_EQ(6u, strips.primitiveCount);
    ExpectVertex(strips.vertices[0], 1.5f, 16.5f, 0.0f, 0.0f, "left cap");
    ExpectVertex(strips.vertices[6], 17.5f, 16.5f, 0.25f, 0.0f, "middle");
    ExpectVertex(strips.vertices[7], 101.5f, 16.5f, 0.75f, 0.0f, "middle, right");
    ExpectVertex(strips.vertices[16], 117.5f, 32.5f, 1.0f, 1.0f, "right cap, bottom-right");
    canvas->DrawHorizontalSkin({0, 0, 100, 8}, {0, 0, 30, 8}, &narrow); // 30 texels give quarters of 7
    ExpectVertex(OnlyDraw().vertices[1], 6.5f, -0.5f, 7.0f / 30, 0.0f, "left cap, right");
    canvas->DrawVerticalSkin({10, 10, 30, 100}, {0, 8, 16, 48}, &column);
    ExpectVertex(OnlyDraw().vertices[0], 16.5f, 1.5f, 0.0f, 0.0f, "top cap");
}

TEST_F(CanvasTest, FillsTruncateTheirColoursAndClampThem)
{
    // Images round, as the brush tests show.
    canvas->ResetClipRect();
    canvas->GetBrush().SetColor({0.5f, 0.5f, 0.5f, 1.0f});
    canvas->FillRect({1, 2, 3, 4});
    const CanvasDraw grey = OnlyDraw();
    EXPECT_EQ(std::pair(0xFF7F7F7Fu, static_cast<ITexture*>(device->white.get())),
              std::pair(grey.vertices[0].color0, grey.texture));
    ExpectVertex(grey.vertices[0], 0.5f, 1.5f, 0, 0, "fill top-left");
    ExpectVertex(grey.vertices[3], 3.5f, 5.5f, 1, 1, "fill bottom-right");
    // Components outside 0..1 are clamped, not wrapped.
    canvas->GetBrush().SetColor({1.01f, -0.2f, 0.5f, 2.0f});
    canvas->FillRect({0, 0, 1, 1});
    EXPECT_EQ(0xFFFF007Fu, OnlyDraw().vertices[0].color0);
}

TEST_F(CanvasTest, AnOutlineCoversExactlyItsPixelsOnce)
{
    // A fill's are its vertices, read back on GL.
    canvas->ResetClipRect();
    const std::vector<std::pair<Rect2f, std::vector<os::gfx::Rect>>> outlines = {
        {{0, 0, 5, 4}, {{0, 0, 5, 1}, {0, 1, 1, 3}, {4, 1, 5, 3}, {0, 3, 5, 4}}},
        {{2, 3, 1, 1}, {{2, 3, 3, 4}}}, // only the bottom edge
        {{1, 1, 2, 2}, {{1, 1, 3, 3}}},
    };
    for (const auto& [r, expected] : outlines) {
        device->Clear();
        canvas->DrawRect(r);
        EXPECT_EQ(4u, device->draws.size());
        CanvasRasterizer outline(8, 8);
        outline.DrawAll(device->draws);
        EXPECT_EQ(CanvasRasterizer::PictureOf(8, 8, expected), outline.Picture()) << r.left << ", " << r.top;
    }
}

TEST(CanvasMath, SaturatingTruncationGivesOneValuePerBranchAndEachSideOfTheLimits)
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<std::int32_t> got;
    for (double in : {std::nan(""), inf, -inf, 2147483647.5, -2147483648.7, -2147483647.5, 2.9, -2.9})
        got.push_back(SaturateToInt32(in));
    EXPECT_EQ(got, (std::vector<std::int32_t>{0, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, -2147483647, 2, -2}));
}

TEST(CanvasMath, MatricesMapColumnVectorsAndTurnLikeTheEngines)
{
    const float pi = 3.14159265f;
    const auto near = [](Vector3<float> expected, Vector3<float> actual) {
        EXPECT_THAT((std::vector<float>{actual.x, actual.y, actual.z}),
                    ::testing::Pointwise(::testing::FloatNear(1e-5f), {expected.x, expected.y, expected.z}));
    };
    // Translation in elements 3, 7, 11; the right factor acts first.
    const Matrix4 t = MakeTranslation(10, 20, 30);
    EXPECT_EQ(std::pair(10.0f, 30.0f), std::pair(t.m[3], t.m[11]));
    near({12, 22, 30}, TransformPoint(Multiply(t, MakeScaling(2, 2)), Vector3<float>(1, 1, 0)));
    // Rz turns +x toward +y (clockwise on screen), like the engine's SetRotationZ.
    near({0, 1, 0}, TransformPoint(MakeRotationZ(pi / 2), Vector3<float>(1, 0, 0)));
    Matrix4 engine;
    engine.SetRotationZ(0.7f);
    ExpectMatrix(engine, MakeRotationZ(0.7f));
    ExpectMatrix(MakeRotationZ(0.7f), MakeRotation({0, 0, 5}, 0.7f));
    // About y, +x turns to -z; the axis is normalised, and a zero axis is no turn.
    near({0, 0, -1}, TransformPoint(MakeRotation({0, 3, 0}, pi / 2), Vector3<float>(1, 0, 0)));
    near({1, 2, 3}, TransformPoint(MakeRotation({0, 0, 0}, 1.0f), Vector3<float>(1, 2, 3)));
    // A turn about a point keeps the point.
    const Matrix4 about = Multiply(Multiply(MakeTranslation(50, 40), MakeRotationZ(1.1f)), MakeTranslation(-50, -40));
    near({50, 40, 0}, TransformPoint(about, Vector3<float>(50, 40, 0)));
}

class FontStockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CFontStock::ReleaseInstance();
        stock = CFontStock::GetInstance();
        stock->SetFontFactory([](IDataLoader*, const std::string& path) {
            if (path.find("broken") != std::string::npos)
                throw EInvalidFileFormat(nullptr, "Invalid font file: " + path);
            boost::shared_ptr<FakeFont> font(new FakeFont());
            font->path = path;
            return boost::shared_ptr<IFont>(font);
        });
    }
    void TearDown() override { CFontStock::ReleaseInstance(); }

    std::string PathOf(const std::string& name) { return static_cast<FakeFont&>(*stock->Get(name)).path; }
    void LoadFolder(const char* folder, std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            loader.Add(name, "");
        stock->LoadFonts(&loader, folder);
    }

    boost::shared_ptr<CFontStock> stock;
    MemoryDataLoader loader;
};

TEST_F(FontStockTest, AFailingFontStopsTheLoadingAndTheFontsBeforeItStay)
{
    ExpectThrowWith<EInvalidFileFormat>(
        [&] {
            LoadFolder("bad", {"bad\\a.kvf", "bad\\broken.kvf", "bad\\c.kvf"});
        },
        "Invalid font file: bad\\broken.kvf", "");
    EXPECT_EQ(1u, stock->GetFontCount());
    EXPECT_EQ("bad\\a.kvf", PathOf("a")); // the one font kept
    EXPECT_THROW(stock->LoadFonts(nullptr, "fonts"), EInvalidParameter);
}

TEST_F(FontStockTest, LoadFontsTakesTheIniAndKvfFilesOfTheFolderByStem)
{
    LogCapture log;
    LoadFolder("fonts", {"fonts\\Big.INI", "fonts\\Big.png", "fonts\\notes.txt", "fonts\\old.ini.bak",
                         "fonts\\small.kvf", "fonts\\Big.kvf", "fonts\\sub\\deep.kvf", "other\\x.kvf"});
    EXPECT_EQ(log.Lines(),
              (std::vector<std::string>{"INFO: load font: fonts\\Big.INI", "INFO: load font: fonts\\small.kvf",
                                        "INFO: load font: fonts\\Big.kvf"}));
    EXPECT_EQ(2u, stock->GetFontCount());
    EXPECT_EQ("fonts\\Big.kvf|fonts\\small.kvf", PathOf("big") + "|" + PathOf("SMALL")); // Big.kvf is listed later
    // An empty folder loads and logs nothing.
    LogCapture::Clear();
    stock->LoadFonts(&loader, "empty");
    EXPECT_EQ(0u, log.CountContaining("load font: "));
}

TEST_F(FontStockTest, NamesIgnoreCaseAndAnAliasSharesItsFontUntilAFileOfItsNameComes)
{
    // The error keeps the caller's spelling.
    ExpectThrowWith<EInvalidOperation>([&] { stock->AddAlias("default", "FONT12T2S"); }, "Font not found : 'FONT12T2S'",
                                       kStock);
    EXPECT_EQ(0u, stock->GetFontCount()); // the failed alias left no entry
    stock->LoadFont(nullptr, "Default", "a.kvf");
    EXPECT_EQ(stock->Get("default"), stock->Get("DEFAULT"));
    ExpectThrowWith<EInvalidOperation>([&] { stock->Get("NoSuch"); }, "Font not found : 'NoSuch'", kStock);
    // A later file of the alias's name re-points only the alias.
    stock->AddAlias("Smaller", "DEFAULT");
    EXPECT_EQ(stock->Get("default"), stock->Get("smaller"));
    stock->LoadFont(nullptr, "SMALLER", "b.kvf");
    EXPECT_EQ("b.kvf|a.kvf", PathOf("smaller") + "|" + PathOf("default"));
}

TEST_F(FontStockTest, ReleasingTheRegistryForgetsEveryFont)
{
    stock->LoadFont(nullptr, "Default", "a.kvf");
    CFontStock::ReleaseInstance();
    EXPECT_EQ(0u, CFontStock::GetInstance()->GetFontCount());
    EXPECT_NE(stock, CFontStock::GetInstance());
}

namespace
{

constexpr int kWidth = 128;
constexpr int kHeight = 64;
constexpr std::uint32_t kBlack = 0xFF000000u;

/// The driver with a kWidth x kHeight device, the program's data folder packed by the project's tool, and a canvas
/// drawing in screen pixels.
class CanvasGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kvatool::PackFolder(KORVANE_SOURCE_DIR "/data", dir.File("data.kva"), kvatool::PackOptions());
        ASSERT_TRUE(CreateApplicationDriver(nullptr));
        CGameApplicationDriverCX* driver = GetApplicationDriver();
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kWidth, kHeight));
        driver->SetDataLoader(
            boost::shared_ptr<IDataLoader>(new TArchiveFileDataLoader<CArchiveFileLoader>(dir.File("data.kva"))));
        driver->CreateShaderEnvironment();
        environment = driver->GetShaderEnvironment();
        device = driver->GetGraphics()->GetDevice();
        Matrix4 projection;
        os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kWidth, kHeight, 0, 0, 1);
        environment->SetProjectionMatrix(projection);
        canvas.reset(new CCanvas());
        pair = environment->GetShaderPair("shader\\canvas");
        canvas->SetShaderPair(pair);
        Begin(kBlack);
    }
    void TearDown() override
    {
        canvas.reset();
        DestroyApplicationDriver();
    }

    void Begin(std::uint32_t background)
    {
        ASSERT_EQ(os::gfx::kOk,
                  device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, background, 1.0f, 0));
        canvas->BeginDraw();
        pair->Begin();
        canvas->ResetClipRect();
    }
    std::vector<std::uint32_t> ReadBack()
    {
        std::vector<std::uint32_t> pixels;
        EXPECT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
        return pixels;
    }
    std::uint32_t Pixel(int x, int y) { return ReadBack().at(static_cast<std::size_t>(y * kWidth + x)); }
    /// Pixels not black as a picture like the rasteriser's.
    std::string LitPicture()
    {
        const std::vector<std::uint32_t> pixels = ReadBack();
        std::string out;
        for (std::size_t i = 0; i < pixels.size(); ++i)
            out += std::string(pixels[i] != kBlack ? "#" : ".") + ((i + 1) % kWidth == 0 ? "\n" : "");
        return out;
    }

    /// Runs the drawing on the GL canvas and on a recording canvas; the rasteriser's picture of
    /// the recording must be what GL lit.
    void ExpectSameAsRasterizer(const std::function<void(CCanvas&)>& draw)
    {
        Begin(kBlack);
        draw(*canvas);
        RecordingCanvas recorded;
        draw(*recorded.canvas);
        CanvasRasterizer raster(kWidth, kHeight);
        raster.DrawAll(recorded.device->draws);
        EXPECT_EQ(raster.Picture(), LitPicture());
    }

    TempDir dir;
    CShaderEnvironment* environment = nullptr;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<CShaderPair> pair;
    boost::shared_ptr<CCanvas> canvas;
};

TEST_F(CanvasGLTest, AFillLightsThePixelsTheRasterizerCovers)
{
    ExpectSameAsRasterizer([](CCanvas& c) { c.FillRect({2, 2, 4, 4}); });
    EXPECT_EQ((U32s{Pixel(2, 2), Pixel(5, 5), Pixel(5, 6), Pixel(2, 1)}),
              (U32s{0xFFFFFFFFu, 0xFFFFFFFFu, kBlack, kBlack}));
}

TEST_F(CanvasGLTest, OutlinesLightThePixelsTheRasterizerCovers)
{
    ExpectSameAsRasterizer([](CCanvas& c) {
        c.DrawRect({10, 10, 30, 20});
        c.PushMatrix();
        c.MultiplyMatrix(MakeTranslation(50.0f, 5.0f));
        c.DrawRect({0, 0, 1, 1});
        c.DrawRect({4, 0, 7, 9});
        c.PopMatrix();
    });
}

TEST_F(CanvasGLTest, AdditiveAndMultiplicativeBrushesBlendWithTheTarget)
{
    // Over 0x40 grey: the fill's 127 and 63 added, or the grey scaled by them.
    const std::pair<std::int32_t, std::uint32_t> cases[] = {{1, 0xBF7F40}, {2, 0x201000}, {0, 0x7F3F00}};
    for (const auto& [mode, rgb] : cases) {
        Begin(0xFF404040u);
        canvas->GetBrush().SetBlendMode(mode);
        canvas->GetBrush().SetColor({0.5f, 0.25f, 0.0f, 1.0f});
        canvas->FillRect({0, 0, 8, 8});
        const std::uint32_t pixel = Pixel(3, 3);
        for (int shift : {16, 8, 0})
            EXPECT_NEAR((rgb >> shift) & 0xFF, (pixel >> shift) & 0xFF, 1) << "mode " << mode << " shift " << shift;
    }
}

TEST_F(CanvasGLTest, AQuadTurnedAboutYIsNotClippedUnderTheWindowScenesProjection)
{
    // Near 150, far -150, the eye one unit off as the window scene sets it.
    Matrix4 projection, view;
    os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kWidth, kHeight, 0, 150, -150);
    environment->SetProjectionMatrix(projection);
    const os::gfx::Vector3 eye{1, 1, 0}, at{1, 1, 1}, up{0, 1, 0};
    os::gfx::MatrixLookAtLH(&view, &eye, &at, &up);
    environment->SetViewMatrix(view);
    Begin(kBlack);
    // 200 wide turned 60 degrees: 100 pixels on screen, z from -87 to 87.
    canvas->ResetMatrix(Multiply(Multiply(MakeTranslation(65, 33), MakeRotation({0, 1, 0}, 3.14159265f / 3)),
                                 MakeTranslation(-100, -20)));
    canvas->FillRect({0, 0, 200, 40});
    const std::string row = LitPicture().substr(32 * (kWidth + 1), kWidth);
    EXPECT_NEAR(100, std::count(row.begin(), row.end(), '#'), 1);
    EXPECT_EQ("##", row.substr(15, 1) + row.substr(112, 1));
}

} // namespace
} // namespace canvastest
