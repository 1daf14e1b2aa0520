/** @file ShaderPairCacheTest.cpp The pair cache: first name wins, folder precache, failed loads and Clear. */
#include "KorvaneXDK/platform/graphics/ShaderPairCache.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "ShaderTestSupport.h"
#include "support/LogCapture.h"

namespace shadertest
{
namespace
{

using korvane::CShaderPairCache;
using Names = std::vector<std::string>;

TEST_F(ShaderTest, TheFirstNameOfAKeyWinsAndLoadsOnce)
{
    CShaderPairCache& cache = environment->GetShaderPairCache();
    auto first = environment->GetShaderPair("Shader\\Canvas");
    auto second = environment->GetShaderPair("shader\\canvas.ps");
    EXPECT_EQ(first, second);
    EXPECT_EQ("Shader\\Canvas", second->GetName());
    EXPECT_EQ((Names{"Shader\\Canvas.vs", "Shader\\Canvas.ps"}), loader->opened);
    EXPECT_EQ(1u, cache.GetCount());

    // A failed load stores no key, and the next request tries again.
    EXPECT_THROW(cache.GetOrLoad(loader.get(), "test\\novs"), korvane::EFileOpenError);
    EXPECT_EQ(1u, cache.GetCount());
    loader->opened.clear();
    EXPECT_THROW(cache.GetOrLoad(loader.get(), "test\\novs"), korvane::EFileOpenError);
    EXPECT_EQ(Names{"test\\novs.vs"}, loader->opened);

    // Clear forgets every pair (the one still held lives on); the next request loads again.
    environment->ClearShaderPairs();
    EXPECT_EQ(0u, cache.GetCount());
    loader->opened.clear();
    auto reloaded = environment->GetShaderPair("shader\\canvas");
    EXPECT_NE(first, reloaded);
    EXPECT_EQ(2u, loader->opened.size());
    EXPECT_TRUE(first->IsLoaded());

    // Through the driver's data loader too.
    EXPECT_EQ(reloaded, cache.GetWithDriverLoader("SHADER\\CANVAS.vs"));
}

TEST_F(ShaderTest, AFolderPrecacheLoadsThePairOfEveryPixelShaderOrXpuEntry)
{
    // The archive lists lower-cased names in order: a.ps, a.vs, b.ps, b.vs, b.xpu, c.txt.
    loader->opened.clear();
    korvane::test::LogCapture log;
    environment->PrecacheShaderPairsFrom(loader.get(), "fx", false);
    EXPECT_EQ((Names{"fx\\a.vs", "fx\\a.ps", "fx\\b.vs", "fx\\b.ps"}), loader->opened);
    EXPECT_EQ(2u, environment->GetShaderPairCache().GetCount());
    const Names lines = log.Lines();
    Names precacheLines;
    for (const std::string& line : lines) {
        if (line.find("precach") != std::string::npos || line.find("--------") != std::string::npos) {
            precacheLines.push_back(line);
        }
    }
    ASSERT_GE(precacheLines.size(), 5u) << log.All();
    EXPECT_NE(std::string::npos, precacheLines[0].find("--- precaching ShaderPair from directory ---"));
    EXPECT_NE(std::string::npos, precacheLines[1].find("precache: fx\\a"));
    EXPECT_NE(std::string::npos, precacheLines[2].find("precache: fx\\b"));
    EXPECT_NE(std::string::npos, precacheLines[3].find("precache: fx\\b")); // b.xpu: already cached
    EXPECT_NE(std::string::npos, precacheLines[4].find("--------"));
    EXPECT_TRUE(log.Contains("CSimpleProfiler: 'precaching ShaderPair'")) << log.All();

    // The extension counts in any case ("E.PS"); ".vs" never does.
    korvane::test::TempDir plain;
    plain.Write("E.PS", "unused");
    plain.Write("E.ps", AllNamesPixelSource());
    plain.Write("E.vs", AllNamesVertexSource());
    CountingLoader files2(boost::shared_ptr<korvane::IDataLoader>(new korvane::CFileSystemDataLoader(plain.Path())));
    environment->ClearShaderPairs();
    environment->PrecacheShaderPairsFrom(&files2, "", false);
    EXPECT_EQ((Names{"E.vs", "E.ps"}), files2.opened);
    EXPECT_EQ(1u, environment->GetShaderPairCache().GetCount());
}

} // namespace
} // namespace shadertest
