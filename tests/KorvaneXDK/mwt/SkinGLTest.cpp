/** @file SkinGLTest.cpp The program's skin on the real OpenGL device: a framed skinned form holding one control of
 * each skinned kind, read back and compared with a stored reference picture.
 *
 * Run with KORVANE_UPDATE_REFERENCE_IMAGES=1 to write the picture afresh into the source tree
 * (then look at it before committing it). */
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include "GLCanvasSupport.h"
#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/CheckBox.h"
#include "KorvaneXDK/mwt/ComboBox.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Edit.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Knob.h"
#include "KorvaneXDK/mwt/ProgressBar.h"
#include "KorvaneXDK/mwt/RadioButton.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/mwt/ScrollBar.h"
#include "KorvaneXDK/mwt/TrackBar.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "support/FakeFont.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

using namespace korvane;
using namespace korvane::mwt;

namespace
{

constexpr int kWidth = 256;
constexpr int kHeight = 192;
const char* const kReference = KORVANE_SOURCE_DIR "/tests/KorvaneXDK/mwt/reference/skinned-form.ppm";

/// The skin progress bar pulses with the canvas clock: held at the top of the pulse.
class FixedClockCanvas : public canvas::CCanvas
{
public:
    double GetElapsedMilliseconds() override { return 250.0; }
};

/// Reads a binary "P6" picture of kWidth x kHeight; empty when there is none.
std::vector<std::uint8_t> ReadReference()
{
    std::ifstream in(kReference, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, depth = 0;
    in >> magic >> width >> height >> depth;
    in.get();
    if (!in || magic != "P6" || width != kWidth || height != kHeight || depth != 255) {
        return {};
    }
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth * kHeight * 3));
    in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    return in ? rgb : std::vector<std::uint8_t>();
}

void WriteReference(const std::vector<std::uint8_t>& rgb)
{
    std::ofstream out(kReference, std::ios::binary | std::ios::trunc);
    out << "P6\n" << kWidth << " " << kHeight << "\n255\n";
    out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
}

class SkinGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::WriteCanvasShaders(dir);
        const std::string source = KORVANE_SOURCE_DIR;
        kvatool::PackOptions options;
        for (const auto& entry : std::filesystem::directory_iterator(source + "/data/skin")) {
            dir.Write("src/skin/" + entry.path().filename().string(), test::TempDir::Read(entry.path().string()));
        }
        kvatool::PackFolders({dir.File("src"), KORVANE_BINARY_DIR "/generated/skin"}, dir.File("data.kva"), options);

        canvas::CFontStock::ReleaseInstance();
        canvas::CFontStock::GetInstance()->SetFontFactory(
            [this](IDataLoader*, const std::string&) -> boost::shared_ptr<IFont> { return font; });
        canvas::CFontStock::GetInstance()->LoadFont(nullptr, "default", "default");
        CShaderEnvironment* environment = nullptr;
        ASSERT_NO_FATAL_FAILURE(
            test::StartGLDriver(kWidth, kHeight, dir.File("data.kva"), driver, device, environment));
        glCanvas.reset(new FixedClockCanvas());
        pair = environment->GetShaderPair("shader\\canvas");
        glCanvas->SetShaderPair(pair);
    }

    void TearDown() override
    {
        glCanvas.reset();
        textures.reset();
        canvas::CFontStock::ReleaseInstance();
        DestroyApplicationDriver();
    }

    template <typename T>
    boost::shared_ptr<T> Add(CContainerControl& parent, const char* appearance, float x, float y, float w, float h)
    {
        auto control = boost::make_shared<T>(appearance);
        control->AppearanceFactory = stock.GetFactory(appearance);
        control->SetLocation(Vector2<float>(x, y));
        control->ApplySize(Vector2<float>(w, h));
        parent.AddControl(control);
        return control;
    }

    test::TempDir dir;
    boost::shared_ptr<test::FakeFont> font{new test::FakeFont()};
    CGameApplicationDriverCX* driver = nullptr;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<CShaderPair> pair;
    boost::shared_ptr<canvas::CCanvas> glCanvas;
    std::unique_ptr<CTextureCache> textures{new CTextureCache()};
    CControlAppearanceStock stock;
};

} // namespace

TEST_F(SkinGLTest, AFramedSkinnedFormWithOneControlOfEachKindMatchesItsReferencePicture)
{
    stock.RegisterDefaultAppearances();
    IDataLoader* loader = driver->GetDataLoader().get();
    stock.LoadAppearances(loader, "skin", [this, loader](const std::string& name) {
        return textures->Load(loader, "skin\\" + name, false, "", os::gfx::Format::Unknown);
    });

    auto screen = boost::make_shared<CScreen>("screen");
    screen->ApplySize(Vector2<float>(kWidth, kHeight));
    screen->Initialize();
    auto form = boost::make_shared<CForm>("form");
    form->AppearanceFactory = stock.GetFactory("SkinForm");
    form->OpenAnimationFactory = CDefaultFactories::NullAnimation;
    form->SetFormStyle(2);
    form->SetCloseBoxEnabled(true);
    form->SetRollUpBoxEnabled(true);
    form->SetMaximizeBoxEnabled(true);
    form->SetColor(Color4<float>(0.4f, 0.5f, 0.7f, 0.8f));
    form->SetLocation(Vector2<float>(8, 8));
    form->ApplySize(Vector2<float>(240, 176));
    screen->AddControl(form);

    Add<CButton>(*form, "SkinButton", 8, 8, 64, 24);
    auto knob = Add<CKnob>(*form, "SkinKnob", 80, 0, 64, 64);
    knob->SetValue(60);
    Add<CEdit>(*form, "SkinBorder", 152, 8, 48, 20);
    auto scroll = Add<CScrollBar>(*form, "SkinScrollBar", 208, 4, 12, 120);
    scroll->SetOrientation(1);
    scroll->SetValue(40);
    Add<CComboBox>(*form, "SkinComboBox", 8, 40, 64, 20);
    Add<CRadioButton>(*form, "SkinRadioButton", 8, 68, 64, 20)->SetChecked(true);
    Add<CCheckBox>(*form, "SkinCheckBox", 8, 96, 64, 20)->SetChecked(true);
    Add<CTrackBar>(*form, "SkinTrackBar", 80, 76, 120, 24)->SetValue(30);
    Add<CProgressBar>(*form, "SkinProgressBar", 80, 108, 120, 16)->SetValue(65);

    ASSERT_EQ(os::gfx::kOk,
              device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, 0xFF203040u, 1.0f, 0));
    glCanvas->BeginDraw();
    pair->Begin();
    glCanvas->ResetClipRect();
    screen->Draw(glCanvas.get());
    glCanvas->EndDraw();

    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
    ASSERT_EQ(static_cast<std::size_t>(kWidth * kHeight), pixels.size());
    std::vector<std::uint8_t> rgb;
    for (const std::uint32_t pixel : pixels) {
        rgb.push_back(static_cast<std::uint8_t>(pixel >> 16));
        rgb.push_back(static_cast<std::uint8_t>(pixel >> 8));
        rgb.push_back(static_cast<std::uint8_t>(pixel));
    }
    const char* update = std::getenv("KORVANE_UPDATE_REFERENCE_IMAGES");
    if (update && std::string(update) == "1") {
        WriteReference(rgb);
        GTEST_SKIP() << "reference written: " << kReference;
    }
    const std::vector<std::uint8_t> reference = ReadReference();
    ASSERT_FALSE(reference.empty()) << "no reference picture at " << kReference;

    // A few levels of rounding per channel are the software rasteriser's business; a changed
    // skin or layout moves far more than a handful of pixels.
    int different = 0;
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        different += std::abs(int(rgb[i]) - int(reference[i])) > 6 ? 1 : 0;
    }
    EXPECT_LE(different, kWidth * kHeight * 3 / 500) << different << " channel values differ";
}
