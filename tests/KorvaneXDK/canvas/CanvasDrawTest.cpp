/** @file CanvasDrawTest.cpp Recorded vertices, UVs, colours and states of the drawing operations' edge cases. */
#include "CanvasTestSupport.h"

namespace canvastest
{

TEST_F(CanvasTest, DrawImageClipsOnTheProcessorAndMovesTheUVsAndClippedTextStopsAtTheClipsRightEdge)
{
    canvas->IntersectClipRect({16, 0, 100, 100});
    canvas->SetClipOrigin({0, 0});
    FakeTexture texture(32, 32, 64, 64);
    canvas->DrawImage({0, 0, 64, 64}, {0, 0, 32, 32}, &texture);
    const CanvasDraw& draw = OnlyDraw();
    EXPECT_EQ(std::pair(os::gfx::PrimitiveType::TriangleStrip, 2u), std::pair(draw.type, draw.primitiveCount));
    ExpectVertex(draw.vertices[0], 15.5f, -0.5f, 8.0f / 64, 0.0f, "top-left");
    ExpectVertex(draw.vertices[1], 63.5f, -0.5f, 32.0f / 64, 0.0f, "top-right");
    ExpectVertex(draw.vertices[2], 15.5f, 63.5f, 8.0f / 64, 32.0f / 64, "bottom-left");
    ExpectVertex(draw.vertices[3], 63.5f, 63.5f, 32.0f / 64, 32.0f / 64, "bottom-right");
    EXPECT_EQ(&texture, draw.texture);
    EXPECT_EQ(CanvasCall::Kind::Unbind, device->calls.back().kind);

    // Clipped text stops at the clip's right edge.
    canvas->ResetClipRect();
    canvas->IntersectClipRect({0, 0, 50, 100});
    canvas->GetBrush().SetColor({1, 1, 1, 0.5f});
    canvas->DrawTextClipped({10.7f, 5.2f, 100, 20}, "abc");
    ASSERT_EQ(1u, font->calls.size());
    const FakeFont::Call& call = font->calls[0];
    EXPECT_TRUE(call.clipped);
    EXPECT_EQ(0x80FFFFFFu, call.color);
    // The right edge is 10 + trunc(39.3).
    EXPECT_EQ(
        (std::vector<std::int32_t>{call.x, call.y, call.rect.left, call.rect.top, call.rect.right, call.rect.bottom}),
        (std::vector<std::int32_t>{10, 5, 10, 5, 49, 25}));
    // Unbounded and absurd coordinates saturate instead of overflowing.
    canvas->ResetClipRect();
    canvas->DrawTextClipped({std::nanf(""), 1e30f, 1e30f, 1e30f}, "x");
    EXPECT_EQ(std::pair(0, INT32_MAX), std::pair(font->calls[1].x, font->calls[1].y));
}

TEST_F(CanvasTest, RingsSectorsSkinsFillsAndOutlinesGiveTheirVerticesColoursAndPixels)
{
    canvas->DrawRing({0, 0}, 0, 10, 4);
    const CanvasDraw& ring = OnlyDraw();
    EXPECT_TRUE(ring.indexed);
    EXPECT_EQ((U32s{ring.vertexCount, ring.primitiveCount}), (U32s{8, 8}));
    const float outer[4][2] = {{10, 0}, {0, 10}, {-10, 0}, {0, -10}}; // no half-pixel shift
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0.0f, ring.vertices[2 * i].x);
        EXPECT_THAT((std::vector<float>{ring.vertices[2 * i + 1].x, ring.vertices[2 * i + 1].y}),
                    ::testing::Pointwise(::testing::FloatNear(1e-5f), outer[i]));
    }
    EXPECT_EQ((std::vector<std::uint16_t>{6, 7, 0, 7, 1, 0}), std::vector(ring.indices.end() - 6, ring.indices.end()));
    device->Clear();
    canvas->DrawRing({0, 0}, 5, 10, 4);
    EXPECT_EQ(5.0f, OnlyDraw().vertices[0].x);
    // Counts that do not fit the 16-bit fields: none drawn, or clamped.
    device->Clear();
    canvas->DrawRing({0, 0}, 0, 10, 0);
    canvas->DrawRing({0, 0}, 0, 10, -3);
    EXPECT_TRUE(device->draws.empty());
    canvas->DrawRing({0, 0}, 0, 10, 20000);
    EXPECT_EQ(2u * 10922u, OnlyDraw().vertexCount);
    EXPECT_EQ(65532u, OnlyDraw().indices.size());

    // Sectors cover their part of the image once.
    const float pi = 3.14159265f;
    // From and to angles, then the covered pixels (right and bottom exclusive).
    const std::tuple<float, float, os::gfx::Rect> cases[] = {
        {0, pi / 2, {4, 4, 8, 8}},         {pi / 2, 0, {4, 4, 8, 8}},  {0, 2 * pi, {0, 0, 8, 8}},
        {pi, 3 * pi, {0, 0, 8, 8}},        {-pi / 2, 0, {4, 0, 8, 4}}, // a sector below 0 is not cut at 0
        {4 * pi, 4.5f * pi, {4, 4, 8, 8}},
    };
    FakeTexture texture(8, 8, 16, 16);
    for (const auto& [a, b, covered] : cases) {
        device->Clear();
        canvas->DrawImageSector({0, 0}, a, b, &texture);
        CanvasRasterizer raster(10, 10);
        raster.Draw(OnlyDraw());
        EXPECT_EQ(CanvasRasterizer::PictureOf(10, 10, {covered}), raster.Picture()) << a << " .. " << b;
        EXPECT_LE(OnlyDraw().primitiveCount, 16u);
    }
    // Angles that are no numbers draw nothing instead of looping over garbage.
    device->Clear();
    canvas->DrawImageSector({0, 0}, 0, std::nanf(""), &texture);
    canvas->DrawImageSector({0, 0}, -INFINITY, 1, &texture);
    EXPECT_TRUE(device->draws.empty());
    // 0 .. 2pi: eight triangles and the second pass's empty one.
    canvas->DrawImageSector({0, 0}, 0, 2 * pi + 1e-6f, &texture);
    EXPECT_EQ(9u, OnlyDraw().primitiveCount);
    ExpectVertex(OnlyDraw().vertices[0], 3.5f, 3.5f, 0.25f, 0.25f, "centre");

    // Skins need two quarters, drop empty pieces and centre strips by the body.
    device->Clear();
    canvas->ResetClipRect();
    FakeTexture skin(64, 64);
    canvas->GetBrush().SetBlendMode(CBrush::kBlendAdditive);
    canvas->DrawSkin({0, 0, 31, 100}, {0, 0, 64, 64}, &skin);
    EXPECT_TRUE(device->calls.empty()); // 32 > 31
    canvas->DrawSkin({0, 0, 32, 100}, {0, 0, 64, 64}, &skin);
    const CanvasDraw& draw = OnlyDraw();
    // The middle column has width 0.
    EXPECT_EQ(std::pair(os::gfx::PrimitiveType::TriangleList, 12u), std::pair(draw.type, draw.primitiveCount));
    ExpectVertex(draw.vertices[0], -0.5f, -0.5f, 0.0f, 0.0f, "top-left corner");
    ExpectVertex(draw.vertices[4], 15.5f, 15.5f, 0.25f, 0.25f, "top-left corner, bottom-right");
    ExpectVertex(draw.vertices[6], 15.5f, -0.5f, 0.75f, 0.0f, "top-right corner");
    // Skins draw with normal blending inside a brush of their own.
    EXPECT_EQ(value::BlendInvSrcAlpha, draw.RenderState(RenderState::DestBlend));
    EXPECT_EQ(CBrush::kBlendAdditive, canvas->GetBrush().GetBlendMode());
    EXPECT_EQ(1u, canvas->GetBrushDepth());

    // Horizontal and vertical skins centre by the body.
    device->Clear();
    FakeTexture strip(64, 16), narrow(30, 8), column(16, 64);
    canvas->DrawHorizontalSkin({10, 10, 100, 30}, {8, 0, 48, 16}, &strip);
    // top = 10 + trunc(7.0) = 17, O = {2, 17, 116, 16}.
    const CanvasDraw& strips = OnlyDraw();
    ASSERT_EQ(6u, strips.primitiveCount);
    ExpectVertex(strips.vertices[0], 1.5f, 16.5f, 0.0f, 0.0f, "left cap");
    ExpectVertex(strips.vertices[6], 17.5f, 16.5f, 0.25f, 0.0f, "middle");
    ExpectVertex(strips.vertices[7], 101.5f, 16.5f, 0.75f, 0.0f, "middle, right");
    ExpectVertex(strips.vertices[16], 117.5f, 32.5f, 1.0f, 1.0f, "right cap, bottom-right");
    device->Clear();
    canvas->DrawHorizontalSkin({0, 0, 100, 8}, {0, 0, 30, 8}, &narrow); // 30 texels give quarters of 7
    ExpectVertex(OnlyDraw().vertices[1], 6.5f, -0.5f, 7.0f / 30, 0.0f, "left cap, right");
    device->Clear();
    canvas->DrawVerticalSkin({10, 10, 30, 100}, {0, 8, 16, 48}, &column);
    ExpectVertex(OnlyDraw().vertices[0], 16.5f, 1.5f, 0.0f, 0.0f, "top cap");

    // Fills truncate colours (images round, as the brush tests show) and clamp them.
    device->Clear();
    canvas->ResetClipRect();
    canvas->GetBrush().SetColor({0.5f, 0.5f, 0.5f, 1.0f});
    canvas->FillRect({1, 2, 3, 4});
    const CanvasDraw& grey = OnlyDraw();
    EXPECT_EQ(std::pair(0xFF7F7F7Fu, static_cast<ITexture*>(device->white.get())),
              std::pair(grey.vertices[0].color0, grey.texture));
    ExpectVertex(grey.vertices[0], 0.5f, 1.5f, 0, 0, "fill top-left");
    ExpectVertex(grey.vertices[3], 3.5f, 5.5f, 1, 1, "fill bottom-right");
    // Components outside 0..1 are clamped, not wrapped.
    device->Clear();
    canvas->GetBrush().SetColor({1.01f, -0.2f, 0.5f, 2.0f});
    canvas->FillRect({0, 0, 1, 1});
    EXPECT_EQ(0xFFFF007Fu, OnlyDraw().vertices[0].color0);

    // An outline covers exactly its pixels, once; a fill's are its vertices above, read back on GL.
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

} // namespace canvastest
