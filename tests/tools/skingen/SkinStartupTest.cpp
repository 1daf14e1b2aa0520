/** @file SkinStartupTest.cpp The window scene's skin steps over the archive the build packed (and over one packed
 * from it without a picture), and the generator's refusal of a definition naming a picture it does not make. */
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"
#include "support/FakeTexture.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace fs = std::filesystem;
using ArchiveLoader = korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>;
using korvane::test::TempDir;

namespace
{

/// The ten names the window scene makes the controls' defaults (the border serves three).
const char* const kSkinNames[] = {"SkinForm",     "SkinButton",      "SkinKnob",     "SkinBorder",   "SkinScrollBar",
                                  "SkinComboBox", "SkinRadioButton", "SkinCheckBox", "SkinTrackBar", "SkinProgressBar"};

/// The window scene's skin steps over an archive: the folder "skin" into a fresh registry through a stand-in for
/// the texture cache (reading "skin\" + name, so a missing picture fails with the loader's own text), then the
/// stock's factory of every name.
struct SkinSteps
{
    explicit SkinSteps(const std::string& archive) : loader(archive) { stock.RegisterDefaultAppearances(); }

    /// The engine error's text, empty on success.
    std::string Run()
    {
        try {
            stock.LoadAppearances(&loader, "skin", [this](const std::string& name) { return Picture(name); });
            for (const char* name : kSkinNames)
                factories.push_back(stock.GetFactory(name));
        } catch (const korvane::EException& error) {
            return error.GetMessage();
        }
        return "";
    }

    /// A picture of the PNG's size; one the graphics layer cannot decode fails as the texture cache would.
    korvane::ITexture* Picture(const std::string& name)
    {
        std::unique_ptr<korvane::IKorvaneStream> stream(loader.Open("skin\\" + name));
        std::string bytes(static_cast<std::size_t>(stream->GetSize()), '\0');
        stream->Read(bytes.data(), stream->GetSize());
        os::gfx::DecodedImage image;
        if (os::gfx::DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), {}, &image) !=
            os::gfx::kOk)
            throw korvane::EInvalidFileFormat(nullptr, "unreadable picture: " + name);
        pictures.push_back(std::make_unique<korvane::test::FakeTexture>(image.width, image.height));
        return pictures.back().get();
    }

    ArchiveLoader loader;
    korvane::mwt::CControlAppearanceStock stock;
    std::vector<std::unique_ptr<korvane::test::FakeTexture>> pictures;
    std::vector<korvane::mwt::CControlAppearanceStock::Factory> factories;
};

} // namespace

TEST(SkinStartup, TheBuiltArchiveGivesTenAppearancesAndASkinWithoutAPictureFailsBeforeDrawing)
{
    SkinSteps steps(KORVANE_BINARY_DIR "/bin/data.kva");
    korvane::test::LogCapture log;
    ASSERT_EQ("", steps.Run());
    EXPECT_EQ(10u, korvane::test::LogCapture::CountContaining("load appearance: skin\\"));
    std::vector<std::string> names;
    for (const auto& factory : steps.factories)
        names.push_back(factory()->GetName());
    EXPECT_EQ(std::vector<std::string>(std::begin(kSkinNames), std::end(kSkinNames)), names);

    // An archive packed from the same skin without one of its pictures fails before anything is
    // drawn. (A missing definition fails in the stock itself:
    // AppearanceStock.DefaultsTheirNamesFactoriesAliasesAndLoadingDefinitionFiles.)
    TempDir dir;
    const fs::path skin = dir.File("src/skin");
    fs::create_directories(skin);
    for (const char* from : {KORVANE_SOURCE_DIR "/data/skin", KORVANE_BINARY_DIR "/generated/skin/skin"})
        fs::copy(from, skin);
    fs::remove(skin / "track.png");
    kvatool::PackFolder(dir.File("src"), dir.File("data.kva"), {});
    SkinSteps broken(dir.File("data.kva"));
    const std::string message = broken.Run();
    EXPECT_NE(std::string::npos, message.find("skin\\track.png")) << message;
}

TEST(SkinGenerator, RefusesADefinitionNamingAPictureItDoesNotMake)
{
    TempDir dir;
    dir.Write("defs/good.ini", "Name=A\r\nTexture=button.png\r\n");
    dir.Write("defs/bad.INI", "Name=B\r\n; Texture=ignored.png\r\nDownTexture=nothing.png\r\n");
    const std::string command = std::string("\"" KORVANE_BINARY_DIR "/bin/skingen\" \"") + dir.File("out") + "\" \"" +
                                dir.File("defs") + "\" 2> \"" + dir.File("err.txt") + "\"";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(1, WEXITSTATUS(status));
    EXPECT_EQ("skingen: bad.INI: DownTexture names 'nothing.png', which the skin generator does not make\n",
              TempDir::Read(dir.File("err.txt")));
    // The pictures themselves were all written.
    EXPECT_TRUE(fs::exists(dir.File("out/skin/Cursor1.png")));
}
