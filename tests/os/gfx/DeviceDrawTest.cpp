/** @file DeviceDrawTest.cpp Clears, draws and read-back on the software renderer. */
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

#include "GfxFixture.h"

namespace gfxtest
{
namespace
{

using os::gfx::kErrInvalidCall;
using os::gfx::kOk;
using os::gfx::PrimitiveType;
using os::gfx::RenderState;
namespace value = os::gfx::value;
namespace clearflags = os::gfx::clear;

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kGrey = 0xFF202020u;

TEST_F(GfxTest, CreationWritesBackTheParametersItUsed)
{
    EXPECT_EQ(os::gfx::Format::X8R8G8B8, parameters.BackBufferFormat);
    EXPECT_EQ(kWidth, parameters.BackBufferWidth);
    EXPECT_EQ(kHeight, parameters.BackBufferHeight);
    EXPECT_EQ(1u, parameters.BackBufferCount);
    EXPECT_TRUE(device->IsExtended());
    os::gfx::Viewport viewport;
    ASSERT_EQ(kOk, device->GetViewport(&viewport));
    EXPECT_EQ(kWidth, viewport.Width);
    EXPECT_EQ(kHeight, viewport.Height);
}

TEST_F(GfxTest, WindowedSizeZeroTakesTheWindowsDrawableSize)
{
    device.reset();
    window->SetClientSize(100, 70);
    os::gfx::PresentParameters p = WindowedParameters(0, 0, window.get());
    ASSERT_EQ(kOk, direct3D->CreateDeviceEx(0, os::gfx::DeviceType::Hal, window.get(),
                                            os::gfx::create::HardwareVertexProcessing, &p, nullptr, &device));
    EXPECT_EQ(100u, p.BackBufferWidth);
    EXPECT_EQ(70u, p.BackBufferHeight);
}

TEST_F(GfxTest, ClearFillsTheBackBufferWithTheArgbColour)
{
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target | clearflags::ZBuffer, 0x80123456u, 1.0f, 0));
    const auto pixels = ReadBack();
    EXPECT_EQ(0x80123456u, Pixel(pixels, 0, 0));
    EXPECT_EQ(0x80123456u, Pixel(pixels, kWidth - 1, kHeight - 1));
}

TEST_F(GfxTest, ClearKeepsToTheViewportAndTheGivenRectangles)
{
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, kGrey, 1.0f, 0));
    ASSERT_EQ(kOk, device->SetViewport(os::gfx::Viewport{10, 5, 20, 10, 0.0f, 1.0f}));
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, kRed, 1.0f, 0));
    const os::gfx::ClearRect rect{0, 0, 12, 7};
    ASSERT_EQ(kOk, device->Clear(1, &rect, clearflags::Target, kBlue, 1.0f, 0));
    const auto pixels = ReadBack();
    EXPECT_EQ(kGrey, Pixel(pixels, 9, 5));
    EXPECT_EQ(kBlue, Pixel(pixels, 10, 5));
    EXPECT_EQ(kBlue, Pixel(pixels, 11, 6));
    EXPECT_EQ(kRed, Pixel(pixels, 12, 6));
    EXPECT_EQ(kRed, Pixel(pixels, 29, 14));
    EXPECT_EQ(kGrey, Pixel(pixels, 30, 14));
    EXPECT_EQ(kGrey, Pixel(pixels, 29, 15));
}

TEST_F(GfxTest, ClearWithoutADepthBufferRefusesTheDepthFlag)
{
    device.reset();
    os::gfx::PresentParameters p = WindowedParameters(16, 16, window.get());
    p.EnableAutoDepthStencil = false;
    ASSERT_EQ(kOk, direct3D->CreateDeviceEx(0, os::gfx::DeviceType::Hal, window.get(),
                                            os::gfx::create::HardwareVertexProcessing, &p, nullptr, &device));
    EXPECT_EQ(kErrInvalidCall,
              device->Clear(0, nullptr, clearflags::Target | clearflags::ZBuffer, 0, 1.0f, 0));
    EXPECT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, 0, 1.0f, 0));
    std::uint32_t zEnable = 99;
    ASSERT_EQ(kOk, device->GetRenderState(RenderState::ZEnable, &zEnable));
    EXPECT_EQ(value::ZBufferFalse, zEnable);
}

// A quad from (x0 - 0.5, y0 - 0.5) to (x1 - 0.5, y1 - 0.5) covers exactly the pixels x0..x1-1,
// y0..y1-1 with Direct3D's pixel centres, and row 0 is the top row.
TEST_F(GfxTest, TriangleStripCoversExactlyItsPixelsTopRowsFirst)
{
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target | clearflags::ZBuffer, kGrey, 1.0f, 0));
    ASSERT_EQ(kOk, device->BeginScene());
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(kOk, DrawQuad(10, 4, 20, 12, kRed));
    ASSERT_EQ(kOk, device->EndScene());
    ASSERT_EQ(kOk, device->Present());
    const auto pixels = ReadBack();
    for (std::uint32_t y = 0; y < kHeight; ++y)
    {
        for (std::uint32_t x = 0; x < kWidth; ++x)
        {
            const bool inside = x >= 10 && x < 20 && y >= 4 && y < 12;
            ASSERT_EQ(inside ? kRed : kGrey, Pixel(pixels, x, y)) << "at " << x << ", " << y;
        }
    }
}

TEST_F(GfxTest, VertexColoursArriveInArgbOrder)
{
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, 0xFF000000u, 1.0f, 0));
    ASSERT_EQ(kOk, DrawQuad(0, 0, 8, 8, 0xFF123456u));
    const auto pixels = ReadBack();
    EXPECT_EQ(0xFF123456u, Pixel(pixels, 4, 4));
}

TEST_F(GfxTest, DefaultCullingDropsCounterClockwiseTriangles)
{
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, kGrey, 1.0f, 0));
    // Clockwise on screen (y grows downwards): top-left, top-right, bottom-left.
    const ColorVertex clockwise[3] = {{0, 0, 0, kRed}, {30, 0, 0, kRed}, {0, 30, 0, kRed}};
    const ColorVertex counterClockwise[3] = {{63, 47, 0, kBlue}, {63, 17, 0, kBlue}, {33, 47, 0, kBlue}};
    ASSERT_EQ(kOk, device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, clockwise, sizeof(ColorVertex)));
    ASSERT_EQ(kOk,
              device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, counterClockwise, sizeof(ColorVertex)));
    auto pixels = ReadBack();
    EXPECT_EQ(kRed, Pixel(pixels, 5, 5));
    EXPECT_EQ(kGrey, Pixel(pixels, 58, 42));

    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullCW));
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, kGrey, 1.0f, 0));
    ASSERT_EQ(kOk, device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, clockwise, sizeof(ColorVertex)));
    ASSERT_EQ(kOk,
              device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, counterClockwise, sizeof(ColorVertex)));
    pixels = ReadBack();
    EXPECT_EQ(kGrey, Pixel(pixels, 5, 5));
    EXPECT_EQ(kBlue, Pixel(pixels, 58, 42));
}

TEST_F(GfxTest, DepthRunsFromZeroToOneWithLessEqualByDefault)
{
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target | clearflags::ZBuffer, kGrey, 1.0f, 0));
    ASSERT_EQ(kOk, DrawQuad(0, 0, 20, 20, kRed, 0.5f));
    ASSERT_EQ(kOk, DrawQuad(0, 0, 10, 20, kGreen, 0.7f));   // behind: hidden
    ASSERT_EQ(kOk, DrawQuad(10, 0, 20, 20, kBlue, 0.5f));   // equal depth: drawn (LESSEQUAL)
    ASSERT_EQ(kOk, DrawQuad(30, 0, 40, 20, kGreen, 0.0f));  // depth 0 lies inside the volume
    ASSERT_EQ(kOk, DrawQuad(40, 0, 50, 20, kGreen, -0.1f)); // in front of the near plane: clipped
    const auto pixels = ReadBack();
    EXPECT_EQ(kRed, Pixel(pixels, 5, 5));
    EXPECT_EQ(kBlue, Pixel(pixels, 15, 5));
    EXPECT_EQ(kGreen, Pixel(pixels, 35, 5));
    EXPECT_EQ(kGrey, Pixel(pixels, 45, 5));
}

TEST_F(GfxTest, AlphaBlendingUsesTheDirect3DFactors)
{
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, 0xFF0000FFu, 1.0f, 0));
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::AlphaBlendEnable, value::True));
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::SrcBlend, value::BlendSrcAlpha));
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::DestBlend, value::BlendInvSrcAlpha));
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(kOk, DrawQuad(0, 0, 8, 8, 0x80FF0000u));
    const auto pixels = ReadBack();
    const std::uint32_t p = Pixel(pixels, 4, 4);
    EXPECT_NEAR(0x80, static_cast<int>((p >> 16) & 0xFF), 1);
    EXPECT_EQ(0u, (p >> 8) & 0xFF);
    EXPECT_NEAR(0x7F, static_cast<int>(p & 0xFF), 1);
}

TEST_F(GfxTest, IndexedListsAndFansDrawTheSameQuad)
{
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, kGrey, 1.0f, 0));
    const ColorVertex quad[4] = {
        {-0.5f, -0.5f, 0, kRed}, {9.5f, -0.5f, 0, kRed}, {9.5f, 9.5f, 0, kRed}, {-0.5f, 9.5f, 0, kRed}};
    const std::uint16_t indices16[6] = {0, 1, 2, 0, 2, 3};
    ASSERT_EQ(kOk, device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 2, indices16,
                                                  os::gfx::Format::Index16, quad, sizeof(ColorVertex)));
    ColorVertex moved[4];
    std::memcpy(moved, quad, sizeof moved);
    for (ColorVertex& v : moved)
    {
        v.x += 20;
        v.color = kBlue;
    }
    ASSERT_EQ(kOk, device->DrawPrimitiveUP(PrimitiveType::TriangleFan, 2, moved, sizeof(ColorVertex)));
    for (ColorVertex& v : moved)
    {
        v.x += 20;
        v.color = kGreen;
    }
    const std::uint32_t indices32[6] = {0, 1, 2, 0, 2, 3};
    ASSERT_EQ(kOk, device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 2, indices32,
                                                  os::gfx::Format::Index32, moved, sizeof(ColorVertex)));
    const auto pixels = ReadBack();
    EXPECT_EQ(kRed, Pixel(pixels, 0, 0));
    EXPECT_EQ(kRed, Pixel(pixels, 9, 9));
    EXPECT_EQ(kGrey, Pixel(pixels, 10, 9));
    EXPECT_EQ(kBlue, Pixel(pixels, 20, 0));
    EXPECT_EQ(kBlue, Pixel(pixels, 29, 9));
    EXPECT_EQ(kGreen, Pixel(pixels, 45, 5));
}

TEST_F(GfxTest, IndexedDrawsReadOnlyThePromisedVertices)
{
    // The vertices start a page after an inaccessible one, and the caller's array begins two
    // vertices earlier, inside it: reading below the lowest index would fault.
    const long page = sysconf(_SC_PAGESIZE);
    void* mapping = mmap(nullptr, static_cast<std::size_t>(page) * 2, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(MAP_FAILED, mapping);
    auto* guard = static_cast<std::uint8_t*>(mapping);
    ASSERT_EQ(0, mprotect(guard, static_cast<std::size_t>(page), PROT_NONE));
    auto* quad = reinterpret_cast<ColorVertex*>(guard + page);
    quad[0] = {-0.5f, -0.5f, 0, kRed};
    quad[1] = {7.5f, -0.5f, 0, kRed};
    quad[2] = {7.5f, 7.5f, 0, kRed};
    quad[3] = {-0.5f, 7.5f, 0, kRed};
    const ColorVertex* array = reinterpret_cast<const ColorVertex*>(guard + page - 2 * sizeof(ColorVertex));
    const std::uint16_t indices[6] = {2, 3, 4, 2, 4, 5};
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, kGrey, 1.0f, 0));
    EXPECT_EQ(kOk, device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 2, 4, 2, indices,
                                                  os::gfx::Format::Index16, array, sizeof(ColorVertex)));
    const auto pixels = ReadBack();
    EXPECT_EQ(kRed, Pixel(pixels, 0, 0));
    EXPECT_EQ(kRed, Pixel(pixels, 7, 7));
    EXPECT_EQ(kGrey, Pixel(pixels, 8, 7));
    munmap(mapping, static_cast<std::size_t>(page) * 2);
}

TEST_F(GfxTest, DrawsRefuseIndicesOutsideTheirVerticesAndMissingSetUp)
{
    const ColorVertex quad[4] = {};
    const std::uint16_t indices[3] = {0, 1, 7};
    EXPECT_EQ(kErrInvalidCall,
              device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 1, indices,
                                             os::gfx::Format::Index16, quad, sizeof(ColorVertex)));
    EXPECT_EQ(kOk, device->DrawPrimitiveUP(PrimitiveType::TriangleList, 0, quad, sizeof(ColorVertex)));
    ASSERT_EQ(kOk, device->SetPixelShader(nullptr));
    EXPECT_EQ(kErrInvalidCall,
              device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, quad, sizeof(ColorVertex)));
    EXPECT_EQ(kErrInvalidCall, device->SetPixelShader(vertexShader));
}

TEST_F(GfxTest, ViewportMustLieInsideTheBackBuffer)
{
    EXPECT_EQ(kErrInvalidCall, device->SetViewport(os::gfx::Viewport{60, 0, 10, 10, 0.0f, 1.0f}));
    EXPECT_EQ(kErrInvalidCall, device->SetViewport(os::gfx::Viewport{0, 0, 0, 10, 0.0f, 1.0f}));
    EXPECT_EQ(kErrInvalidCall, device->SetViewport(os::gfx::Viewport{0, 0, 10, 10, 0.5f, 0.2f}));
    EXPECT_EQ(kOk, device->SetViewport(os::gfx::Viewport{32, 24, 32, 24, 0.0f, 1.0f}));
}

TEST_F(GfxTest, ViewportPlacesClipSpaceFromTheTopLeft)
{
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, kGrey, 1.0f, 0));
    // The shader maps 64 x 48 pixels to clip space; a 32 x 24 viewport at (32, 24) halves it.
    ASSERT_EQ(kOk, device->SetViewport(os::gfx::Viewport{32, 24, 32, 24, 0.0f, 1.0f}));
    SetUpShaders(32, 24);
    ASSERT_EQ(kOk, DrawQuad(0, 0, 4, 2, kRed));
    const auto pixels = ReadBack();
    EXPECT_EQ(kRed, Pixel(pixels, 32, 24));
    EXPECT_EQ(kRed, Pixel(pixels, 35, 25));
    EXPECT_EQ(kGrey, Pixel(pixels, 36, 25));
    EXPECT_EQ(kGrey, Pixel(pixels, 35, 26));
    EXPECT_EQ(kGrey, Pixel(pixels, 31, 24));
}

TEST_F(GfxTest, ScissorRectangleCutsDrawsWhileEnabled)
{
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, kGrey, 1.0f, 0));
    ASSERT_EQ(kOk, device->SetScissorRect(os::gfx::Rect{4, 2, 8, 6}));
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::ScissorTestEnable, value::True));
    ASSERT_EQ(kOk, DrawQuad(0, 0, 20, 20, kRed));
    const auto pixels = ReadBack();
    EXPECT_EQ(kGrey, Pixel(pixels, 3, 3));
    EXPECT_EQ(kRed, Pixel(pixels, 4, 2));
    EXPECT_EQ(kRed, Pixel(pixels, 7, 5));
    EXPECT_EQ(kGrey, Pixel(pixels, 8, 5));
    EXPECT_EQ(kGrey, Pixel(pixels, 7, 6));
}

TEST_F(GfxTest, MultisampledBackBufferResolvesForReadBackAndPresent)
{
    device.reset();
    os::gfx::PresentParameters p = WindowedParameters(32, 32, window.get());
    p.MultiSampleType = static_cast<os::gfx::MultiSampleType>(4);
    ASSERT_EQ(kOk,
              direct3D->CheckDeviceMultiSampleType(0, os::gfx::DeviceType::Hal, os::gfx::Format::X8R8G8B8,
                                                   true, p.MultiSampleType, nullptr));
    ASSERT_EQ(kOk, direct3D->CreateDeviceEx(0, os::gfx::DeviceType::Hal, window.get(),
                                            os::gfx::create::HardwareVertexProcessing, &p, nullptr, &device));
    SetUpShaders(32, 32);
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target | clearflags::ZBuffer, kGrey, 1.0f, 0));
    ASSERT_EQ(kOk, DrawQuad(0, 0, 16, 16, kRed));
    ASSERT_EQ(kOk, device->Present());
    const auto pixels = ReadBack();
    EXPECT_EQ(kRed, Pixel(pixels, 8, 8));
    EXPECT_EQ(kGrey, Pixel(pixels, 20, 20));
    EXPECT_EQ(os::gfx::kErrNotAvailable,
              direct3D->CheckDeviceMultiSampleType(0, os::gfx::DeviceType::Hal, os::gfx::Format::X8R8G8B8,
                                                   true, static_cast<os::gfx::MultiSampleType>(3), nullptr));
}

TEST_F(GfxTest, ShaderCompileErrorsFailWithALog)
{
    const std::string broken = "#version 410 core\nvoid main() { undefined_thing = 1; }\n";
    std::shared_ptr<os::gfx::Shader> shader;
    EXPECT_EQ(kErrInvalidCall, device->CreatePixelShader(broken.data(), broken.size(), &shader));
    EXPECT_EQ(nullptr, shader);
    EXPECT_FALSE(device->GetLastShaderLog().empty());
}

// Extension directives must precede every declaration, the layer's own included.
TEST_F(GfxTest, VertexShadersMayEnableExtensions)
{
    const std::string source =
        "#version 410 core\n"
        "// the author's notes\n"
        "#extension GL_ARB_shading_language_420pack : enable\n"
        "\n"
        "#extension GL_ARB_explicit_uniform_location : enable\n"
        "layout(location = 0) in vec3 inPosition;\n"
        "layout(location = 4) in vec4 inColor;\n"
        "layout(location = 0) out vec4 vColor;\n"
        "void main()\n"
        "{\n"
        "    gl_Position = vec4(inPosition.x / 32.0 - 1.0, 1.0 - inPosition.y / 24.0, 0.0, 1.0);\n"
        "    vColor = inColor;\n"
        "}";
    std::shared_ptr<os::gfx::Shader> shader;
    ASSERT_EQ(kOk, device->CreateVertexShader(source.data(), source.size(), &shader))
        << device->GetLastShaderLog();
    ASSERT_EQ(kOk, device->SetVertexShader(shader));
    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, kGrey, 1.0f, 0));
    ASSERT_EQ(kOk, DrawQuad(2, 2, 6, 6, kRed));
    const auto pixels = ReadBack();
    EXPECT_EQ(kRed, Pixel(pixels, 2, 2));
    EXPECT_EQ(kRed, Pixel(pixels, 5, 5));
    EXPECT_EQ(kGrey, Pixel(pixels, 6, 6));
}

TEST_F(GfxTest, ShadersAndDeclarationsOutliveTheirDevice)
{
    auto shader = vertexShader;
    auto decl = declaration;
    vertexShader.reset();
    device.reset();
    shader.reset(); // must not touch the destroyed context
    EXPECT_EQ(3u, decl->GetElements().size() + 1);
}

} // namespace
} // namespace gfxtest

namespace gfxtest
{
namespace
{

TEST_F(GfxTest, PresentingPaintedPixelsKeepsTheBackBuffer)
{
    ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF00FF00u, 1.0f, 0));
    std::vector<std::uint32_t> painted(20 * 10, 0xFF202020u);
    EXPECT_EQ(os::gfx::kOk, device->PresentPixels(painted.data(), 20, 10));
    EXPECT_EQ(os::gfx::kErrInvalidCall, device->PresentPixels(nullptr, 20, 10));
    const auto pixels = ReadBack();
    EXPECT_EQ(0xFF00FF00u, Pixel(pixels, 0, 0));
}

} // namespace
} // namespace gfxtest

namespace gfxtest
{
namespace
{

/// The same conventions on a driver without clip control: y flip and depth remap in the prelude.
class GfxWithoutClipControlTest : public GfxTest
{
protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        device.reset();
        os::testing::SetWithoutClipControl(true);
        parameters = WindowedParameters(kWidth, kHeight, window.get());
        ASSERT_EQ(os::gfx::kOk, direct3D->CreateDeviceEx(0, os::gfx::DeviceType::Hal, window.get(),
                                                         os::gfx::create::HardwareVertexProcessing,
                                                         &parameters, nullptr, &device));
        ASSERT_FALSE(device->HasClipControl());
        SetUpShaders(kWidth, kHeight);
    }
};

TEST_F(GfxWithoutClipControlTest, QuadsCullingAndDepthMatchTheClipControlPath)
{
    using os::gfx::RenderState;
    namespace value = os::gfx::value;
    ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer,
                                          0xFF202020u, 1.0f, 0));
    const ColorVertex clockwise[3] = {
        {0, 30, 0.5f, 0xFFFF0000u}, {0, 0, 0.5f, 0xFFFF0000u}, {30, 30, 0.5f, 0xFFFF0000u}};
    const ColorVertex counterClockwise[3] = {
        {63, 0, 0.5f, 0xFF0000FFu}, {33, 0, 0.5f, 0xFF0000FFu}, {63, 30, 0.5f, 0xFF0000FFu}};
    ASSERT_EQ(os::gfx::kOk, device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleList, 1, clockwise,
                                                    sizeof(ColorVertex)));
    ASSERT_EQ(os::gfx::kOk, device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleList, 1, counterClockwise,
                                                    sizeof(ColorVertex)));
    ASSERT_EQ(os::gfx::kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(os::gfx::kOk, DrawQuad(40, 40, 44, 44, 0xFF00FF00u, 0.7f));
    ASSERT_EQ(os::gfx::kOk,
              DrawQuad(42, 40, 46, 44, 0xFFFFFFFFu, 0.9f)); // behind the green quad where they overlap
    const auto pixels = ReadBack();
    EXPECT_EQ(0xFFFF0000u, Pixel(pixels, 2, 20));  // clockwise, top rows first
    EXPECT_EQ(0xFF202020u, Pixel(pixels, 60, 5));  // counter-clockwise: culled
    EXPECT_EQ(0xFF00FF00u, Pixel(pixels, 40, 40)); // exact corner pixel
    EXPECT_EQ(0xFF00FF00u, Pixel(pixels, 43, 43)); // green stays in front of white
    EXPECT_EQ(0xFFFFFFFFu, Pixel(pixels, 45, 43));
    EXPECT_EQ(0xFF202020u, Pixel(pixels, 46, 43));
    EXPECT_EQ(0xFF202020u, Pixel(pixels, 43, 44));
}

} // namespace
} // namespace gfxtest

namespace gfxtest
{
namespace
{

TEST_F(GfxTest, DepthClearIgnoresTheDepthWriteState)
{
    using os::gfx::RenderState;
    namespace value = os::gfx::value;
    ASSERT_EQ(os::gfx::kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF202020u, 1.0f, 0));
    ASSERT_EQ(os::gfx::kOk, device->SetRenderState(RenderState::ZWriteEnable, value::False));
    ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::ZBuffer, 0, 0.25f, 0));
    ASSERT_EQ(os::gfx::kOk, DrawQuad(0, 0, 10, 10, 0xFFFF0000u, 0.5f)); // behind the cleared depth
    ASSERT_EQ(os::gfx::kOk, DrawQuad(10, 0, 20, 10, 0xFF0000FFu, 0.2f));
    ASSERT_EQ(os::gfx::kOk, device->SetRenderState(RenderState::ZEnable, value::ZBufferFalse));
    ASSERT_EQ(os::gfx::kOk, DrawQuad(20, 0, 30, 10, 0xFF00FF00u, 0.9f)); // no depth test at all
    const auto pixels = ReadBack();
    EXPECT_EQ(0xFF202020u, Pixel(pixels, 5, 5));
    EXPECT_EQ(0xFF0000FFu, Pixel(pixels, 15, 5));
    EXPECT_EQ(0xFF00FF00u, Pixel(pixels, 25, 5));
}

} // namespace
} // namespace gfxtest
