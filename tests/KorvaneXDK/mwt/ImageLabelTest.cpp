/** @file ImageLabelTest.cpp Images and labels on the recording device: auto size, stretch, the animated image's clip,
 * alignment, docked labels. */
#include "KorvaneXDK/mwt/NullAnimationComponent.h"
#include "MwtTest.h"

namespace
{

/// The largest x and u of a draw's vertices.
std::pair<float, float> Extent(const CanvasDraw& draw)
{
    float x = -1e9f, u = -1e9f;
    for (const auto& vertex : draw.vertices) {
        x = std::max(x, vertex.x);
        u = std::max(u, vertex.u);
    }
    return {x, u};
}

} // namespace

TEST(ImageAndLabel, AutoSizeStretchTheAnimatedImagesClipAndTheCaptionsPlaceByAlignment)
{
    RecordingCanvas rc;
    auto image = Make<CImage>("image", 0, 0, 10, 10, kInitialized);
    int resized = 0;
    image->ResizeEvent = [&](CControl*) { ++resized; };
    image->SetImagePath("formimage\\a.png");
    image->Draw(rc.canvas.get());
    // A path alone shows nothing.
    EXPECT_EQ(std::pair(true, V(10, 10)), std::pair(rc.device->draws.empty(), image->GetSize()));

    const auto texture = boost::make_shared<FakeTexture>(64, 32, 128, 64);
    image->SetTexture(texture);
    boost::shared_ptr<ITexture> held;
    image->GetTexture(held);
    image->SetImageScale(0.5f);
    EXPECT_EQ(std::tuple(V(32, 16), 1, held.get()), std::tuple(image->GetSize(), resized, texture.get()));
    image->Draw(rc.canvas.get());
    image->Draw(rc.canvas.get());
    const int resizedByDraws = resized;
    image->SetAutoSize(false);
    image->SetSize(V(50, 40));
    image->Draw(rc.canvas.get());
    EXPECT_EQ(std::pair(3, V(50, 40)), std::pair(resizedByDraws, image->GetSize()));

    int row = 0;
    const std::tuple<const char*, bool, bool, float, float> rows[] = {
        {"stretched over the control", true, false, 31.5f, 0.5f},
        {"one texel a unit", false, false, 31.5f, 0.25f},
        {"clipped to the parent's area", false, false, 9.5f, 10.0f / 128},
        {"animated: the whole target", false, true, 31.5f, 0.25f}};
    for (const auto& [what, stretch, animated, right, u] : rows) {
        SCOPED_TRACE(what);
        RecordingCanvas drawn;
        auto stretched = Make<CImage>("image", 0, 0, 0, 0, kInitialized);
        stretched->SetTexture(boost::make_shared<FakeTexture>(64, 32, 128, 64));
        stretched->SetImageScale(0.5f);
        stretched->SetStretch(stretch);
        stretched->SetBlendMode(1);
        if (row++ >= 2) {
            drawn.canvas->IntersectClipRect(Rect2f(0, 0, 10, 10));
        }
        if (animated) {
            stretched->SetAnimation(boost::make_shared<CNullAnimationComponent>());
        }
        stretched->Draw(drawn.canvas.get());
        ASSERT_EQ(drawn.device->draws.size(), 1u);
        // In the image's additive blend mode; the clip stack as it was.
        EXPECT_EQ(std::tuple(std::pair(right, u), os::gfx::value::BlendOne, std::size_t{1}),
                  std::tuple(Extent(drawn.device->draws[0]),
                             drawn.device->draws[0].RenderState(os::gfx::RenderState::DestBlend),
                             drawn.canvas->GetClipDepth()));
    }

    // Labels place their caption by alignment and auto-size only when undocked.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::tuple<std::int32_t, std::int32_t, float, int, int> labels[] = {
        {1, 0, 19, -2, 0}, // (19 - 24) / 2 = -2.5, toward zero
        {1, 0, 40, 8, 0},  {2, 0, 19, -5, 0}, {0, 1, 19, 0, 7},
        {7, 2, 19, 0, 14}, {1, 1, nan, 0, 7}, // a width that is no number centres at 0
    };
    for (const auto& [align, valign, width, x, y] : labels) {
        RecordingCanvas rc;
        auto label = Make<CLabel>("label", 0, 0, width, 30, kInitialized);
        label->SetAutoSize(false);
        label->SetCaption("abc");
        label->SetTextAlignment(align);
        label->SetVerticalAlignment(valign);
        label->SetColor(Color4<float>(1, 0, 0, 1));
        label->Draw(rc.canvas.get());
        EXPECT_EQ(
            std::pair(Lines{"'abc' (" + std::to_string(x) + "," + std::to_string(y) + ") FFFF0000"}, std::size_t{1}),
            std::pair(Calls(*rc.font), rc.canvas->GetFontDepth()))
            << std::to_string(align) + "/" + std::to_string(valign) + " in " + std::to_string(width);
    }

    RecordingCanvas drawn;
    auto screen = Make<CScreen>("screen", 0, 0, 320, 200, kInitialized);
    auto free = Add<CLabel>(*screen, "free", 5, 5, 0, 0);
    auto docked = Add<CLabel>(*screen, "docked", 0, 0, 0, 10);
    docked->SetDock(CControl::kDockTop);
    free->SetCaption("four");
    docked->SetCaption("four");
    EXPECT_EQ(std::tuple("four", V(32, 16), V(320, 10)),
              std::tuple(free->GetCaption(), free->GetSize(), docked->GetSize()));
    // The generic text (a design's text key, say) is neither shown nor measured.
    free->SetText("180");
    EXPECT_EQ(std::tuple("180", "four", V(32, 16)), std::tuple(free->GetText(), free->GetCaption(), free->GetSize()));

    // An auto-size label follows its font at the next draw; the docked one aligns inside its size.
    free->SetFont(canvas::CFont("smaller"));
    EXPECT_EQ(free->GetSize(), V(32, 16));
    free->Draw(drawn.canvas.get());
    docked->Draw(drawn.canvas.get());
    EXPECT_EQ(std::pair(V(24, 12), V(320, 10)), std::pair(free->GetSize(), docked->GetSize()));
}
