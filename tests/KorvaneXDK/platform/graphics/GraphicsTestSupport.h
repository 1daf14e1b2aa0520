/** @file GraphicsTestSupport.h The one driver with a device on its hidden window, files packed into an archive by the
 * project's tool, a loader that records what is opened, shader sources, hand-made glyph tables and draw helpers. */
#pragma once

#include <filesystem>

#include <gmock/gmock.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/PixelShader.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"
#include "KorvaneXDK/platform/graphics/VertexShader.h"
#include "os/gfx/Math.h"
#include "os/gfx/TestImageWriter.h"
#include "os/gfx/Testing.h"
#include "os/gfx/TextureDraw.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "tools/fontbuild/FontBuilder.h"
#include "tools/kvatool/Packer.h"

namespace graphicstest
{

using Names = std::vector<std::string>;
using Floats = std::vector<float>;
using korvane::test::LogCapture;

/// Wraps a real loader: records the names opened and purged in order and the most loads in flight
/// at once (from an open to the purge of the same name); read them once no loader thread runs. With a
/// gate, the first `gate` opens wait until that many loads run at once, which proves they overlap
/// without any sleeping. Opening the `failing` name throws a standard error, listing it as a folder
/// the engine's read error.
class CountingLoader : public korvane::IDataLoader
{
public:
    explicit CountingLoader(boost::shared_ptr<korvane::IDataLoader> inner, int gate = 0)
        : inner_(std::move(inner)), gate_(gate)
    {}

    korvane::IKorvaneStream* Open(const std::string& name) override { return Enter(name)->Open(name); }
    boost::shared_ptr<korvane::IKorvaneStream> OpenShared(const std::string& name) override
    {
        return Enter(name)->OpenShared(name);
    }
    bool Exists(const std::string& name) override { return inner_->Exists(name); }
    void EnumerateFiles(const std::string& dir, bool recursive, Names& out) override
    {
        if (!failing.empty() && dir == failing)
            throw korvane::EReadError(nullptr, "listing failed");
        inner_->EnumerateFiles(dir, recursive, out);
    }
    void Purge(const std::string& name) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        --active_;
        purged.push_back(name);
    }
    void Prefetch(const std::string& name) override { inner_->Prefetch(name); }
    int Opens(const std::string& name) const { return static_cast<int>(std::ranges::count(opened, name)); }

    Names opened, purged;
    std::string failing;
    int maxActive = 0;

private:
    /// Counts the open and gives the loader to open it with.
    korvane::IDataLoader* Enter(const std::string& name)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        opened.push_back(name);
        maxActive = std::max(maxActive, ++active_);
        // Once that many loads ran together the gate stays open, whoever finishes first.
        gateOpen_ = gateOpen_ || active_ >= gate_;
        changed_.notify_all();
        // The wait is bounded only so that a broken dispatcher fails the test instead of hanging it.
        if (static_cast<int>(opened.size()) <= gate_)
            changed_.wait_for(lock, std::chrono::seconds(20), [this] { return gateOpen_; });
        if (name == failing)
            throw std::runtime_error("the disk is on fire");
        return inner_.get();
    }

    boost::shared_ptr<korvane::IDataLoader> inner_;
    int gate_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int active_ = 0;
    bool gateOpen_ = false;
};

/// A file of the program's own data folder.
inline std::string ReadProjectData(const std::string& relative)
{
    return korvane::test::TempDir::Read(std::string(KORVANE_SOURCE_DIR) + "/data/" + relative);
}

inline std::string ToBytes(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

/// A 16 x 16 image of one opaque colour per index (0 to 8).
inline std::uint32_t ColourOf(int index)
{
    return 0xFF000000u + static_cast<std::uint32_t>(index) * 0x1D2B37u;
}

inline std::string ColourPng(int index)
{
    return gfxtest::WritePng(16, 16, PNG_COLOR_TYPE_RGB, 8,
                             [index](std::uint32_t, std::uint32_t) { return ColourOf(index); });
}

/// Declares every environment name in the vertex stage (each one used, so each is active),
/// "World" in both stages, "Tint" only in the pixel stage and "Mixed" as a sampler in the
/// vertex stage but a float in the pixel stage.
inline constexpr const char* kAllNamesVertexSource = R"(#version 410 core
uniform mat4 World, View, Projection, InverseWorld, InverseView, LightView, LightProjection;
uniform vec4 MaterialAmbient, MaterialDiffuse, MaterialEmissive, MaterialSpecular; uniform float MaterialPower;
uniform vec4 LightDirection, LightAmbient, LightDiffuse, LightSpecular, FogRange, FogColor, SpecialColor;
uniform float SceneTime; uniform vec4 ShadowTextureSize; uniform sampler2D Mixed;
layout(location = 0) in vec3 inPosition; layout(location = 4) in vec4 inColor; layout(location = 8) in vec2 inTexCoord;
layout(location = 0) out vec4 vColor; layout(location = 1) out vec2 vTexCoord; out gl_PerVertex { vec4 gl_Position; };
void main() {
    vec4 p = LightProjection * LightView * InverseView * InverseWorld * Projection * View * World * vec4(inPosition, 1.0);
    vec4 s = MaterialAmbient + MaterialDiffuse + MaterialEmissive + MaterialSpecular + vec4(MaterialPower);
    s += LightDirection + LightAmbient + LightDiffuse + LightSpecular + FogRange + FogColor + SpecialColor;
    s += vec4(SceneTime) + ShadowTextureSize + textureLod(Mixed, inTexCoord, 0.0);
    gl_Position = p + s * 1e-30; vColor = inColor; vTexCoord = inTexCoord; }
)";

inline constexpr const char* kAllNamesPixelSource = R"(#version 410 core
uniform mat4 World; uniform vec4 Tint = vec4(1.0); uniform float Mixed = 0.5; uniform sampler2D BaseTexture;
layout(location = 0) in vec4 vColor; layout(location = 1) in vec2 vTexCoord; layout(location = 0) out vec4 outColor;
void main() { outColor = texture(BaseTexture, vTexCoord) * vColor * Tint + (World[3] + vec4(Mixed)) * 1e-20; }
)";

/// A matrix as GLSL holds it after the engine set it as it is: the same sixteen floats.
inline Floats Stored(const korvane::Matrix4& m)
{
    return Floats(std::begin(m.m), std::end(m.m));
}

/// The bytes in a memory stream left at the given position.
inline korvane::CMemoryStream StreamOf(const std::string& bytes, std::int32_t position = 0)
{
    korvane::CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.Seek(position);
    return stream;
}

/// A glyph at (x, 0) of `advance` pixels width, 8 high.
inline fontbuild::GlyphRecord Cell(char32_t code, std::int16_t x, std::int16_t advance)
{
    return {static_cast<std::uint16_t>(code), x, 0, advance, 8, 0, 0, advance};
}

/// The table of these glyphs as the project's font builder writes it.
inline std::string Kvf(std::vector<fontbuild::GlyphRecord> glyphs, std::int32_t lineHeight = 0,
                       std::int32_t leftOffset = 0, std::int32_t topOffset = 0)
{
    return ToBytes(fontbuild::EncodeKvf({leftOffset, topOffset, lineHeight, std::move(glyphs), 0, 0, {}, {}}));
}

/// Loads a table from bytes the way Load reads it (no texture).
inline void LoadTableBytes(korvane::CTextureFont& font, const std::string& bytes, bool textFormat)
{
    korvane::CMemoryStream stream = StreamOf(bytes);
    font.LoadTable(stream, textFormat);
}

/// The driver with a Width x Height device on its hidden window. Files() given, they are packed with
/// the program's canvas pair into an archive by the project's archive tool, which becomes the
/// driver's data loader (counted) and the shader environment's.
template <std::uint32_t Width, std::uint32_t Height>
class DriverTest : public ::testing::Test
{
protected:
    static constexpr std::uint32_t kWidth = Width;
    static constexpr std::uint32_t kHeight = Height;

    /// Archive name -> contents; with none, no archive is made.
    virtual std::map<std::string, std::string> Files() { return {}; }

    void SetUp() override
    {
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        driver = korvane::GetApplicationDriver();
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kWidth, kHeight));
        device = driver->GetGraphics()->GetDevice();
        ASSERT_NE(nullptr, device);
        for (const auto& [name, bytes] : Files())
            AddFile(name, bytes);
        if (!std::filesystem::exists(dir.File("src")))
            return;
        for (const std::string name : {"shader/canvas.vs", "shader/canvas.ps"})
            AddFile(name, ReadProjectData(name));
        loader.reset(new CountingLoader(PackArchive()));
        driver->SetDataLoader(loader);
        driver->CreateShaderEnvironment();
        environment = driver->GetShaderEnvironment();
        ASSERT_NE(nullptr, environment);
    }

    void TearDown() override
    {
        draw.Release();
        os::testing::SetDrawRecording(false);
        os::testing::ClearRecordedDraws();
        korvane::DestroyApplicationDriver();
        os::testing::ResetGraphicsHooks();
    }

    void AddFile(const std::string& name, const std::string& bytes) { dir.Write("src/" + name, bytes); }

    /// Packs the files added so far with the project's archive tool and opens the archive.
    boost::shared_ptr<korvane::IDataLoader> PackArchive()
    {
        std::filesystem::create_directories(dir.File("out"));
        kvatool::PackFolder(dir.File("src"), dir.File("out/data.kva"), kvatool::PackOptions());
        return boost::shared_ptr<korvane::IDataLoader>(
            new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(dir.File("out/data.kva")));
    }

    std::vector<std::uint32_t> ReadPixels()
    {
        std::vector<std::uint32_t> pixels;
        EXPECT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
        return pixels;
    }

    /// The pixel at (x, y) after drawing stage 0's texture of the given surface size one texel per pixel.
    std::uint32_t DrawnPixel(std::uint32_t surfaceWidth, std::uint32_t surfaceHeight, std::uint32_t x, std::uint32_t y)
    {
        draw.SetUp(*device, kWidth, kHeight);
        EXPECT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF202020u, 1.0f, 0));
        EXPECT_EQ(os::gfx::kOk, gfxtest::TextureDraw::Draw(*device, surfaceWidth, surfaceHeight));
        return ReadPixels().at(static_cast<std::size_t>(y) * kWidth + x);
    }

    /// A constant's values as the program holds them (matrices column by column as GLSL stores them).
    Floats ReadBack(korvane::CShader& shader, const std::string& name)
    {
        os::gfx::ConstantTable* table = shader.GetConstantTable();
        Floats values;
        EXPECT_EQ(os::gfx::kOk, table->ReadBack(device, table->GetConstantByName(nullptr, name), &values)) << name;
        return values;
    }

    /// Screen pixels with (0, 0) at the top left, the canvas's half-pixel shift, blending over
    /// black and point sampling, so a white glyph leaves its coverage in every colour channel.
    void PrepareCanvas()
    {
        korvane::Matrix4 projection, world;
        os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kWidth, kHeight, 0, 0, 1);
        environment->SetProjectionMatrix(projection);
        pair = environment->GetShaderPair("shader\\canvas");
        pair->Begin();
        os::gfx::MatrixTranslation(&world, -0.5f, -0.5f, 0);
        pair->GetUniform("World")->SetMatrix(&world);
        namespace v = os::gfx::value;
        using os::gfx::RenderState;
        device->SetRenderState(RenderState::CullMode, v::CullNone);
        device->SetRenderState(RenderState::AlphaBlendEnable, v::True);
        device->SetRenderState(RenderState::SrcBlend, v::BlendSrcAlpha);
        device->SetRenderState(RenderState::DestBlend, v::BlendInvSrcAlpha);
        device->SetSamplerState(0, os::gfx::SamplerState::MinFilter, v::FilterPoint);
        device->SetSamplerState(0, os::gfx::SamplerState::MagFilter, v::FilterPoint);
        ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF000000u, 1.0f, 0));
    }

    korvane::test::TempDir dir;
    korvane::CGameApplicationDriverCX* driver = nullptr;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<CountingLoader> loader;
    korvane::CShaderEnvironment* environment = nullptr;
    boost::shared_ptr<korvane::CShaderPair> pair;
    gfxtest::TextureDraw draw;
};

/// The 64 x 48 device with an archive of shader pairs.
class ShaderTest : public DriverTest<64, 48>
{
protected:
    std::map<std::string, std::string> Files() override
    {
        std::map<std::string, std::string> files{
            {"test/broken.vs", "#version 410 core\nvoid main() { this is not GLSL }\n"},
            {"test/empty.vs", ""},
            {"fx/b.xpu", "unused"},
            {"fx/c.txt", "text"}};
        // For the folder precache: pairs by their pixel shader or ".xpu" entry, never by ".vs".
        for (const std::string name : {"test/all", "test/broken", "test/empty", "test/novs", "fx/a", "fx/b"})
            files[name + ".ps"] = kAllNamesPixelSource;
        for (const std::string name : {"test/all", "fx/a", "fx/b"})
            files[name + ".vs"] = kAllNamesVertexSource;
        return files;
    }
};

} // namespace graphicstest
