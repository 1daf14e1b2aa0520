/** @file FontStockTest.cpp The font registry: case, aliases, folder loading and release. */
#include "CanvasTestSupport.h"
#include "KorvaneXDK/core/Exception.h"
#include "support/LogCapture.h"
#include "support/MemoryDataLoader.h"

namespace canvastest
{
namespace
{

using korvane::test::LogCapture;
using korvane::test::MemoryDataLoader;

class FontStockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CFontStock::ReleaseInstance();
        stock = CFontStock::GetInstance();
        stock->SetFontFactory([this](korvane::IDataLoader*, const std::string& path) {
            if (path.find("broken") != std::string::npos) {
                throw korvane::EInvalidFileFormat(nullptr, "Invalid font file: " + path);
            }
            boost::shared_ptr<FakeFont> font(new FakeFont());
            font->path = path;
            made.push_back(font);
            return boost::shared_ptr<korvane::IFont>(font);
        });
    }
    void TearDown() override { CFontStock::ReleaseInstance(); }

    std::string PathOf(const std::string& name) { return static_cast<FakeFont&>(*stock->Get(name)).path; }

    static std::string NotFound(const std::function<void()>& call)
    {
        try {
            call();
        } catch (const korvane::EInvalidOperation& e) {
            return e.GetMessage() + "|" + e.GetWhere();
        }
        return "no exception";
    }

    boost::shared_ptr<CFontStock> stock;
    std::vector<boost::shared_ptr<FakeFont>> made;
};

TEST_F(FontStockTest, NamesIgnoreCaseAndTheErrorKeepsTheCallersSpelling)
{
    EXPECT_EQ("Font not found : 'FONT12T2S'|class korvane::canvas::CFontStock",
              NotFound([&] { stock->AddAlias("default", "FONT12T2S"); }));
    EXPECT_EQ(0u, stock->GetFontCount());

    stock->LoadFont(nullptr, "Default", "a.kvf");
    EXPECT_EQ(stock->Get("default"), stock->Get("DEFAULT"));
    EXPECT_EQ("Font not found : 'NoSuch'|class korvane::canvas::CFontStock", NotFound([&] { stock->Get("NoSuch"); }));

    // An alias shares the font; a later file of the alias's name re-points only the alias.
    stock->AddAlias("Smaller", "DEFAULT");
    EXPECT_EQ(stock->Get("default"), stock->Get("smaller"));
    stock->LoadFont(nullptr, "SMALLER", "b.kvf");
    EXPECT_EQ("b.kvf", PathOf("smaller"));
    EXPECT_EQ("a.kvf", PathOf("default"));

    CFontStock::ReleaseInstance();
    EXPECT_EQ(0u, CFontStock::GetInstance()->GetFontCount());
    EXPECT_NE(stock, CFontStock::GetInstance());
}

TEST_F(FontStockTest, LoadFontsTakesIniAndKvfFilesOfTheFolderByStem)
{
    MemoryDataLoader loader;
    for (const char* name : {"fonts\\Big.INI", "fonts\\Big.png", "fonts\\notes.txt", "fonts\\old.ini.bak",
                             "fonts\\small.kvf", "fonts\\Big.kvf", "fonts\\sub\\deep.kvf", "other\\x.kvf"}) {
        loader.Add(name, "");
    }
    LogCapture log;
    stock->LoadFonts(&loader, "fonts");
    EXPECT_EQ(3u, log.CountContaining("load font: ")) << log.All();
    EXPECT_TRUE(log.Contains("INFO: load font: fonts\\Big.INI")) << log.All();
    EXPECT_TRUE(log.Contains("load font: fonts\\small.kvf"));
    EXPECT_TRUE(log.Contains("load font: fonts\\Big.kvf"));
    EXPECT_EQ(2u, stock->GetFontCount());
    EXPECT_EQ("fonts\\Big.kvf", PathOf("big")); // listed later, so it wins
    EXPECT_EQ("fonts\\small.kvf", PathOf("SMALL"));

    // An empty folder loads and logs nothing.
    LogCapture::Clear();
    stock->LoadFonts(&loader, "empty");
    EXPECT_EQ(0u, log.CountContaining("load font: "));
}

TEST_F(FontStockTest, AFailingFontStopsTheLoadingAndIsNotStored)
{
    MemoryDataLoader loader;
    for (const char* name : {"fonts\\a.kvf", "fonts\\broken.kvf", "fonts\\c.kvf"}) {
        loader.Add(name, "");
    }
    try {
        stock->LoadFonts(&loader, "fonts");
        FAIL() << "no exception";
    } catch (const korvane::EInvalidFileFormat& e) {
        EXPECT_EQ("Invalid font file: fonts\\broken.kvf", e.GetMessage());
    }
    EXPECT_EQ(1u, stock->GetFontCount());
    EXPECT_EQ("fonts\\a.kvf", PathOf("a"));
    EXPECT_EQ("Font not found : 'broken'|class korvane::canvas::CFontStock", NotFound([&] { stock->Get("broken"); }));
    EXPECT_THROW(stock->LoadFonts(nullptr, "fonts"), korvane::EInvalidParameter);
}

} // namespace
} // namespace canvastest
