/** @file CanvasStateTest.cpp Stacks, brush states, clipping, matrices and the canvas's refusals. */
#include <functional>

#include "CanvasTestSupport.h"

namespace canvastest
{

TEST_F(CanvasTest, ANewCanvasClipsAllUntilTheFirstClipCallAndBrushesGiveTheColourAndStates)
{
    // A new canvas clips everything away until the first clip call.
    FakeTexture texture(8, 8);
    canvas->DrawImageAt({0, 0}, &texture);
    canvas->DrawSkin({0, 0, 64, 64}, {0, 0, 8, 8}, &texture);
    EXPECT_TRUE(device->calls.empty());
    canvas->FillRect({0, 0, 10, 10}); // still a quad, of no area
    EXPECT_EQ(std::pair(OnlyDraw().vertices[0].x, OnlyDraw().vertices[0].y),
              std::pair(OnlyDraw().vertices[3].x, OnlyDraw().vertices[3].y));
    EXPECT_EQ(Rect2f(0, 0, 0, 0), canvas->GetLocalClipRect());

    // The effective colour is the product of every brush.
    device->Clear();
    EXPECT_EQ(Color4<float>(1, 1, 1, 1), canvas->GetEffectiveColor());
    canvas->GetBrush().SetColor({0.5f, 1.0f, 1.0f, 0.5f});
    canvas->PushBrush();
    canvas->GetBrush().SetColor({1.0f, 0.5f, 1.0f, 1.0f});
    EXPECT_EQ(Color4<float>(0.5f, 0.5f, 1.0f, 0.5f), canvas->GetEffectiveColor());
    canvas->ResetClipRect();
    canvas->DrawImageAt({0, 0}, &texture);
    EXPECT_EQ(0x808080FFu, OnlyDraw().vertices[0].color0); // 0.5 rounds to 128 for images

    // Brush states follow anisotropy, caps, filtering and blend mode.
    using namespace os::gfx;
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
        SetUp();
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

TEST_F(CanvasTest, PopsNeverEmptyAStackMultipliesActLocallyOrInRootCoordinatesAndBadDrawsAreRefused)
{
    for (int i = 0; i < 3; ++i) {
        canvas->PopMatrix();
        canvas->PopBrush();
        canvas->PopFont();
    }
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

    // Multiply acts locally, pre-multiply in root coordinates.
    canvas->ResetClipRect();
    canvas->ResetMatrix(MakeScaling(2, 2));
    canvas->PushMatrix();
    canvas->MultiplyMatrix(MakeTranslation(10, 20));
    EXPECT_EQ(Vector2<float>(20, 40), TransformPoint(canvas->GetMatrix(), Vector2<float>(0, 0))); // scaled
    canvas->PopMatrix();
    canvas->MultiplyMatrixPre(MakeTranslation(10, 20));
    EXPECT_EQ(Vector2<float>(10, 20), TransformPoint(canvas->GetMatrix(), Vector2<float>(0, 0)));
    // World is the transpose of the top.
    canvas->FillRect({0, 0, 1, 1});
    ExpectMatrix(Transpose(canvas->GetMatrix()), OnlyDraw().world);
    EXPECT_EQ(10.0f, OnlyDraw().world.m[12]);

    // Drawing without a pair and null textures are refused.
    device->Clear();
    CCanvas bare(device);
    FakeTexture texture(4, 4);
    bare.ResetClipRect();
    const Rect2f r{0, 0, 1, 1};
    const Vector2<float> p{0, 0};
    using Calls = std::vector<std::function<void()>>;
    for (const auto& call :
         Calls{[&] { bare.GetShaderPair(); }, [&] { bare.FillRect(r); }, [&] { bare.DrawImageAt(p, &texture); },
               [&] { bare.DrawRing(p, 0, 1, 4); }, [&] { bare.DrawText(p, "a"); }})
        EXPECT_EQ("Must call SetShaderPair() before using a canvas.|class korvane::canvas::CCanvas", Failure(call));
    EXPECT_TRUE(device->draws.empty());
    canvas->ResetClipRect();
    CCanvas& c = *canvas;
    for (const auto& call :
         Calls{[&] { c.DrawImageAt(p, nullptr); }, [&] { c.DrawImageScaled(r, nullptr); },
               [&] { c.DrawImagePartAt(p, r, nullptr); }, [&] { c.DrawSkin(r, r, nullptr); },
               [&] { c.DrawHorizontalSkin(r, r, nullptr); }, [&] { c.DrawVerticalSkin(r, r, nullptr); },
               [&] { c.DrawImageSector(p, 0, 1, nullptr); }})
        EXPECT_EQ("texture is null.|class korvane::canvas::CCanvas", Failure(call));
    EXPECT_TRUE(device->calls.empty());
}

TEST_F(CanvasTest, ClipsFontsClockBeginDrawsStatesAndTextWorldsFollowTheStacksRegistryAndDevice)
{
    // Clip rectangles follow the stack rules.
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
    device->Clear();

    canvas->PushFont();
    canvas->SetFont(CFont("CAPTION"));
    EXPECT_EQ("Font not found : 'CAPTION'|class korvane::canvas::CFontStock",
              Failure<EInvalidOperation>([&] { canvas->MeasureText("x"); }));
    canvas->AddFontAlias("Caption", "DEFAULT");
    EXPECT_EQ(Vector2<float>(24, 16), canvas->MeasureText("abc"));
    EXPECT_EQ(16.0f, canvas->GetFontHeight("abc"));
    canvas->PopFont();
    EXPECT_EQ("default", canvas->GetFont().GetName());
    device->elapsedMilliseconds = 1234.5;
    EXPECT_EQ(1234.5, canvas->GetElapsedMilliseconds());

    // BeginDraw sets blending, culling and the declaration.
    device->Clear();
    canvas->BeginDraw();
    canvas->EndDraw();
    ASSERT_EQ(3u, device->calls.size());
    EXPECT_EQ((U32s{device->calls[0].state, device->calls[0].value, device->calls[1].state, device->calls[1].value}),
              (U32s{static_cast<std::uint32_t>(RenderState::AlphaBlendEnable), value::True,
                    static_cast<std::uint32_t>(RenderState::CullMode), value::CullNone}));
    EXPECT_EQ(CanvasCall::Kind::Declaration, device->calls[2].kind);

    // The text World divides by the pixel scale and shifts half a pixel below two.
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

} // namespace canvastest
