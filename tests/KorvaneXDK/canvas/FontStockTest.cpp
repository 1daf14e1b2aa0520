/** @file FontStockTest.cpp The font registry: case, aliases, folder loading and release. */
#include "CanvasTestSupport.h"
#include "support/MemoryDataLoader.h"

namespace canvastest
{

class FontStockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CFontStock::ReleaseInstance();
        stock = CFontStock::GetInstance();
        stock->SetFontFactory([](IDataLoader*, const std::string& path) {
            if (path.find("broken") != std::string::npos)
                throw EInvalidFileFormat(nullptr, "Invalid font file: " + path);
            boost::shared_ptr<FakeFont> font(new FakeFont());
            font->path = path;
            return boost::shared_ptr<IFont>(font);
        });
    }
    void TearDown() override { CFontStock::ReleaseInstance(); }

    std::string PathOf(const std::string& name) { return static_cast<FakeFont&>(*stock->Get(name)).path; }
    std::string NotFound(const std::string& name)
    {
        return Failure<EInvalidOperation>([&] { stock->Get(name); });
    }
    void LoadFolder(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            loader.Add(name, "");
        stock->LoadFonts(&loader, "fonts");
    }

    boost::shared_ptr<CFontStock> stock;
    MemoryDataLoader loader;
};

TEST_F(FontStockTest, NamesIgnoreCaseAndTheErrorKeepsTheCallersSpelling)
{
    EXPECT_EQ("Font not found : 'FONT12T2S'|class korvane::canvas::CFontStock",
              Failure<EInvalidOperation>([&] { stock->AddAlias("default", "FONT12T2S"); }));
    EXPECT_EQ(0u, stock->GetFontCount());
    stock->LoadFont(nullptr, "Default", "a.kvf");
    EXPECT_EQ(stock->Get("default"), stock->Get("DEFAULT"));
    EXPECT_EQ("Font not found : 'NoSuch'|class korvane::canvas::CFontStock", NotFound("NoSuch"));
    // An alias shares the font; a later file of the alias's name re-points only the alias.
    stock->AddAlias("Smaller", "DEFAULT");
    EXPECT_EQ(stock->Get("default"), stock->Get("smaller"));
    stock->LoadFont(nullptr, "SMALLER", "b.kvf");
    EXPECT_EQ("b.kvf|a.kvf", PathOf("smaller") + "|" + PathOf("default"));
    CFontStock::ReleaseInstance();
    EXPECT_EQ(0u, CFontStock::GetInstance()->GetFontCount());
    EXPECT_NE(stock, CFontStock::GetInstance());
}

TEST_F(FontStockTest, LoadFontsTakesIniAndKvfFilesOfTheFolderByStem)
{
    LogCapture log;
    LoadFolder({"fonts\\Big.INI", "fonts\\Big.png", "fonts\\notes.txt", "fonts\\old.ini.bak", "fonts\\small.kvf",
                "fonts\\Big.kvf", "fonts\\sub\\deep.kvf", "other\\x.kvf"});
    EXPECT_EQ(3u, log.CountContaining("load font: ")) << log.All();
    EXPECT_TRUE(log.Contains("INFO: load font: fonts\\Big.INI") && log.Contains("load font: fonts\\small.kvf") &&
                log.Contains("load font: fonts\\Big.kvf"))
        << log.All();
    EXPECT_EQ(2u, stock->GetFontCount());
    EXPECT_EQ("fonts\\Big.kvf|fonts\\small.kvf", PathOf("big") + "|" + PathOf("SMALL")); // Big.kvf is listed later
    // An empty folder loads and logs nothing.
    LogCapture::Clear();
    stock->LoadFonts(&loader, "empty");
    EXPECT_EQ(0u, log.CountContaining("load font: "));
}

TEST_F(FontStockTest, AFailingFontStopsTheLoadingAndIsNotStored)
{
    EXPECT_EQ("Invalid font file: fonts\\broken.kvf|", Failure<EInvalidFileFormat>([&] {
                  LoadFolder({"fonts\\a.kvf", "fonts\\broken.kvf", "fonts\\c.kvf"});
              }));
    EXPECT_EQ(1u, stock->GetFontCount());
    EXPECT_EQ("fonts\\a.kvf", PathOf("a"));
    EXPECT_EQ("Font not found : 'broken'|class korvane::canvas::CFontStock", NotFound("broken"));
    EXPECT_THROW(stock->LoadFonts(nullptr, "fonts"), EInvalidParameter);
}

} // namespace canvastest
