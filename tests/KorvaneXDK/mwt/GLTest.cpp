/** @file GLTest.cpp Controls drawn through the canvas on the real OpenGL device and read back: a mirrored control, and
 * the program's skin compared with a stored reference picture.
 *
 * Run with KORVANE_UPDATE_REFERENCE_IMAGES=1 to write the reference picture afresh into the source tree (then look at
 * it before committing it). */
#include <filesystem>
#include <fstream>

#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "MwtTest.h"

namespace
{

/// Fills the left quarter of the control red and the rest blue.
class HalvesAppearance : public TControlAppearance<CControl>
{
public:
    void Draw(CControl* control, canvas::CCanvas* canvas) override
    {
        const V size = control->GetSize();
        canvas->GetBrush().SetColor(Color4<float>(1, 0, 0, 1));
        canvas->FillRect(Rect2f(0, 0, size.x / 4, size.y));
        canvas->GetBrush().SetColor(Color4<float>(0, 0, 1, 1));
        canvas->FillRect(Rect2f(size.x / 4, 0, size.x * 3 / 4, size.y));
    }
};

boost::shared_ptr<CScreen> MakeScreen(float w, float h)
{
    return Make<CScreen>("screen", 0, 0, w, h, kInitialized);
}

} // namespace

using AppearanceGLTest = GLTest<96, 48>;

TEST_F(AppearanceGLTest, AMirroredControlShowsItsRightSideOnTheLeft)
{
    auto screen = MakeScreen(96, 48);
    auto control = Add<CControl>(*screen, "mirrored", 10, 10, 40, 20);
    control->SetAppearance(boost::make_shared<HalvesAppearance>());
    control->SetAnimation(CAnimationComponentStock::GetInstance()->Create("HorizontalMirrorStatic"));
    screen->Draw(glCanvas.get());
    // Unmirrored the red quarter would cover pixels 10..19 and the blue 20..49. The mirror x -> 40 - x also turns
    // the canvas's half-pixel shift around, so everything lands one pixel to the right.
    ExpectPixels([](int x, int y) {
        return y < 10 || y >= 30 || x < 11 || x > 50 ? 0xFF000000u : x >= 41 ? 0xFFFF0000u : 0xFF0000FFu;
    });
}

namespace
{

constexpr int kSkinWidth = 256;
constexpr int kSkinHeight = 192;
const char* const kReference = KORVANE_SOURCE_DIR "/tests/KorvaneXDK/mwt/reference/skinned-form.ppm";

/// The program's skin definitions and the generated skin pictures in the archive.
class SkinGLTest : public GLTest<kSkinWidth, kSkinHeight>
{
protected:
    void AddFiles(std::vector<std::string>& folders) override
    {
        for (const auto& entry : std::filesystem::directory_iterator(KORVANE_SOURCE_DIR "/data/skin")) {
            dir.Write("src/skin/" + entry.path().filename().string(), TempDir::Read(entry.path().string()));
        }
        folders.push_back(KORVANE_BINARY_DIR "/generated/skin");
    }

    void TearDown() override
    {
        textures.reset();
        GLTest::TearDown();
    }

    template <typename T>
    boost::shared_ptr<T> AddSkinned(CContainerControl& parent, const char* appearance, float x, float y, float w,
                                    float h)
    {
        auto control = Make<T>(appearance, x, y, w, h);
        control->AppearanceFactory = stock.GetFactory(appearance);
        parent.AddControl(control);
        return control;
    }

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
    auto screen = MakeScreen(kSkinWidth, kSkinHeight);
    auto form = Make<CForm>("form", 8, 8, 240, 176);
    form->AppearanceFactory = stock.GetFactory("SkinForm");
    form->OpenAnimationFactory = CDefaultFactories::NullAnimation;
    form->SetFormStyle(2);
    form->SetCloseBoxEnabled(true);
    form->SetRollUpBoxEnabled(true);
    form->SetMaximizeBoxEnabled(true);
    form->SetColor(Color4<float>(0.4f, 0.5f, 0.7f, 0.8f));
    screen->AddControl(form);
    AddSkinned<CButton>(*form, "SkinButton", 8, 8, 64, 24);
    AddSkinned<CKnob>(*form, "SkinKnob", 80, 0, 64, 64)->SetValue(60);
    AddSkinned<CEdit>(*form, "SkinBorder", 152, 8, 48, 20);
    auto scroll = AddSkinned<CScrollBar>(*form, "SkinScrollBar", 208, 4, 12, 120);
    scroll->SetOrientation(1);
    scroll->SetValue(40);
    AddSkinned<CComboBox>(*form, "SkinComboBox", 8, 40, 64, 20);
    AddSkinned<CRadioButton>(*form, "SkinRadioButton", 8, 68, 64, 20)->SetChecked(true);
    AddSkinned<CCheckBox>(*form, "SkinCheckBox", 8, 96, 64, 20)->SetChecked(true);
    AddSkinned<CTrackBar>(*form, "SkinTrackBar", 80, 76, 120, 24)->SetValue(30);
    AddSkinned<CProgressBar>(*form, "SkinProgressBar", 80, 108, 120, 16)->SetValue(65);
    Clear(0xFF203040u);
    screen->Draw(glCanvas.get());
    glCanvas->EndDraw();

    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
    std::string picture = "P6\n" + std::to_string(kSkinWidth) + " " + std::to_string(kSkinHeight) + "\n255\n";
    const std::size_t header = picture.size();
    for (const std::uint32_t pixel : pixels) {
        picture += {static_cast<char>(pixel >> 16), static_cast<char>(pixel >> 8), static_cast<char>(pixel)};
    }
    ASSERT_EQ(header + kSkinWidth * kSkinHeight * 3, picture.size());
    const char* update = std::getenv("KORVANE_UPDATE_REFERENCE_IMAGES");
    if (update && std::string(update) == "1") {
        std::ofstream(kReference, std::ios::binary | std::ios::trunc) << picture;
        GTEST_SKIP() << "reference written: " << kReference;
    }
    const std::string reference = TempDir::Read(kReference);
    ASSERT_EQ(picture.substr(0, header), reference.substr(0, header)) << "no reference picture at " << kReference;
    ASSERT_EQ(picture.size(), reference.size());

    // A few levels of rounding per channel are the software rasteriser's business; a changed skin or layout moves far
    // more than a handful of pixels.
    int different = 0;
    for (std::size_t i = header; i < picture.size(); ++i) {
        different += std::abs(int(std::uint8_t(picture[i])) - int(std::uint8_t(reference[i]))) > 6 ? 1 : 0;
    }
    EXPECT_LE(different, kSkinWidth * kSkinHeight * 3 / 500) << different << " channel values differ";
}
