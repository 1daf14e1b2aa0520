/** @file FontTestSupport.h Hand-made glyph tables, fonts from the project's builder, and a device drawing through the
 * canvas pair with a pixel-exact orthographic projection. */
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DriverFixture.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/RIFFReader.h"
#include "KorvaneXDK/core/RIFFWriter.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "tools/fontbuild/FontBuilder.h"

namespace fonttest
{

inline std::string ToBytes(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

inline std::string StreamBytes(korvane::CMemoryStream& stream)
{
    const auto* data = reinterpret_cast<const char*>(stream.GetBuffer());
    return std::string(data, data + stream.GetSize());
}

/// A KVF file with every part open to damage.
struct KvfTable
{
    struct Record
    {
        std::uint16_t code;
        std::int16_t x, y, width, height, offsetX, offsetY, advance;
    };

    std::string formType = "KVFT";
    std::vector<std::string> headKeys{"Revision", "LeftOffset", "TopOffset", "LineHeight"};
    std::int32_t headRevision = 256;
    std::int32_t leftOffset = 0, topOffset = 0, lineHeight = 0;
    std::vector<std::string> glptKeys{"Revision", "Count", "Data"};
    std::int32_t glptRevision = 256;
    std::int32_t count = -1; ///< -1: the number of records
    std::vector<Record> records;
    std::size_t headBytesKept = SIZE_MAX; ///< cuts the "head" chunk short
    bool withGlpt = true;

    std::string Bytes() const
    {
        korvane::CMemoryStream head;
        head.WriteString(headKeys[0]);
        head.WriteInt32(headRevision);
        head.WriteString(headKeys[1]);
        head.WriteInt32(leftOffset);
        head.WriteString(headKeys[2]);
        head.WriteInt32(topOffset);
        head.WriteString(headKeys[3]);
        head.WriteInt32(lineHeight);
        std::string headBytes = StreamBytes(head);
        headBytes.resize(std::min(headBytes.size(), headBytesKept));

        korvane::CMemoryStream glpt;
        glpt.WriteString(glptKeys[0]);
        glpt.WriteInt32(glptRevision);
        glpt.WriteString(glptKeys[1]);
        glpt.WriteInt32(count >= 0 ? count : static_cast<std::int32_t>(records.size()));
        glpt.WriteString(glptKeys[2]);
        for (const Record& r : records) {
            glpt.WriteUInt16(r.code);
            for (std::int16_t v : {r.x, r.y, r.width, r.height, r.offsetX, r.offsetY, r.advance}) {
                glpt.WriteInt16(v);
            }
        }

        korvane::CRIFFWriter writer;
        writer.SetFormType(korvane::MakeFourCC(formType[0], formType[1], formType[2], formType[3]));
        writer.AddChunk(korvane::MakeFourCC("head"), headBytes.data(), static_cast<std::uint32_t>(headBytes.size()));
        if (withGlpt) {
            writer.AddChunk(korvane::MakeFourCC("glpt"), glpt);
        }
        korvane::CMemoryStream file;
        writer.WriteTo(file);
        return StreamBytes(file);
    }
};

/// A glyph at (x, 0) of `advance` pixels width, 8 high.
inline KvfTable::Record Cell(char32_t code, std::int16_t x, std::int16_t advance)
{
    return KvfTable::Record{static_cast<std::uint16_t>(code), x, 0, advance, 8, 0, 0, advance};
}

/// Loads a table from bytes the way Load reads it (no texture).
inline void LoadTableBytes(korvane::CTextureFont& font, const std::string& bytes, bool textFormat)
{
    korvane::CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.Seek(0);
    font.LoadTable(stream, textFormat);
}

/// A font of the system's Debian fonts rendered by the project's builder.
inline fontbuild::BuiltFont BuildTestFont(const std::u32string& characters, std::uint32_t pixelSize = 20)
{
    fontbuild::FontSpec spec;
    spec.fontFiles = {fontbuild::FindFontFile("DejaVuSans.ttf"), fontbuild::FindFontFile("ipagp.ttf")};
    spec.pixelSize = pixelSize;
    spec.required.insert(characters.begin(), characters.end());
    return fontbuild::BuildFont(spec);
}

/// The driver with a 256 x 64 device, a data loader over an archive packed from Files(), the
/// shader environment and the canvas pair ready to draw text in screen pixels as the canvas does
/// (half a pixel up and left).
class FontTest : public graphicstest::DriverTest<256, 64>
{
protected:
    /// Archive name (slashes) -> contents; the canvas pair is added.
    virtual std::map<std::string, std::string> Files() { return {}; }

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DriverTest::SetUp());
        std::map<std::string, std::string> files = Files();
        files["shader/canvas.vs"] = graphicstest::ReadProjectData("shader/canvas.vs");
        files["shader/canvas.ps"] = graphicstest::ReadProjectData("shader/canvas.ps");
        for (const auto& [name, bytes] : files) {
            AddFile(name, bytes);
        }
        loader = PackArchive();
        driver->SetDataLoader(loader);
        driver->CreateShaderEnvironment();
        environment = driver->GetShaderEnvironment();
        ASSERT_NE(nullptr, environment);
    }

    /// Screen pixels with (0, 0) at the top left, the canvas's half-pixel shift, blending over
    /// black and point sampling, so a white glyph leaves its coverage in every colour channel.
    void PrepareCanvas()
    {
        korvane::Matrix4 projection;
        os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kWidth, kHeight, 0, 0, 1);
        environment->SetProjectionMatrix(projection);
        pair = environment->GetShaderPair("shader\\canvas");
        pair->Begin();
        korvane::Matrix4 world;
        os::gfx::MatrixTranslation(&world, -0.5f, -0.5f, 0);
        pair->GetUniform("World")->SetMatrix(&world);
        device->SetRenderState(os::gfx::RenderState::CullMode, os::gfx::value::CullNone);
        device->SetRenderState(os::gfx::RenderState::AlphaBlendEnable, os::gfx::value::True);
        device->SetRenderState(os::gfx::RenderState::SrcBlend, os::gfx::value::BlendSrcAlpha);
        device->SetRenderState(os::gfx::RenderState::DestBlend, os::gfx::value::BlendInvSrcAlpha);
        device->SetSamplerState(0, os::gfx::SamplerState::MinFilter, os::gfx::value::FilterPoint);
        device->SetSamplerState(0, os::gfx::SamplerState::MagFilter, os::gfx::value::FilterPoint);
        ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF000000u, 1.0f, 0));
    }

    /// Triangles per recorded draw while `draw` runs.
    template <typename Draw>
    std::vector<std::uint32_t> RecordTriangles(Draw draw)
    {
        os::testing::ClearRecordedDraws();
        os::testing::SetDrawRecording(true);
        draw();
        os::testing::SetDrawRecording(false);
        std::vector<std::uint32_t> triangles;
        for (const os::testing::DrawRecord& record : os::testing::GetRecordedDraws()) {
            EXPECT_EQ(os::gfx::PrimitiveType::TriangleList, record.type);
            EXPECT_EQ(28u, record.stride);
            EXPECT_NE(0u, record.textures[0]);
            triangles.push_back(record.primitiveCount);
        }
        return triangles;
    }

    korvane::CShaderEnvironment* environment = nullptr;
    boost::shared_ptr<korvane::IDataLoader> loader;
    boost::shared_ptr<korvane::CShaderPair> pair;
};

} // namespace fonttest
