/** @file GLTest.cpp Controls on the real OpenGL device, read back: children clipped to their panel, a mirrored control,
 * a nine-piece skin's placement, and the program's skin (a framed skinned form holding one control of each skinned
 * kind) compared with its reference picture. */
#include <functional>
#include <utility>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/mwt/SkinAppearance.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "MwtTest.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Texture.h"
#include "support/ReferenceImage.h"

namespace
{

constexpr int kSkinWidth = 256;
constexpr int kSkinHeight = 192;
const char* const kReference = KORVANE_SOURCE_DIR "/tests/KorvaneXDK/mwt/reference/skinned-form.png";

/// The skin progress bar pulses with the canvas clock: held at the top of the pulse.
class FixedClockCanvas : public canvas::CCanvas
{
public:
    double GetElapsedMilliseconds() override { return 250.0; }
};

/// The driver with a device reading the program's archive (its canvas shaders, skin definitions and generated skin
/// pictures); fixed-metric fonts; a canvas drawing in screen pixels.
class SkinGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateApplicationDriver(nullptr));
        driver = GetApplicationDriver();
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kSkinWidth, kSkinHeight));
        driver->SetDataLoader(boost::shared_ptr<IDataLoader>(
            new TArchiveFileDataLoader<CArchiveFileLoader>(KORVANE_BINARY_DIR "/bin/data.kva")));
        driver->CreateShaderEnvironment();
        CShaderEnvironment* environment = driver->GetShaderEnvironment();
        device = driver->GetGraphics()->GetDevice();
        Matrix4 projection;
        os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kSkinWidth, kSkinHeight, 0, 0, 1);
        environment->SetProjectionMatrix(projection);
        pair = environment->GetShaderPair("shader\\canvas");
        glCanvas.reset(new FixedClockCanvas());
        glCanvas->SetShaderPair(pair);
        glCanvas->BeginDraw();
        pair->Begin();
        glCanvas->ResetClipRect();
    }

    void TearDown() override
    {
        glCanvas.reset();
        textures.reset();
        DestroyApplicationDriver();
    }

    void Clear(std::uint32_t colour)
    {
        ASSERT_EQ(os::gfx::kOk,
                  device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, colour, 1.0f, 0));
    }

    /// Reads the target back and reports the first pixel whose colour differs from `expected` (RGB: the target's
    /// alpha is blended too and shows nowhere).
    void ExpectPixels(const std::function<std::uint32_t(int, int)>& expected)
    {
        std::vector<std::uint32_t> pixels;
        ASSERT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
        ASSERT_EQ(std::size_t{kSkinWidth * kSkinHeight}, pixels.size());
        for (int i = 0; i < kSkinWidth * kSkinHeight; ++i) {
            const int x = i % kSkinWidth, y = i / kSkinWidth;
            ASSERT_EQ(expected(x, y) & 0xFFFFFFu, pixels[static_cast<std::size_t>(i)] & 0xFFFFFFu)
                << "pixel (" << x << ", " << y << ")";
        }
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

    RecordingCanvas fonts; // "default": 8 units a character, 16 high
    CGameApplicationDriverCX* driver = nullptr;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<CShaderPair> pair;
    boost::shared_ptr<canvas::CCanvas> glCanvas;
    std::unique_ptr<CTextureCache> textures{new CTextureCache()};
    CControlAppearanceStock stock;
};

bool Inside(int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

/// The texel colour of each of the nine regions a 16 x 16 skin is cut into (bands of 4, 8 and 4).
std::uint32_t RegionColor(int row, int column)
{
    static const std::uint32_t colors[3][3] = {{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu},
                                               {0xFFFFFF00u, 0xFF00FFFFu, 0xFFFF00FFu},
                                               {0xFF808080u, 0xFFFFFFFFu, 0xFF804000u}};
    return colors[row][column];
}

int Band(int v, int first, int last)
{
    return v < first ? 0 : v < last ? 1 : 2;
}

} // namespace

TEST_F(SkinGLTest, ClippedChildrenANinePieceSkinItsMirrorImageAndTheSkinnedFormsReferencePicture)
{
    auto screen = Make<CScreen>("screen", 0, 0, kSkinWidth, kSkinHeight, kInitialized);
    // The panel covers pixels 10..49 x 10..39; its child would reach 79 x 59 on the screen. A see-through panel still
    // clips its children.
    auto panel = Add<CPanel>(*screen, "panel", 10, 10, 40, 30);
    Add<CPanel>(*panel, "child", 30, 20, 40, 30)->SetColor(Color4<float>(1, 0, 0, 1));
    for (const float alpha : {1.0f, 0.0f}) {
        SCOPED_TRACE(alpha);
        Clear(0xFF000000u);
        panel->SetColor(Color4<float>(0, 0, 1, alpha));
        screen->Draw(glCanvas.get());
        ExpectPixels([alpha](int x, int y) -> std::uint32_t {
            return Inside(x, y, 40, 30, 50, 40) ? 0xFF0000u : alpha > 0 && Inside(x, y, 10, 10, 50, 40) ? 0x0000FFu : 0;
        });
    }

    CTexture texture;
    texture.Create(16, 16, 1, 0, os::gfx::Format::A8R8G8B8, os::gfx::Pool::Managed);
    os::gfx::LockedRect locked;
    ASSERT_EQ(os::gfx::kOk, texture.GetD3DTexture()->LockRect(0, &locked, nullptr, 0));
    for (int i = 0; i < 16 * 16; ++i) {
        const int x = i % 16, y = i / 16;
        const std::uint32_t texel = RegionColor(Band(y, 4, 12), Band(x, 4, 12));
        std::memcpy(static_cast<std::uint8_t*>(locked.Bits) + y * locked.Pitch + x * 4, &texel, 4);
    }
    ASSERT_EQ(os::gfx::kOk, texture.GetD3DTexture()->UnlockRect(0));
    // The body {4, 4, 8, 8} covers the control at (20, 10), 40 x 24: the picture reaches 4 texels beyond each edge,
    // to {16, 6, 48, 32}, with 4 x 4 corners.
    const auto skin = LoadSkin<CSkinAppearance>(
        {"BodyRect.left=4", "BodyRect.top=4", "BodyRect.width=8", "BodyRect.height=8", "Texture=t"}, {{"t", &texture}});
    glCanvas->GetBrush().SetFiltering(false);
    for (const bool mirrored : {false, true}) {
        SCOPED_TRACE(mirrored);
        Clear(0xFF000000u);
        screen->RemoveAllControls();
        auto control = Add<CControl>(*screen, "skinned", 20, 10, 40, 24);
        control->SetAppearance(skin);
        if (mirrored) {
            control->SetAnimation(CAnimationComponentStock::GetInstance()->Create("HorizontalMirrorStatic"));
        }
        screen->Draw(glCanvas.get());
        // The mirror x -> 40 - x swaps the columns and turns the canvas's half-pixel shift around, so everything lands
        // one pixel to the right.
        const int shift = mirrored ? 1 : 0;
        ExpectPixels([shift](int x, int y) -> std::uint32_t {
            const int column = Band(x - shift, 20, 60);
            return Inside(x - shift, y, 16, 6, 64, 38) ? RegionColor(Band(y, 10, 34), shift ? 2 - column : column)
                                                       : 0xFF000000u;
        });
    }

    // The program's skin: a framed skinned form holding one control of each skinned kind.
    stock.RegisterDefaultAppearances();
    IDataLoader* loader = driver->GetDataLoader().get();
    stock.LoadAppearances(loader, "skin", [this, loader](const std::string& name) {
        return textures->Load(loader, "skin\\" + name, false, "", os::gfx::Format::Unknown);
    });
    screen->RemoveAllControls();
    glCanvas->GetBrush().SetFiltering(true);
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

    ReferenceImage picture{kSkinWidth, kSkinHeight, {}};
    ASSERT_EQ(os::gfx::kOk, device->ReadBackBuffer(&picture.pixels, nullptr, nullptr));
    if (UpdatingReferenceImages()) {
        WriteImage(kReference, picture);
        GTEST_SKIP() << "reference written: " << kReference;
    }
    const ReferenceImage reference = ReadImage(kReference);
    ASSERT_EQ(std::pair(picture.width, picture.height), std::pair(reference.width, reference.height))
        << "no reference picture of this size at " << kReference;
    ASSERT_EQ(picture.pixels.size(), reference.pixels.size());

    // A few levels of rounding per channel are the software rasteriser's business; a changed skin or layout moves far
    // more than a handful of pixels.
    int different = 0;
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        for (const int shift : {16, 8, 0}) {
            const int drawn = static_cast<int>((picture.pixels[i] >> shift) & 0xFFu);
            const int stored = static_cast<int>((reference.pixels[i] >> shift) & 0xFFu);
            different += std::abs(drawn - stored) > 6 ? 1 : 0;
        }
    }
    EXPECT_LE(different, kSkinWidth * kSkinHeight * 3 / 500) << different << " channel values differ";
}
