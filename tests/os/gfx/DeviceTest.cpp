/** @file DeviceTest.cpp The device on the software renderer: the graphics object's modes and creation records,
 * clears, draws and read-back, the lost-device state machine with the resets and the states they restore, and a
 * stage's constant table: what it lists, sampler units, typed setters and refusals. */
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <numeric>
#include <string>
#include <thread>

#include "os/Values.h"
#include "os/gfx/ConstantTable.h"
#include "os/gfx/ContextLink.h"
#include "os/system/System.h"
#include "support/GfxFixture.h"

namespace gfxtest
{
namespace
{

using os::gfx::ConstantHandle;
using os::gfx::ConstantTable;
using os::gfx::DisplayMode;
using os::gfx::Format;
using os::gfx::kErrDeviceLost;
using os::gfx::kErrDeviceNotReset;
using os::gfx::kErrInvalidCall;
using os::gfx::kErrNotAvailable;
using os::gfx::kOk;
using os::gfx::ParameterClass;
using os::gfx::ParameterType;
using os::gfx::PrimitiveType;
using os::gfx::RegisterSet;
using os::gfx::RenderState;
using os::gfx::SamplerState;
namespace value = os::gfx::value;
namespace clearflags = os::gfx::clear;
using ostest::V;
using Results = std::vector<os::gfx::Result>; // braced: evaluated in order

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kGrey = 0xFF202020u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBoth = clearflags::Target | clearflags::ZBuffer;

/// Each call of the list, made in order, succeeded.
void ExpectOk(const Results& results)
{
    EXPECT_EQ(results, Results(results.size(), kOk));
}

TEST_F(GfxTest, CreationParametersClearsViewportsResolvedBuffersModesAndCreationRecordsFollowDirect3D)
{
    os::gfx::Viewport viewport;
    ASSERT_EQ(kOk, device->GetViewport(&viewport));
    EXPECT_EQ(V(parameters.BackBufferFormat, parameters.BackBufferWidth, parameters.BackBufferHeight,
                parameters.BackBufferCount, device->IsExtended(), viewport.Width, viewport.Height),
              V(os::gfx::Format::X8R8G8B8, kWidth, kHeight, 1, true, kWidth, kHeight));

    // The colour is ARGB; later clears keep to the viewport and the given rectangles.
    ASSERT_EQ(kOk, device->Clear(0, nullptr, kBoth, 0x80123456u, 1.0f, 0));
    ExpectPixels({{0, 0, 0x80123456u}, {kWidth - 1, kHeight - 1, 0x80123456u}});

    // Painted pixels are presented keeping the back buffer.
    ASSERT_EQ(kOk, device->Clear(0, nullptr, clearflags::Target, kGreen, 1.0f, 0));
    std::vector<std::uint32_t> painted(20 * 10, kGrey);
    EXPECT_EQ(V(device->PresentPixels(painted.data(), 20, 10), device->PresentPixels(nullptr, 20, 10)),
              V(kOk, kErrInvalidCall));
    ExpectPixels({{0, 0, kGreen}});

    const os::gfx::ClearRect rect{0, 0, 12, 7};
    ExpectOk({device->Clear(0, nullptr, clearflags::Target, kGrey, 1.0f, 0),
              device->SetViewport(os::gfx::Viewport{10, 5, 20, 10, 0.0f, 1.0f}),
              device->Clear(0, nullptr, clearflags::Target, kRed, 1.0f, 0),
              device->Clear(1, &rect, clearflags::Target, kBlue, 1.0f, 0)});
    ExpectPixels({{9, 5, kGrey}, {10, 5, kBlue}, {11, 6, kBlue}, {12, 6, kRed}});
    ExpectPixels({{29, 14, kRed}, {30, 14, kGrey}, {29, 15, kGrey}});

    // Size zero in a window takes the window's drawable size.
    window->SetClientSize(100, 70);
    os::gfx::PresentParameters p = WindowedParameters(0, 0, window.get());
    ASSERT_NO_FATAL_FAILURE(Recreate(p));
    EXPECT_EQ(V(p.BackBufferWidth, p.BackBufferHeight), V(100, 70));

    // Without a depth buffer the depth flag is refused.
    p = WindowedParameters(16, 16, window.get());
    p.EnableAutoDepthStencil = false;
    ASSERT_NO_FATAL_FAILURE(Recreate(p));
    std::uint32_t zEnable = 99;
    EXPECT_EQ(V(device->Clear(0, nullptr, kBoth, 0, 1.0f, 0), device->Clear(0, nullptr, clearflags::Target, 0, 1.0f, 0),
                device->GetRenderState(RenderState::ZEnable, &zEnable)),
              V(kErrInvalidCall, kOk, kOk));
    EXPECT_EQ(value::ZBufferFalse, zEnable);

    // A multisampled back buffer resolves for read-back and present.
    p = WindowedParameters(32, 32, window.get());
    const auto check = [&](int samples) {
        return direct3D->CheckDeviceMultiSampleType(0, os::gfx::DeviceType::Hal, os::gfx::Format::X8R8G8B8, true,
                                                    static_cast<os::gfx::MultiSampleType>(samples), nullptr);
    };
    ASSERT_EQ(V(check(3), check(4)), V(os::gfx::kErrNotAvailable, kOk));
    p.MultiSampleType = static_cast<os::gfx::MultiSampleType>(4);
    ASSERT_NO_FATAL_FAILURE(Recreate(p));
    SetUpShaders(32, 32);
    Prepare(kGrey, kBoth);
    ExpectOk({DrawQuad(0, 0, 16, 16, kRed), device->Present()});
    ExpectPixels({{8, 8, kRed}, {20, 20, kGrey}});

    // The graphics object's modes, and the records of a full-screen creation.
    auto object = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
    ASSERT_NE(nullptr, object);
    const std::uint32_t count = object->GetAdapterModeCount(0, Format::X8R8G8B8);
    ASSERT_GE(count, 1u);
    DisplayMode previous, mode;
    for (std::uint32_t i = 0; i < count; previous = mode, ++i) {
        ASSERT_EQ(kOk, object->EnumAdapterModes(0, Format::X8R8G8B8, i, &mode));
        EXPECT_EQ(Format::X8R8G8B8, mode.Format);
        EXPECT_TRUE(i == 0 || std::tie(previous.Width, previous.Height, previous.RefreshRate) <
                                  std::tie(mode.Width, mode.Height, mode.RefreshRate));
    }
    os::gfx::AdapterIdentifier identifier;
    EXPECT_EQ(V(object->EnumAdapterModes(0, Format::X8R8G8B8, count, &mode),
                object->GetAdapterModeCount(object->GetAdapterCount(), Format::X8R8G8B8),
                object->GetAdapterIdentifier(0, 0, &identifier)),
              V(kErrInvalidCall, 0, kOk));

    // A replaced list is reported as given, in the asked-for format.
    os::testing::ReplaceAdapterModes(0, {{1920, 1080, 75, Format::Unknown}, {640, 480, 60, Format::Unknown}});
    object = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
    ASSERT_NE(nullptr, object);
    ASSERT_EQ(2u, object->GetAdapterModeCount(0, Format::X8R8G8B8));
    ASSERT_EQ(kOk, object->EnumAdapterModes(0, Format::X8R8G8B8, 1, &mode));
    EXPECT_EQ(V(mode.Width, mode.Format), V(640, Format::X8R8G8B8));

    // Creation records; failing creations, the software fallback and the records of a plain creation are
    // checked through the engine's graphics tests.
    shaders = ColorShaders();
    device.reset();
    p = WindowedParameters(32, 32, window.get());
    const auto create = [&](os::gfx::DisplayModeEx* modeEx, os::gfx::DeviceType type = os::gfx::DeviceType::Hal) {
        return direct3D->CreateDeviceEx(0, type, window.get(), os::gfx::create::HardwareVertexProcessing, &p, modeEx,
                                        &device);
    };
    // Full screen on the extended object needs its display mode record.
    p.Windowed = false;
    p.BackBufferFormat = Format::X8R8G8B8;
    EXPECT_EQ(kErrInvalidCall, create(nullptr));
    os::gfx::DisplayModeEx modeEx{.Width = 32,
                                  .Height = 32,
                                  .RefreshRate = 60,
                                  .Format = Format::X8R8G8B8,
                                  .ScanLineOrdering = os::gfx::ScanLineOrdering::Progressive};
    ASSERT_EQ(kOk, create(&modeEx));
    const auto record = os::testing::GetLastCreateDeviceRecord();
    EXPECT_EQ(V(record.hadDisplayMode, record.displayMode.Size, record.displayMode.ScanLineOrdering),
              V(true, 24, os::gfx::ScanLineOrdering::Progressive));
    EXPECT_EQ(V(device->SetMaximumFrameLatency(1), device->Present()), V(kOk, kOk));
    // A device type other than the hardware one is not offered.
    EXPECT_EQ(kErrNotAvailable, create(&modeEx, os::gfx::DeviceType::Ref));
}

TEST_F(GfxTest, CounterClockwiseTrianglesAreCulledByDefaultAndClockwiseOnesOnRequest)
{
    // Clockwise on screen (y grows downwards): top-left, top-right, bottom-left.
    const ColorVertex clockwise[3] = {{0, 0, 0, kRed}, {30, 0, 0, kRed}, {0, 30, 0, kRed}};
    const ColorVertex counterClockwise[3] = {{63, 47, 0, kBlue}, {63, 17, 0, kBlue}, {33, 47, 0, kBlue}};
    for (const bool cullClockwise : {false, true}) {
        SCOPED_TRACE(cullClockwise ? "CullCW" : "default");
        ExpectOk({cullClockwise ? device->SetRenderState(RenderState::CullMode, value::CullCW) : kOk,
                  device->Clear(0, nullptr, clearflags::Target, kGrey, 1.0f, 0), DrawTriangle(clockwise),
                  DrawTriangle(counterClockwise)});
        ExpectPixels({{5, 5, cullClockwise ? kGrey : kRed}, {58, 42, cullClockwise ? kBlue : kGrey}});
    }
}

TEST_F(GfxTest, DepthRunsFromZeroToOneWithLessEqualByDefault)
{
    Prepare(kGrey, kBoth);
    ExpectOk({DrawQuad(0, 0, 20, 20, kRed, 0.5f), DrawQuad(0, 0, 10, 20, kGreen, 0.7f), // behind: hidden
              DrawQuad(10, 0, 20, 20, kBlue, 0.5f),   // equal depth: drawn (LESSEQUAL)
              DrawQuad(30, 0, 40, 20, kGreen, 0.0f),  // depth 0 lies inside the volume
              DrawQuad(40, 0, 50, 20, kGreen, -0.1f), // in front of the near plane: clipped
              DrawQuad(50, 0, 60, 20, 0xFF123456u)}); // vertex colours arrive in ARGB order
    ExpectPixels({{5, 5, kRed}, {15, 5, kBlue}, {35, 5, kGreen}, {45, 5, kGrey}, {55, 5, 0xFF123456u}});
}

TEST_F(GfxTest, ADepthClearIgnoresTheDepthWriteState)
{
    Prepare(kGrey);
    ExpectOk({device->SetRenderState(RenderState::ZWriteEnable, value::False),
              device->Clear(0, nullptr, clearflags::ZBuffer, 0, 0.25f, 0),
              DrawQuad(0, 0, 10, 10, kRed, 0.5f), // behind the cleared depth
              DrawQuad(10, 0, 20, 10, kBlue, 0.2f), device->SetRenderState(RenderState::ZEnable, value::ZBufferFalse),
              DrawQuad(20, 0, 30, 10, kGreen, 0.9f)}); // no depth test at all
    ExpectPixels({{5, 5, kGrey}, {15, 5, kBlue}, {25, 5, kGreen}});
}

TEST_F(GfxTest, AlphaBlendingUsesTheDirect3DFactors)
{
    Prepare(kBlue);
    ExpectOk({device->SetRenderState(RenderState::AlphaBlendEnable, value::True),
              device->SetRenderState(RenderState::SrcBlend, value::BlendSrcAlpha),
              device->SetRenderState(RenderState::DestBlend, value::BlendInvSrcAlpha),
              DrawQuad(0, 0, 8, 8, 0x80FF0000u)});
    const std::uint32_t p = Pixel(ReadBack(), 4, 4);
    EXPECT_NEAR(0x80, static_cast<int>((p >> 16) & 0xFF), 1);
    EXPECT_NEAR(0x7F, static_cast<int>(p & 0xFF), 1);
    EXPECT_EQ(0u, (p >> 8) & 0xFF);
}

TEST_F(GfxTest, IndexedListsWithEitherIndexSizeAndFansDrawTheSameQuad)
{
    Prepare(kGrey);
    ExpectOk({device->SetRenderState(RenderState::AlphaBlendEnable, value::False)});
    ColorVertex quad[4] = {
        {-0.5f, -0.5f, 0, kRed}, {9.5f, -0.5f, 0, kRed}, {9.5f, 9.5f, 0, kRed}, {-0.5f, 9.5f, 0, kRed}};
    const auto moveRight = [&](std::uint32_t color) {
        for (ColorVertex& v : quad) {
            v.x += 20;
            v.color = color;
        }
        return quad;
    };
    const std::uint16_t indices16[6] = {0, 1, 2, 0, 2, 3};
    const std::uint32_t indices32[6] = {0, 1, 2, 0, 2, 3};
    ExpectOk({device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 2, indices16, os::gfx::Format::Index16,
                                             quad, sizeof(ColorVertex)),
              device->DrawPrimitiveUP(PrimitiveType::TriangleFan, 2, moveRight(kBlue), sizeof(ColorVertex)),
              device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 2, indices32, os::gfx::Format::Index32,
                                             moveRight(kGreen), sizeof(ColorVertex))});
    ExpectPixels({{0, 0, kRed}, {9, 9, kRed}, {10, 9, kGrey}, {20, 0, kBlue}, {29, 9, kBlue}, {45, 5, kGreen}});
}

TEST_F(GfxTest, AnIndexedDrawReadsOnlyThePromisedVertices)
{
    // The vertices start a page after an inaccessible one, and the caller's array begins two
    // vertices earlier, inside it: reading below the lowest index would fault.
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* mapping = mmap(nullptr, page * 2, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(MAP_FAILED, mapping);
    auto* guard = static_cast<std::uint8_t*>(mapping);
    ASSERT_EQ(0, mprotect(guard, page, PROT_NONE));
    const ColorVertex small[4] = {
        {-0.5f, -0.5f, 0, kRed}, {7.5f, -0.5f, 0, kRed}, {7.5f, 7.5f, 0, kRed}, {-0.5f, 7.5f, 0, kRed}};
    std::memcpy(guard + page, small, sizeof(small));
    const auto* array = reinterpret_cast<const ColorVertex*>(guard + page - 2 * sizeof(ColorVertex));
    const std::uint16_t shifted[6] = {2, 3, 4, 2, 4, 5};
    Prepare(kGrey);
    EXPECT_EQ(kOk, device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 2, 4, 2, shifted,
                                                  os::gfx::Format::Index16, array, sizeof(ColorVertex)));
    ExpectPixels({{0, 0, kRed}, {7, 7, kRed}, {8, 7, kGrey}});
    munmap(mapping, page * 2);
}

TEST_F(GfxTest, IndicesOutsideTheirVerticesAndAMissingPixelShaderAreRefused)
{
    const ColorVertex quad[4] = {
        {39.5f, -0.5f, 0, kGreen}, {49.5f, -0.5f, 0, kGreen}, {49.5f, 9.5f, 0, kGreen}, {39.5f, 9.5f, 0, kGreen}};
    const std::uint16_t outside[3] = {0, 1, 7};
    EXPECT_EQ(kErrInvalidCall, device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 1, outside,
                                                              os::gfx::Format::Index16, quad, sizeof(ColorVertex)));
    ExpectOk({device->DrawPrimitiveUP(PrimitiveType::TriangleList, 0, quad, sizeof(ColorVertex)),
              device->SetPixelShader(nullptr)});
    EXPECT_EQ(V(device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, quad, sizeof(ColorVertex)),
                device->SetPixelShader(shaders.vertexShader)),
              V(kErrInvalidCall, kErrInvalidCall));
}

TEST_F(GfxTest, TheScissorRectangleCutsDrawsWhileEnabled)
{
    Prepare(kGrey);
    ExpectOk({device->SetScissorRect(os::gfx::Rect{4, 2, 8, 6}),
              device->SetRenderState(RenderState::ScissorTestEnable, value::True), DrawQuad(0, 0, 20, 20, kRed)});
    ExpectPixels({{3, 3, kGrey}, {4, 2, kRed}, {7, 5, kRed}, {8, 5, kGrey}, {7, 6, kGrey}});
}

// Extension directives must precede every declaration, the layer's own included.
TEST_F(GfxTest, AVertexShaderEnablingExtensionsCompilesAndPlacesPixelsFromTheTopLeft)
{
    std::string source = ScreenVertexShader(kWidth, kHeight);
    source.insert(source.find('\n') + 1,
                  "// the author's notes\n#extension GL_ARB_shading_language_420pack : enable\n\n"
                  "#extension GL_ARB_explicit_uniform_location : enable\n");
    std::shared_ptr<os::gfx::Shader> shader;
    ASSERT_EQ(kOk, device->CreateVertexShader(source.data(), source.size(), &shader)) << device->GetLastShaderLog();
    Prepare(kGrey);
    ExpectOk({device->SetRenderState(RenderState::ScissorTestEnable, value::False), device->SetVertexShader(shader),
              DrawQuad(2, 2, 6, 6, kRed)});
    ExpectPixels({{2, 2, kRed}, {5, 5, kRed}, {6, 6, kGrey}});
}

// The shader maps 64 x 48 pixels to clip space, and a 32 x 24 viewport at (32, 24) halves it.
TEST_F(GfxTest, TheViewportMustLieInsideTheBackBufferAndPlacesDrawsFromItsTopLeft)
{
    for (const os::gfx::Viewport& outside :
         {os::gfx::Viewport{60, 0, 10, 10, 0.0f, 1.0f}, {0, 0, 0, 10, 0.0f, 1.0f}, {0, 0, 10, 10, 0.5f, 0.2f}})
        EXPECT_EQ(kErrInvalidCall, device->SetViewport(outside)) << outside.X << " " << outside.Width;
    Prepare(kGrey);
    ASSERT_EQ(kOk, device->SetViewport(os::gfx::Viewport{32, 24, 32, 24, 0.0f, 1.0f}));
    SetUpShaders(32, 24);
    ASSERT_EQ(kOk, DrawQuad(0, 0, 4, 2, kRed));
    ExpectPixels({{32, 24, kRed}, {35, 25, kRed}, {36, 25, kGrey}, {35, 26, kGrey}, {31, 24, kGrey}});
}

// The prelude flips y and remaps depth on a driver without clip control.
TEST_F(GfxTest, WithoutClipControlCullingCornersAndDepthFollowTheSameConventions)
{
    shaders = ColorShaders();
    device.reset();
    os::testing::SetWithoutClipControl(true);
    ASSERT_NO_FATAL_FAILURE(Recreate(parameters));
    ASSERT_FALSE(device->HasClipControl());
    SetUpShaders(kWidth, kHeight);
    ExpectOk({device->Clear(0, nullptr, kBoth, kGrey, 1.0f, 0),
              DrawTriangle({{0, 30, 0.5f, kRed}, {0, 0, 0.5f, kRed}, {30, 30, 0.5f, kRed}}),
              DrawTriangle({{63, 0, 0.5f, kBlue}, {33, 0, 0.5f, kBlue}, {63, 30, 0.5f, kBlue}}),
              device->SetRenderState(RenderState::CullMode, value::CullNone), DrawQuad(40, 40, 44, 44, kGreen, 0.7f),
              DrawQuad(42, 40, 46, 44, kWhite, 0.9f)}); // behind the green quad where they overlap
    // Clockwise drawn top rows first, counter-clockwise culled, exact corners, green in front of white.
    ExpectPixels({{2, 20, kRed}, {60, 5, kGrey}, {40, 40, kGreen}, {43, 43, kGreen}});
    ExpectPixels({{45, 43, kWhite}, {46, 43, kGrey}, {43, 44, kGrey}});
}

const char* const kPixelSource = R"(#version 420 core
uniform float Scalar = 2.0; uniform vec2 Pair; uniform vec4 Quad = vec4(1.0, 2.0, 3.0, 4.0); uniform ivec2 Counts;
uniform bool Flag; uniform mat4 Transform; uniform mat3 Small; uniform vec4 List[3];
struct Sun { vec3 dir; float power; }; uniform Sun Light;
uniform sampler2D First; uniform sampler2D Second; layout(binding = 5) uniform sampler2D Pinned;
layout(location = 0) out vec4 outColor;
void main()
{
    vec4 s = vec4(Scalar) + Pair.xyxy + Quad + vec4(Counts.xyxy) + (Flag ? vec4(1.0) : vec4(0.0));
    s += Transform * Quad + vec4(Small * Quad.xyz, 0.0) + List[0] + List[1] + List[2];
    outColor = s + vec4(Light.dir, Light.power) + texture(First, Pair) + texture(Second, Pair) + texture(Pinned, Pair);
}
)";

/// The pixel stage above on the fixture's device, with its constant table.
class ConstantTableTest : public GfxTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(GfxTest::SetUp());
        ASSERT_EQ(kOk, device->CreatePixelShader(kPixelSource, std::strlen(kPixelSource), &pixel))
            << device->GetLastShaderLog();
        ASSERT_EQ(kOk, os::gfx::GetShaderConstantTable(pixel, &table));
    }

    void TearDown() override
    {
        table.reset();
        pixel.reset();
        GfxTest::TearDown();
    }

    ConstantHandle H(const char* name) const { return table->GetConstantByName(nullptr, name); }

    std::vector<float> Read(const char* name)
    {
        std::vector<float> values;
        EXPECT_EQ(kOk, table->ReadBack(device.get(), H(name), &values)) << name;
        return values;
    }

    std::shared_ptr<os::gfx::Shader> pixel;
    std::shared_ptr<ConstantTable> table;
};

TEST_F(ConstantTableTest, ListsEachConstantWithItsClassTypeRegistersAndSize)
{
    // Name, class, type, register set, rows, columns, elements, structure members and bytes.
    const std::tuple<const char*, ParameterClass, ParameterType, RegisterSet, int, int, int, int, int> cases[] = {
        {"Scalar", ParameterClass::Scalar, ParameterType::Float, RegisterSet::Float4, 1, 1, 1, 0, 4},
        {"Pair", ParameterClass::Vector, ParameterType::Float, RegisterSet::Float4, 1, 2, 1, 0, 8},
        {"Counts", ParameterClass::Vector, ParameterType::Int, RegisterSet::Int4, 1, 2, 1, 0, 8},
        {"Flag", ParameterClass::Scalar, ParameterType::Bool, RegisterSet::Bool, 1, 1, 1, 0, 4},
        {"Transform", ParameterClass::MatrixColumns, ParameterType::Float, RegisterSet::Float4, 4, 4, 1, 0, 64},
        {"Small", ParameterClass::MatrixColumns, ParameterType::Float, RegisterSet::Float4, 3, 3, 1, 0, 36},
        {"List", ParameterClass::Vector, ParameterType::Float, RegisterSet::Float4, 1, 4, 3, 0, 48},
        {"Light", ParameterClass::Struct, ParameterType::Void, RegisterSet::Float4, 1, 1, 1, 2, 16},
        {"First", ParameterClass::Object, ParameterType::Sampler2D, RegisterSet::Sampler, 1, 1, 1, 0, 4}};
    os::gfx::ConstantTableDesc tableDesc;
    ASSERT_EQ(kOk, table->GetDesc(&tableDesc));
    EXPECT_EQ(V(tableDesc.Constants, tableDesc.Version), V(12, 0xFFFF0300u));
    for (const auto& [name, cls, type, set, rows, columns, elements, members, bytes] : cases) {
        SCOPED_TRACE(name);
        os::gfx::ConstantDesc desc;
        std::uint32_t count = 1;
        ASSERT_EQ(kOk, table->GetConstantDesc(H(name), &desc, &count));
        EXPECT_EQ(name, desc.Name);
        EXPECT_EQ(V(count, desc.Class, desc.Type, desc.RegisterSet, desc.Rows, desc.Columns, desc.Elements,
                    desc.StructMembers, desc.Bytes),
                  V(1, cls, type, set, rows, columns, elements, members, bytes));
    }
    // Members of a structure are reached through it; list elements are not constants.
    EXPECT_NE(nullptr, table->GetConstantByName(H("Light"), "power"));
    EXPECT_FALSE(H("List[1]") || H("Light.dir") || table->GetConstant(nullptr, tableDesc.Constants));
}

TEST_F(ConstantTableTest, AVertexStageHidesTheLayersOwnUniform)
{
    std::shared_ptr<ConstantTable> vertexTable;
    os::gfx::ConstantTableDesc tableDesc;
    ASSERT_EQ(kOk, os::gfx::GetShaderConstantTable(shaders.vertexShader, &vertexTable));
    ASSERT_EQ(kOk, vertexTable->GetDesc(&tableDesc));
    EXPECT_EQ(V(tableDesc.Constants, tableDesc.Version), V(0, 0xFFFE0300u));
}

// The unset samplers take the lowest free units; a bound one keeps its unit.
TEST_F(ConstantTableTest, SamplersReadUnitsOfTheirOwnAndTakeNoValues)
{
    const std::uint32_t first = table->GetSamplerIndex(H("First"));
    const std::uint32_t second = table->GetSamplerIndex(H("Second"));
    EXPECT_EQ(V(std::min(first, second), std::max(first, second), table->GetSamplerIndex(H("Pinned")),
                table->GetSamplerIndex(H("Quad")), table->GetSamplerIndex(nullptr)),
              V(0, 1, 5, 0xFFFFFFFFu, 0xFFFFFFFFu));
    const std::int32_t word = 3;
    EXPECT_EQ(V(table->SetFloat(device.get(), H("First"), 3.0f), table->SetInt(device.get(), H("First"), 3),
                table->SetValue(device.get(), H("First"), &word, 4)),
              V(kErrInvalidCall, kErrInvalidCall, kErrInvalidCall));
    EXPECT_EQ(std::vector<float>{static_cast<float>(first)}, Read("First"));
}

TEST_F(ConstantTableTest, AskingAgainGivesTheSameTable)
{
    std::shared_ptr<ConstantTable> again;
    ASSERT_EQ(kOk, os::gfx::GetShaderConstantTable(pixel, &again));
    EXPECT_EQ(table, again);
}

TEST_F(ConstantTableTest, SettersConvertToTheDeclaredTypeAndStayWithinTheConstant)
{
    os::gfx::Matrix m;
    std::iota(std::begin(m.m), std::end(m.m), 1.0f);
    const os::gfx::Vector4 vectors[2] = {{5, 6, 7, 8}, {9, 10, 11, 12}};
    const float counts[] = {1.9f, -2.5f};
    const float sun[] = {1, 2, 3, 4};
    auto exactlyFour = std::make_unique<float[]>(4); // a longer claimed count must not read past these
    std::iota(exactlyFour.get(), exactlyFour.get() + 4, 10.0f);
    os::gfx::Device* d = device.get();
    const auto expect = [&](const char* what, const char* name, os::gfx::Result result, std::vector<float> values) {
        ASSERT_EQ(kOk, result) << what;
        EXPECT_EQ(values, Read(name)) << what;
    };
    expect("a float sets x only", "Quad", table->SetFloat(d, H("Quad"), 9), {9, 2, 3, 4});
    expect("a vector fills a vec2 with x, y", "Pair", table->SetVector(d, H("Pair"), &vectors[0]), {5, 6});
    expect("a vector into a float", "Scalar", table->SetVector(d, H("Scalar"), &vectors[1]), {9});
    expect("floats into integers truncate", "Counts", table->SetFloatArray(d, H("Counts"), counts, 2), {1, -2});
    expect("any non-zero is true", "Flag", table->SetBool(d, H("Flag"), 7), {1});
    expect("vectors into an array", "List", table->SetVectorArray(d, H("List"), vectors, 2),
           {5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0, 0});
    expect("a claimed count beyond the constant", "Quad", table->SetFloatArray(d, H("Quad"), exactlyFour.get(), 1000),
           {10, 11, 12, 13});
    expect("raw words, fewer than the constant", "Quad", table->SetValue(d, H("Quad"), sun, 8), {1, 2, 12, 13});
    expect("a structure member after member", "Light", table->SetValue(d, H("Light"), sun, 16), {1, 2, 3, 4});
    // Rows of the engine's matrix become GLSL columns (GLSL's M * v is the engine's v x M).
    expect("a matrix as it is", "Transform", table->SetMatrix(d, H("Transform"), &m),
           {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    expect("a matrix transposed", "Transform", table->SetMatrixTranspose(d, H("Transform"), &m),
           {1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16});
    expect("the upper-left part into a mat3", "Small", table->SetMatrix(d, H("Small"), &m),
           {1, 2, 3, 5, 6, 7, 9, 10, 11});
}

// Uninitialised constants read zero.
TEST_F(ConstantTableTest, DefaultsAreTheGlslInitialisers)
{
    os::gfx::Device* d = device.get();
    const os::gfx::Vector4 vector{5, 6, 7, 8};
    ASSERT_EQ((Results{table->SetFloat(d, H("Quad"), 9), table->SetFloat(d, H("Scalar"), 9),
                       table->SetVector(d, H("Pair"), &vector)}),
              Results(3, kOk));
    ASSERT_EQ(kOk, table->SetDefaults(d));
    EXPECT_EQ((std::vector<std::vector<float>>{Read("Quad"), Read("Scalar"), Read("Pair")}),
              (std::vector<std::vector<float>>{{1, 2, 3, 4}, {2}, {0, 0}}));
}

TEST_F(ConstantTableTest, NullAndForeignHandlesAndOtherThreadsAreRefused)
{
    std::shared_ptr<os::gfx::Shader> other;
    ASSERT_EQ(kOk, device->CreatePixelShader(kPixelSource, std::strlen(kPixelSource), &other));
    std::shared_ptr<ConstantTable> otherTable;
    ASSERT_EQ(kOk, os::gfx::GetShaderConstantTable(other, &otherTable));
    const ConstantHandle foreign = otherTable->GetConstantByName(nullptr, "Quad");
    ASSERT_NE(nullptr, foreign);

    std::uint32_t count = 1;
    os::gfx::ConstantDesc desc;
    EXPECT_EQ(V(table->SetFloat(device.get(), foreign, 1), table->SetFloat(device.get(), nullptr, 1),
                table->SetFloat(nullptr, H("Quad"), 1), table->SetMatrix(device.get(), H("Light"), nullptr),
                table->GetConstantDesc(foreign, &desc, &count)),
              V(kErrInvalidCall, kErrInvalidCall, kErrInvalidCall, kErrInvalidCall, kErrInvalidCall));
    os::gfx::Result fromThread = kOk;
    std::thread([&] { fromThread = table->SetFloat(device.get(), H("Quad"), 1); }).join();
    EXPECT_EQ(kErrInvalidCall, fromThread);
    EXPECT_EQ((std::vector<float>{1, 2, 3, 4}), Read("Quad"));
}

// Losses, resets, refused modes and cross-thread releases follow the device's state machine.
TEST_F(GfxTest, ALostDeviceTakesAResetOnlyOnceResettableAndIgnoresDrawsAndClearsMeanwhile)
{
    os::testing::InjectDeviceLoss(2);
    os::testing::FailNextReset(1); // kept for the first reset the device can take
    // The first reset comes before the loss is resettable.
    EXPECT_EQ(
        (Results{device->Present(), device->TestCooperativeLevel(), device->Reset(&parameters),
                 device->TestCooperativeLevel(), device->TestCooperativeLevel(), device->Present(),
                 device->TestCooperativeLevel(),
                 device->Clear(0, nullptr, os::gfx::clear::Target, 0xFFFF0000u, 1.0f, 0),
                 DrawQuad(0, 0, 4, 4, 0xFFFF0000u), device->Reset(&parameters), device->TestCooperativeLevel(),
                 device->Reset(&parameters), device->TestCooperativeLevel(), device->Present()}),
        (Results{kErrDeviceLost, kErrDeviceLost, kErrDeviceLost, kErrDeviceLost, kErrDeviceNotReset, kErrDeviceLost,
                 kErrDeviceNotReset, kOk, kOk, kErrInvalidCall, kErrDeviceNotReset, kOk, kOk, kOk}));
    EXPECT_EQ(3, os::testing::GetResetCallCount()) << "refused and failed resets count too";
}

// Shader model 3 shows in the graphics object's start-up log; each overridden version shows in the caps.
TEST_F(GfxTest, CapabilitiesOfferAnyTextureSizeAndShowOverriddenShaderVersions)
{
    os::gfx::Caps caps;
    ASSERT_EQ(kOk, device->GetDeviceCaps(&caps));
    EXPECT_EQ(V(caps.TextureCaps & os::gfx::texturecaps::Pow2, caps.MaxTextureWidth >= 2048u), V(0, true));
    os::testing::OverrideShaderVersions(os::gfx::VertexShaderVersion(2, 0), os::gfx::PixelShaderVersion(2, 1));
    ASSERT_EQ(kOk, device->GetDeviceCaps(&caps));
    EXPECT_EQ(V(caps.VertexShaderVersion, caps.PixelShaderVersion), V(0xFFFE0200u, 0xFFFF0201u));
    os::testing::OverrideShaderVersions(0, 0);
}

TEST_F(GfxTest, AResetRestoresTheDefaultStatesResizesAndEndsTheScene)
{
    ASSERT_EQ((Results{device->SetRenderState(RenderState::CullMode, value::CullNone),
                       device->SetSamplerState(0, SamplerState::MagFilter, value::FilterLinear), device->BeginScene()}),
              Results(3, kOk));
    parameters.BackBufferWidth = 40;
    parameters.BackBufferHeight = 30;
    ASSERT_EQ(kOk, device->Reset(&parameters));
    std::uint32_t cull = 0, filter = 0;
    os::gfx::Viewport viewport;
    ASSERT_EQ(V(device->GetRenderState(RenderState::CullMode, &cull),
                device->GetSamplerState(0, SamplerState::MagFilter, &filter), device->GetViewport(&viewport)),
              V(kOk, kOk, kOk));
    EXPECT_EQ(V(cull, filter, viewport.Width, viewport.Height), V(value::CullCCW, value::FilterPoint, 40, 30));
    EXPECT_FALSE(device->GetVertexShader() || device->GetVertexDeclaration());
    ASSERT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF00FF00u, 1.0f, 0));
    const auto pixels = ReadBack();
    EXPECT_EQ(V(width, height, pixels.back()), V(40, 30, 0xFF00FF00u));
    // The reset ended the scene; brackets must pair.
    EXPECT_EQ((Results{device->BeginScene(), device->EndScene(), device->EndScene(), device->BeginScene(),
                       device->BeginScene(), device->EndScene()}),
              (Results{kOk, kOk, kErrInvalidCall, kOk, kErrInvalidCall, kOk}));
}

TEST_F(GfxTest, AResetDeviceRefusesCallsFromOtherThreads)
{
    ASSERT_EQ(kOk, device->Reset(&parameters));
    os::gfx::Result result = kOk;
    std::thread([&] { result = device->Clear(0, nullptr, os::gfx::clear::Target, 0, 1.0f, 0); }).join();
    EXPECT_EQ(kErrInvalidCall, result);
}

TEST_F(GfxTest, DevicesMadeAfterALossAreNotLost)
{
    os::testing::InjectDeviceLoss(0);
    os::gfx::PresentParameters p = WindowedParameters(16, 16, window.get());
    ASSERT_NO_FATAL_FAILURE(Recreate(p));
    EXPECT_EQ(kOk, device->TestCooperativeLevel());
}

/// The fixture's parameters, full screen.
os::gfx::PresentParameters FullScreen(os::gfx::PresentParameters full)
{
    full.Windowed = false;
    full.BackBufferFormat = os::gfx::Format::X8R8G8B8;
    return full;
}

// The display refusing a mode is reported with SDL's words and treated as a failed reset.
TEST_F(GfxTest, ARefusedFullScreenModeFailsTheResetInSdlsWords)
{
    os::gfx::PresentParameters full = FullScreen(parameters);
    os::testing::FailNextWindowModeChange(1);
    EXPECT_EQ(os::gfx::kErrNotAvailable, device->Reset(&full));
    EXPECT_NE(std::string::npos, os::system::GetLastErrorText().find("SDL_SetWindowDisplayMode: "));
    EXPECT_EQ((Results{device->TestCooperativeLevel(), device->Present(), device->Reset(&full)}),
              (Results{kErrDeviceNotReset, kErrDeviceLost, kOk}));
}

TEST_F(GfxTest, ARefusedReturnFromFullScreenFailsTheResetInSdlsWords)
{
    os::gfx::PresentParameters full = FullScreen(parameters);
    ASSERT_EQ(kOk, device->Reset(&full));
    os::testing::FailNextWindowModeChange(1);
    EXPECT_EQ(os::gfx::kErrNotAvailable, device->Reset(&parameters));
    EXPECT_NE(std::string::npos, os::system::GetLastErrorText().find("SDL_SetWindowFullscreen: "));
    EXPECT_EQ((Results{device->TestCooperativeLevel(), device->Reset(&parameters), device->Present()}),
              (Results{kErrDeviceNotReset, kOk, kOk}));
}

// GL objects released on another thread wait for the device's thread, and are dropped once the
// device (and its context) is gone instead of touching a dead context.
TEST_F(GfxTest, ReleasesFromOtherThreadsWaitForTheDeviceAndAreDroppedOnceItIsGone)
{
    const std::shared_ptr<os::gfx::ContextLink> link = device->GetContextLink();
    int ran = 0;
    std::thread([&] { link->Release([&] { ++ran; }); }).join();
    EXPECT_EQ(0, ran);
    ASSERT_EQ(kOk, device->Present());
    EXPECT_EQ(1, ran);
    auto shader = shaders.vertexShader;
    shaders = ColorShaders();
    device.reset();
    EXPECT_FALSE(link->IsAlive());
    std::thread([&] {
        shader.reset();
        link->Release([&] { ++ran; });
    }).join();
    EXPECT_EQ(1, ran);
}

TEST_F(GfxTest, ARefusedFullScreenModeFailsACreation)
{
    os::gfx::PresentParameters full = FullScreen(parameters);
    shaders = ColorShaders();
    device.reset();
    os::testing::FailNextWindowModeChange(1);
    EXPECT_EQ(os::gfx::kErrNotAvailable,
              direct3D->CreateDevice(0, os::gfx::DeviceType::Hal, window.get(),
                                     os::gfx::create::HardwareVertexProcessing, &full, &device));
    EXPECT_EQ(nullptr, device);
}

} // namespace
} // namespace gfxtest
