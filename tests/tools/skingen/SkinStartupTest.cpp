/** @file SkinStartupTest.cpp The window scene's skin steps over the archive the build packed (and over archives
 * packed from it with one thing broken), and the generator's refusal of a definition naming a picture it does not
 * make. */
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/CheckBox.h"
#include "KorvaneXDK/mwt/ComboBox.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Edit.h"
#include "KorvaneXDK/mwt/Knob.h"
#include "KorvaneXDK/mwt/ListBox.h"
#include "KorvaneXDK/mwt/Pager.h"
#include "KorvaneXDK/mwt/ProgressBar.h"
#include "KorvaneXDK/mwt/RadioButton.h"
#include "KorvaneXDK/mwt/ScrollBar.h"
#include "KorvaneXDK/mwt/TrackBar.h"
#include "support/FakeTexture.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace fs = std::filesystem;
using ArchiveLoader = korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>;
using korvane::mwt::CControl;

namespace
{

/// The ten names the window scene makes the controls' defaults, with the control class each
/// one is a default of (the border serves three).
const struct
{
    const char* name;
    const char* control;
} kSkinNames[] = {
    {"SkinForm", "CForm"},
    {"SkinButton", "CButton"},
    {"SkinKnob", "CKnob"},
    {"SkinBorder", "CPager"},
    {"SkinScrollBar", "CScrollBar"},
    {"SkinComboBox", "CComboBox"},
    {"SkinRadioButton", "CRadioButton"},
    {"SkinCheckBox", "CCheckBox"},
    {"SkinTrackBar", "CTrackBar"},
    {"SkinProgressBar", "CProgressBar"},
};

/// Stands in for the scene's texture cache: reads "skin\" + name through the loader (so a missing
/// picture fails with the loader's own text) and keeps a picture of the PNG's size.
struct SkinTextures
{
    korvane::ITexture* Load(korvane::IDataLoader& loader, const std::string& name)
    {
        std::unique_ptr<korvane::IKorvaneStream> stream(loader.Open("skin\\" + name));
        std::uint8_t header[24] = {};
        if (stream->Read(header, sizeof header) != sizeof header) {
            throw korvane::EInvalidFileFormat(nullptr, "short picture: " + name);
        }
        const auto big = [&](int at) {
            return static_cast<std::uint32_t>(header[at]) << 24 | static_cast<std::uint32_t>(header[at + 1]) << 16 |
                   static_cast<std::uint32_t>(header[at + 2]) << 8 | header[at + 3];
        };
        pictures.push_back(std::make_unique<korvane::test::FakeTexture>(big(16), big(20)));
        return pictures.back().get();
    }
    std::vector<std::unique_ptr<korvane::test::FakeTexture>> pictures;
};

/// LoadSkin's steps: the folder "skin" into a fresh registry, then the stock's factory of every
/// name. Returns the engine error's text, empty on success.
std::string LoadSkinSteps(korvane::IDataLoader& loader, korvane::mwt::CControlAppearanceStock& stock,
                          SkinTextures& textures, std::vector<korvane::mwt::CControlAppearanceStock::Factory>& out)
{
    try {
        stock.LoadAppearances(&loader, "skin", [&](const std::string& name) { return textures.Load(loader, name); });
        for (const auto& skin : kSkinNames) {
            out.push_back(stock.GetFactory(skin.name));
        }
    } catch (const korvane::EException& error) {
        return error.GetMessage();
    }
    return "";
}

/// data/skin and the generator's pictures, copied into one folder below `dir` for changing.
std::string CopySkin(const korvane::test::TempDir& dir)
{
    const fs::path root = dir.File("src");
    fs::create_directories(root / "skin");
    for (const fs::path& from :
         {fs::path(KORVANE_SOURCE_DIR "/data/skin"), fs::path(KORVANE_BINARY_DIR "/generated/skin/skin")}) {
        for (const auto& entry : fs::directory_iterator(from)) {
            fs::copy_file(entry.path(), root / "skin" / entry.path().filename());
        }
    }
    return root.string();
}

} // namespace

TEST(SkinStartup, TheBuiltArchiveGivesTenAppearancesAndTheControlsTakeThem)
{
    ArchiveLoader loader(KORVANE_BINARY_DIR "/bin/data.kva");
    korvane::mwt::CControlAppearanceStock stock;
    stock.RegisterDefaultAppearances();
    SkinTextures textures;
    std::vector<korvane::mwt::CControlAppearanceStock::Factory> factories;
    korvane::test::LogCapture log;
    ASSERT_EQ("", LoadSkinSteps(loader, stock, textures, factories));
    int lines = 0;
    for (const std::string& line : korvane::test::LogCapture::Lines()) {
        lines += line.find("load appearance: skin\\") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(10, lines);
    ASSERT_EQ(10u, factories.size());
    for (std::size_t i = 0; i < factories.size(); ++i) {
        EXPECT_EQ(kSkinNames[i].name, factories[i]()->GetName());
    }

    // As the scene does: the defaults replaced, controls made afterwards take the skin; the
    // border serves pagers, edits and list boxes.
    const auto saved = std::make_tuple(
        korvane::mwt::CDefaultFactories::KnobAppearance, korvane::mwt::CDefaultFactories::PagerAppearance,
        korvane::mwt::CDefaultFactories::EditAppearance, korvane::mwt::CDefaultFactories::ListBoxAppearance);
    korvane::mwt::CDefaultFactories::KnobAppearance = stock.GetFactory("SkinKnob");
    korvane::mwt::CDefaultFactories::PagerAppearance = stock.GetFactory("SkinBorder");
    korvane::mwt::CDefaultFactories::EditAppearance = stock.GetFactory("SkinBorder");
    korvane::mwt::CDefaultFactories::ListBoxAppearance = stock.GetFactory("SkinBorder");
    korvane::mwt::CKnob knob;
    korvane::mwt::CEdit edit;
    korvane::mwt::CListBox list;
    knob.Initialize();
    edit.Initialize();
    list.Initialize();
    EXPECT_EQ("SkinKnob", knob.GetAppearance()->GetName());
    EXPECT_EQ(edit.GetAppearance(), list.GetAppearance());
    std::tie(korvane::mwt::CDefaultFactories::KnobAppearance, korvane::mwt::CDefaultFactories::PagerAppearance,
             korvane::mwt::CDefaultFactories::EditAppearance, korvane::mwt::CDefaultFactories::ListBoxAppearance) =
        saved;
}

TEST(SkinStartup, ABrokenSkinFailsBeforeAnythingIsDrawn)
{
    const struct
    {
        const char* remove;  // a file of the skin folder deleted
        const char* rewrite; // or this definition's "Control" line replaced by `control`
        const char* control;
        const char* message; // the error start-up ends with
    } cases[] = {
        {"skintrackbar.ini", nullptr, nullptr, "Appearance not found : 'SkinTrackBar'"},
        {"track.png", nullptr, nullptr, "skin\\track.png"},
        {nullptr, "skintrackbar.ini", "Control=CCheckBox",
         "appearance class 'CSkinTrackBarAppearance' does not draw control 'CCheckBox'"},
    };
    for (const auto& c : cases) {
        korvane::test::TempDir dir;
        const std::string root = CopySkin(dir);
        if (c.remove) {
            fs::remove(fs::path(root) / "skin" / c.remove);
        } else {
            const fs::path file = fs::path(root) / "skin" / c.rewrite;
            std::stringstream text;
            text << std::ifstream(file, std::ios::binary).rdbuf();
            std::string definition = text.str();
            const std::size_t at = definition.find("Control=");
            definition.replace(at, definition.find('\r', at) - at, c.control);
            std::ofstream(file, std::ios::binary | std::ios::trunc) << definition;
        }
        kvatool::PackOptions options;
        kvatool::PackFolder(root, dir.File("data.kva"), options);
        ArchiveLoader loader(dir.File("data.kva"));
        korvane::mwt::CControlAppearanceStock stock;
        stock.RegisterDefaultAppearances();
        SkinTextures textures;
        std::vector<korvane::mwt::CControlAppearanceStock::Factory> factories;
        const std::string message = LoadSkinSteps(loader, stock, textures, factories);
        EXPECT_NE(std::string::npos, message.find(c.message)) << message;
        EXPECT_LT(factories.size(), 10u);
    }
}

TEST(SkinGenerator, RefusesADefinitionNamingAPictureItDoesNotMake)
{
    korvane::test::TempDir dir;
    dir.Write("defs/good.ini", "Name=A\r\nTexture=button.png\r\n");
    dir.Write("defs/bad.INI", "Name=B\r\n; Texture=ignored.png\r\nDownTexture=nothing.png\r\n");
    const std::string command = std::string("\"" KORVANE_BINARY_DIR "/bin/skingen\" \"") + dir.File("out") + "\" \"" +
                                dir.File("defs") + "\" 2> \"" + dir.File("err.txt") + "\"";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(1, WEXITSTATUS(status));
    std::ifstream err(dir.File("err.txt"));
    std::stringstream text;
    text << err.rdbuf();
    EXPECT_EQ("skingen: bad.INI: DownTexture names 'nothing.png', which the skin generator does not make\n",
              text.str());
    // The pictures themselves were all written.
    EXPECT_TRUE(fs::exists(dir.File("out/skin/Cursor1.png")));
}
