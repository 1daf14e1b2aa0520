/** @file bench_font_draw.cpp Lines of 80 Latin or Japanese characters drawn by a texture font through the real device
 * at 640 x 448, against drawing the same vertices prebuilt. */
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"
#include "KorvaneXDK/platform/graphics/VertexDeclaration.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "support/TempDir.h"
#include "tools/fontbuild/FontBuilder.h"
#include "tools/kvatool/Packer.h"

namespace
{

constexpr std::uint32_t kWidth = 640;
constexpr std::uint32_t kHeight = 448;
constexpr int kLines = 14;
constexpr std::size_t kLineLength = 80;

struct Vertex
{
    float x, y, z;
    std::uint32_t color0, color1;
    float u, v;
};

/// `pattern` repeated to 80 characters.
std::u32string Line(const std::u32string& pattern)
{
    std::u32string line;
    while (line.size() < kLineLength) {
        line += pattern;
    }
    line.resize(kLineLength);
    return line;
}

const std::u32string kLatin = Line(U"The quick brown fox jumps over the lazy dog; 0123456789 (SOUND SETTINGS) ");
const std::u32string kJapanese =
    Line(U"設定を確認してください。ひらがなとカタカナ、選択された条件でスコアを表示します。");

std::string ToUtf8(const std::u32string& text)
{
    return korvane::WideToMultiByte(std::wstring(text.begin(), text.end()));
}

struct Scene
{
    korvane::test::TempDir dir;
    os::gfx::Device* device = nullptr;
    korvane::CShaderEnvironment* environment = nullptr;
    boost::shared_ptr<korvane::CShaderPair> pair;
    korvane::CTextureFont font;
    std::string latin = ToUtf8(kLatin);
    std::string japanese = ToUtf8(kJapanese);
    std::vector<Vertex> latinVertices;
    std::vector<Vertex> japaneseVertices;

    bool Create(std::string& error)
    {
        std::string root = KORVANE_SOURCE_DIR "/";
        dir.Write("src/shader/canvas.vs", korvane::test::TempDir::Read(root + "data/shader/canvas.vs"));
        dir.Write("src/shader/canvas.ps", korvane::test::TempDir::Read(root + "data/shader/canvas.ps"));
        fontbuild::FontSpec spec;
        spec.fontFiles = {fontbuild::FindFontFile("DejaVuSans.ttf"), fontbuild::FindFontFile("ipagp.ttf")};
        spec.pixelSize = 24;
        spec.characters.insert(kLatin.begin(), kLatin.end());
        spec.characters.insert(kJapanese.begin(), kJapanese.end());
        korvane::bench::WriteBenchFont(dir, spec);
        korvane::CGameApplicationDriverCX* driver = korvane::bench::StartOnArchive(dir, kWidth, kHeight, error);
        if (driver == nullptr) {
            return false;
        }
        boost::shared_ptr<korvane::IDataLoader> loader = driver->GetDataLoader();
        environment = driver->GetShaderEnvironment();
        device = driver->GetGraphics()->GetDevice();
        pair = environment->GetShaderPair("shader\\canvas");
        font.Load(loader.get(), "fonts\\Bench.kvf");

        korvane::Matrix4 projection;
        os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kWidth, kHeight, 0, 0, 1);
        environment->SetProjectionMatrix(projection);
        device->SetRenderState(os::gfx::RenderState::CullMode, os::gfx::value::CullNone);
        device->SetRenderState(os::gfx::RenderState::AlphaBlendEnable, os::gfx::value::True);
        device->SetRenderState(os::gfx::RenderState::SrcBlend, os::gfx::value::BlendSrcAlpha);
        device->SetRenderState(os::gfx::RenderState::DestBlend, os::gfx::value::BlendInvSrcAlpha);
        latinVertices = Prebuild(kLatin);
        japaneseVertices = Prebuild(kJapanese);
        return true;
    }

    /// The vertices the font makes for a line at the origin, made once from its glyph table.
    std::vector<Vertex> Prebuild(const std::u32string& text)
    {
        const float w = static_cast<float>(font.GetTexture()->GetWidth());
        const float h = static_cast<float>(font.GetTexture()->GetHeight());
        std::vector<Vertex> out;
        float pen = 0;
        for (char32_t code : text) {
            const korvane::CTextureFont::Glyph* g = font.FindGlyph(static_cast<std::uint16_t>(code));
            const float l = pen + g->OffsetX, t = static_cast<float>(g->OffsetY);
            const float r = l + g->Width, b = t + g->Height;
            const float uL = g->X / w, vT = g->Y / h, uR = g->Right / w, vB = g->Bottom / h;
            for (const Vertex& v : {Vertex{l, t, 0, 0xFFFFFFFFu, 0, uL, vT}, Vertex{r, t, 0, 0xFFFFFFFFu, 0, uR, vT},
                                    Vertex{l, b, 0, 0xFFFFFFFFu, 0, uL, vB}, Vertex{r, t, 0, 0xFFFFFFFFu, 0, uR, vT},
                                    Vertex{r, b, 0, 0xFFFFFFFFu, 0, uR, vB}, Vertex{l, b, 0, 0xFFFFFFFFu, 0, uL, vB}}) {
                out.push_back(v);
            }
            pen += g->Advance;
        }
        return out;
    }

    void BeginFrame()
    {
        device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        pair->Begin();
    }

    void EndFrame()
    {
        device->EndScene();
        device->Present();
    }

    void FontFrame(const std::string& text)
    {
        BeginFrame();
        for (int line = 0; line < kLines; ++line) {
            font.DrawText(text, 0, line * 32, 0xFFFFFFFFu);
        }
        EndFrame();
    }

    /// The same draws with the vertices ready: only the line's place changes, through "World".
    void PrebuiltFrame(const std::vector<Vertex>& vertices)
    {
        BeginFrame();
        const boost::shared_ptr<korvane::CShaderUniformPair> world = pair->GetUniform("World");
        for (int line = 0; line < kLines; ++line) {
            korvane::Matrix4 m;
            os::gfx::MatrixTranslation(&m, 0, static_cast<float>(line * 32), 0);
            world->SetMatrix(&m);
            font.GetTexture()->Bind();
            environment->GetDeclPositionColor2Tex()->Apply();
            device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleList,
                                    static_cast<std::uint32_t>(vertices.size() / 3), vertices.data(), sizeof(Vertex));
        }
        korvane::Matrix4 identity;
        os::gfx::MatrixIdentity(&identity);
        world->SetMatrix(&identity);
        EndFrame();
    }
};

std::unique_ptr<Scene> scene;

Scene* TheScene(std::string& error)
{
    return korvane::bench::MakeSceneOnce(scene, error);
}

template <typename Frame>
void RunFrames(benchmark::State& state, Frame frame)
{
    std::string error;
    Scene* s = TheScene(error);
    if (s == nullptr) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (int i = 0; i < 10; ++i) {
        frame(*s); // warm up the driver's caches
    }
    for (auto _ : state) {
        frame(*s);
    }
    std::vector<std::uint32_t> pixels;
    s->device->ReadBackBuffer(&pixels, nullptr, nullptr);
    state.SetItemsProcessed(state.iterations() * kLines * static_cast<std::int64_t>(kLineLength));
}

/// Glyphs per second: 14 lines of 80 Latin characters per frame through DrawText.
void BM_FontDrawLatin(benchmark::State& state)
{
    RunFrames(state, [](Scene& s) { s.FontFrame(s.latin); });
}
BENCHMARK(BM_FontDrawLatin)->Unit(benchmark::kMicrosecond);

void BM_PrebuiltDrawLatin(benchmark::State& state)
{
    RunFrames(state, [](Scene& s) { s.PrebuiltFrame(s.latinVertices); });
}
BENCHMARK(BM_PrebuiltDrawLatin)->Unit(benchmark::kMicrosecond);

/// The same with 80 kana and kanji per line.
void BM_FontDrawJapanese(benchmark::State& state)
{
    RunFrames(state, [](Scene& s) { s.FontFrame(s.japanese); });
}
BENCHMARK(BM_FontDrawJapanese)->Unit(benchmark::kMicrosecond);

void BM_PrebuiltDrawJapanese(benchmark::State& state)
{
    RunFrames(state, [](Scene& s) { s.PrebuiltFrame(s.japaneseVertices); });
}
BENCHMARK(BM_PrebuiltDrawJapanese)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    const int result = korvane::bench::RunBenchmarks(argc, argv);
    if (result != 0) {
        return result;
    }
    scene.reset();
    korvane::DestroyApplicationDriver();
    return 0;
}
