/** @file GLTest.cpp Controls drawn through the canvas on the real OpenGL device and read back: clipping to panels, a
 * mirrored control, the simple button body, a framed form with a label and an image, the leaderboard's skinned scroll
 * bar, and the program's skin compared with a stored reference picture.
 *
 * Run with KORVANE_UPDATE_REFERENCE_IMAGES=1 to write the reference picture afresh into the source tree (then look at
 * it before committing it). */
#include <filesystem>
#include <fstream>

#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "MwtTest.h"

namespace
{

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

bool Inside(int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

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
    auto screen = Make<CScreen>("screen", 0, 0, w, h);
    screen->Initialize();
    return screen;
}

} // namespace

using DrawGLTest = GLTest<128, 64>;

TEST_F(DrawGLTest, ChildrenAreClippedToTheirPanelAndAClearPanelStillDrawsThem)
{
    for (const float panelAlpha : {1.0f, 0.0f}) {
        SCOPED_TRACE(panelAlpha);
        Clear(kBlack);
        auto screen = MakeScreen(128, 64);
        // The panel covers pixels 10..49 x 10..39; its child would reach 79 x 59 on the screen.
        auto panel = Add<CPanel>(*screen, "panel", 10, 10, 40, 30);
        panel->SetColor(Color4<float>(0, 0, 1, panelAlpha));
        Add<CPanel>(*panel, "child", 30, 20, 40, 30)->SetColor(Color4<float>(1, 0, 0, 1));
        screen->Draw(glCanvas.get());
        ExpectPixels([panelAlpha](int x, int y) {
            if (Inside(x, y, 40, 30, 50, 40)) {
                return kRed;
            }
            return panelAlpha > 0.0f && Inside(x, y, 10, 10, 50, 40) ? kBlue : kBlack;
        });
    }
}

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
    ExpectPixels([](int x, int y) { return !Inside(x, y, 11, 10, 51, 30) ? kBlack : x >= 41 ? kRed : kBlue; });
}

using ButtonGLTest = GLTest<64, 40>;

TEST_F(ButtonGLTest, TheSimpleBodyIsTheButtonsColourAtOneFifthAndPressedAtFourFifths)
{
    auto screen = MakeScreen(64, 40);
    auto button = Add<CButton>(*screen, "button", 10, 10, 40, 20);
    button->SetColor(Color4<float>(0, 0, 1, 1));
    for (const bool pressed : {false, true}) {
        SCOPED_TRACE(pressed);
        Clear(kBlack);
        if (pressed) {
            screen->OnMouseDown(V(30, 20), 1);
        }
        screen->Draw(glCanvas.get());
        const std::uint32_t body = pressed ? 0xFF0000CCu : 0xFF000033u;
        // The inner rectangle is pixels 11..48 x 11..28; its outline adds the full colour.
        ExpectPixels([body](int x, int y) {
            return !Inside(x, y, 11, 11, 49, 29) ? kBlack : x == 11 || x == 48 || y == 11 || y == 28 ? kBlue : body;
        });
    }
}

using ScrollBarGLTest = GLTest<48, 72>;

TEST_F(ScrollBarGLTest, TheLeaderboardsSkinnedBarShowsItsPressedButtonInTheDownPicture)
{
    CTexture up;
    up.Fill(8, 8, 1, 0, 0, 1, false, os::gfx::Format::A8R8G8B8);
    CTexture down;
    down.Fill(8, 8, 0, 1, 0, 1, false, os::gfx::Format::A8R8G8B8);
    auto screen = MakeScreen(48, 72);
    // 12 wide: 12 x 12 end buttons, a track of 40 and a 12-unit thumb with 32 units of travel.
    auto bar = Make<CScrollBar>("leaderboard", 20, 4, 12, 64);
    bar->SetAppearance(LoadSkin<CSkinScrollBarAppearance>(
        {"BodyRect.width=8", "BodyRect.height=8", "Texture=up", "DownTexture=down"}, {{"up", &up}, {"down", &down}}));
    bar->SetColor(Color4<float>(0, 0, 1, 1));
    screen->AddControl(bar);
    bar->SetOrientation(1);
    bar->SetValue(25);
    bar->SetSmallChange(25);
    screen->OnMouseDown(V(26, 62), 1);
    ASSERT_EQ(50, bar->GetValue());
    screen->Draw(glCanvas.get());
    // Decrease button and thumb in the up picture, the pressed increase button in the down picture, the two track
    // parts in the bar's colour at one fifth.
    ExpectPixels([](int x, int y) -> std::uint32_t {
        return !Inside(x, y, 20, 4, 32, 68)    ? kBlack
               : y < 16 || (y >= 32 && y < 44) ? kRed
               : y >= 56                       ? 0xFF00FF00u
                                               : 0xFF000033u;
    });
}

namespace
{

/// A 24-bit BMP of one colour (the font page loader reads images by their content).
std::string SolidBmp(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    const int row = (width * 3 + 3) / 4 * 4;
    const int size = 54 + row * height;
    std::string out(static_cast<std::size_t>(size), '\0');
    for (const auto& [at, value] :
         {std::pair{2, size}, {10, 54}, {14, 40}, {18, width}, {22, height}, {26, 1}, {28, 24}}) {
        for (int i = 0; i < 4; ++i) {
            out[static_cast<std::size_t>(at + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    }
    out[0] = 'B';
    out[1] = 'M';
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(54 + y * row + x * 3);
            out[at] = static_cast<char>(b);
            out[at + 1] = static_cast<char>(g);
            out[at + 2] = static_cast<char>(r);
        }
    }
    return out;
}

/// With a "default" font whose one glyph "H" is a solid 4 x 6 block.
class ImageLabelGLTest : public GLTest<128, 64>
{
protected:
    void AddFiles(std::vector<std::string>&) override
    {
        dir.Write("src/fonts/default.ini", "StartCode=48\nEndCode=48\n48.x=0\n48.y=0\n48.w=4\n48.h=6\n48.p=5\n");
        dir.Write("src/fonts/default.png", SolidBmp(8, 8, 255, 255, 255));
    }
};

} // namespace

TEST_F(ImageLabelGLTest, AFramedSimpleFormWithALabelAndAnImage)
{
    canvas::CFontStock::ReleaseInstance();
    canvas::CFontStock::GetInstance()->LoadFonts(driver->GetDataLoader().get(), "fonts");
    constexpr std::uint32_t kGrey = 0xFF808080u;
    Clear(kGrey);
    auto screen = MakeScreen(128, 64);
    // The form covers 10..109 x 5..54; its client area 12..107 x 25..52.
    auto form = Make<CForm>("form", 10, 5, 100, 50);
    form->SetColor(Color4<float>(0.2f, 0.4f, 0.6f, 1));
    screen->AddControl(form);
    form->SetFocus();
    screen->Update(1.0f); // the opening has run its course
    auto label = Add<CLabel>(*form, "label", 4, 4, 0, 0);
    label->SetCaption("H");
    label->SetColor(Color4<float>(1, 1, 0, 1));
    auto texture = boost::make_shared<CTexture>();
    texture->Fill(8, 4, 0, 1, 1, 1, false, os::gfx::Format::A8R8G8B8);
    Add<CImage>(*form, "image", 40, 8, 0, 0)->SetTexture(texture);
    screen->Draw(glCanvas.get());
    // The glyph, the image, the client area; 60 % black over the grey leaves 128 x 0.4 in the frame, and the
    // focused caption adds 204 x 0.6 of blue.
    ExpectPixels(
        [](int x, int y) {
            return Inside(x, y, 16, 29, 20, 35)    ? 0xFFFFFF00u
                   : Inside(x, y, 52, 33, 60, 37)  ? 0xFF00FFFFu
                   : Inside(x, y, 12, 25, 108, 53) ? 0xFF336699u
                   : Inside(x, y, 10, 5, 110, 25)  ? 0xFF3333AEu
                   : Inside(x, y, 10, 25, 110, 55) ? 0xFF333333u
                                                   : kGrey;
        },
        1);
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
    std::vector<std::uint8_t> rgb;
    for (const std::uint32_t pixel : pixels) {
        rgb.insert(rgb.end(), {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                               static_cast<std::uint8_t>(pixel)});
    }
    ASSERT_EQ(static_cast<std::size_t>(kSkinWidth * kSkinHeight * 3), rgb.size());
    const char* update = std::getenv("KORVANE_UPDATE_REFERENCE_IMAGES");
    if (update && std::string(update) == "1") {
        std::ofstream out(kReference, std::ios::binary | std::ios::trunc);
        out << "P6\n" << kSkinWidth << " " << kSkinHeight << "\n255\n";
        out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
        GTEST_SKIP() << "reference written: " << kReference;
    }
    std::ifstream in(kReference, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, depth = 0;
    in >> magic >> width >> height >> depth;
    in.get();
    std::vector<std::uint8_t> reference(rgb.size());
    in.read(reinterpret_cast<char*>(reference.data()), static_cast<std::streamsize>(reference.size()));
    ASSERT_TRUE(in && magic == "P6" && width == kSkinWidth && height == kSkinHeight && depth == 255)
        << "no reference picture at " << kReference;

    // A few levels of rounding per channel are the software rasteriser's business; a changed skin or layout moves far
    // more than a handful of pixels.
    int different = 0;
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        different += std::abs(int(rgb[i]) - int(reference[i])) > 6 ? 1 : 0;
    }
    EXPECT_LE(different, kSkinWidth * kSkinHeight * 3 / 500) << different << " channel values differ";
}
