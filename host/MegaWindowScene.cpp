/** @file MegaWindowScene.cpp The scene that drives and draws the whole user interface. */
#include "host/MegaWindowScene.h"

#include <cstdlib>

#include <algorithm>

#include <boost/bind/bind.hpp>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/GameWindow.h"
#include "KorvaneXDK/mwt/AnimationComponentStock.h"
#include "KorvaneXDK/mwt/CheckBox.h"
#include "KorvaneXDK/mwt/ComboBox.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Edit.h"
#include "KorvaneXDK/mwt/Knob.h"
#include "KorvaneXDK/mwt/Pager.h"
#include "KorvaneXDK/mwt/ProgressBar.h"
#include "KorvaneXDK/mwt/RadioButton.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/mwt/TrackBar.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "frontend/forms/CursorForm.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/LogoSplashForm.h"
#include "frontend/forms/WallpaperForm.h"
#include "host/ScreenFit.h"
#include "os/gfx/Device.h"

namespace
{

CMegaWindowScene* gInstance = nullptr;

using korvane::mwt::CControlAppearanceStock;

/// The stock's by-name factory for a control class's default appearance.
template <typename TFactory>
void UseSkinAppearance(TFactory& slot, CControlAppearanceStock& stock, const std::string& name)
{
    slot = stock.GetFactory(name);
}

} // namespace

CMegaWindowScene* CMegaWindowScene::GetInstance()
{
    if (gInstance == nullptr)
        gInstance = new CMegaWindowScene;
    return gInstance;
}

CMegaWindowScene* CMegaWindowScene::FindInstance()
{
    return gInstance;
}

CMegaWindowScene::CMegaWindowScene() : korvane::CStandardScene(kPriority), screen_(new korvane::mwt::CScreen(""))
{
    for (korvane::mwt::TMotionTween<float>* tween : {&angleTween_, &scaleTween_}) {
        tween->SetDuration(kTurnSeconds);
        tween->SetEasing(kTurnEasing);
        tween->JumpToEnd();
    }
    const char* trace = std::getenv("KORVANE_UI_TRACE");
    inputTrace_ = trace != nullptr && std::string(trace) == "1";
    if (gInstance == nullptr)
        gInstance = this;
    // The front end's forms find the screen through their link.
    if (gInstance == this)
        CFormSceneLink::SetScreen(screen_.get());
}

CMegaWindowScene::~CMegaWindowScene()
{
    if (gInstance == this) {
        gInstance = nullptr;
        CFormSceneLink::SetScreen(nullptr);
    }
    if (listeningWindow_ != nullptr)
        listeningWindow_->RemoveListener(this);
}

void CMegaWindowScene::Initialize()
{
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    if (driver == nullptr)
        throw korvane::EInvalidOperation(this, "No application driver.");
    if (korvane::CGameWindow* window = driver->GetGameWindow()) {
        window->AddListener(this);
        listeningWindow_ = window;
    }
    korvane::IDataLoader& loader = korvane::RequireDriverDataLoader(this);
    korvane::canvas::CFontStock::GetInstance()->LoadFonts(&loader, "fonts");
    if (!canvas_)
        canvas_.reset(new korvane::canvas::CCanvas());
    canvas_->AddFontAlias("default", "FONT12T2S");
    canvas_->AddFontAlias("smaller", "FONT08T2_C");
    canvasShader_ = korvane::RequireShaderEnvironment(this).GetShaderPair("shader\\canvas");
    canvas_->SetShaderPair(canvasShader_);
    screen_->Initialize();
    UpdateTransform();
    LoadSkin();
    AddStandingForms();
}

void CMegaWindowScene::AddStandingForms()
{
    screen_->AddControl(boost::shared_ptr<korvane::mwt::CForm>(new CLogoSplashForm()));
    cursorForm_.reset(new CCursorForm());
    screen_->AddControl(cursorForm_);
}

void CMegaWindowScene::Restore()
{
    appliedRotation_ = -1;
    UpdateTransform();
}

void CMegaWindowScene::Finalize()
{
    if (listeningWindow_ != nullptr) {
        listeningWindow_->RemoveListener(this);
        listeningWindow_ = nullptr;
    }
    if (gInstance == this)
        CFormSceneLink::SetScreen(nullptr);
    cursorForm_.reset();
    lastActiveForm_.reset();
    wallpaperForm_.reset();
    screen_.reset();
    korvane::canvas::CFontStock::ReleaseInstance();
}

korvane::mwt::CScreen* CMegaWindowScene::GetScreenPtr()
{
    return screen_.get();
}

boost::shared_ptr<korvane::mwt::CScreen> CMegaWindowScene::GetScreen()
{
    return screen_;
}

void CMegaWindowScene::SetScreenRotation(std::int32_t rotation)
{
    rotation_ = rotation;
}

std::int32_t CMegaWindowScene::GetScreenRotation()
{
    return rotation_;
}

void CMegaWindowScene::SetAspectRatio(std::int32_t aspectRatio)
{
    aspectRatio_ = aspectRatio;
    UpdateTransform();
    appliedRotation_ = -1;
}

std::int32_t CMegaWindowScene::GetAspectRatio()
{
    return aspectRatio_;
}

void CMegaWindowScene::SetWallpaper(const std::string& path)
{
    if (path == wallpaperPath_)
        return;
    wallpaperPath_ = path;
    if (wallpaperForm_)
        wallpaperForm_->Close();
    wallpaperForm_.reset(new CWallpaperForm(path));
    screen_->AddControl(wallpaperForm_);
}

void CMegaWindowScene::UpdateTransform()
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    ReadBackBufferSize(width, height);
    viewport_.Set(0, 0, width, height, 0.0f, 1.0f);
    if (korvane::GetDriverDevice() != nullptr)
        viewport_.Apply();
    const float own = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.7777778f;
    aspect_ = screen_fit::AspectOfSetting(aspectRatio_, own);
    const float left = screen_fit::BandLeft(aspect_);
    camera_.SetOrthoOffCenter(left, left + screen_fit::kCanvasHeight * aspect_, screen_fit::kCanvasHeight, 0.0f, 150.0f,
                              -150.0f);
    // The eye sits on the canvas origin: an eye moved by a unit would shift the whole picture up and left
    // and leave the right-most column and the bottom row of the back buffer undrawn.
    camera_.SetEye(0.0f, 0.0f, 0.0f);
    camera_.SetTarget(0.0f, 0.0f, 1.0f);
    if (screen_)
        screen_->SetSize(korvane::Vector2<float>(screen_fit::kCanvasWidth, screen_fit::kCanvasHeight));
}

void CMegaWindowScene::LoadSkin()
{
    using namespace korvane::mwt;
    boost::shared_ptr<CControlAppearanceStock> stock = CControlAppearanceStock::GetInstance();
    stock->LoadAppearances(&korvane::RequireDriverDataLoader(this), "skin",
                           boost::bind(&CMegaWindowScene::LoadSkinTexture, this, boost::placeholders::_1));
    UseSkinAppearance(CDefaultFactories::FormAppearance, *stock, "SkinForm");
    UseSkinAppearance(CDefaultFactories::ButtonAppearance, *stock, "SkinButton");
    UseSkinAppearance(CDefaultFactories::KnobAppearance, *stock, "SkinKnob");
    UseSkinAppearance(CDefaultFactories::PagerAppearance, *stock, "SkinBorder");
    UseSkinAppearance(CDefaultFactories::EditAppearance, *stock, "SkinBorder");
    UseSkinAppearance(CDefaultFactories::ListBoxAppearance, *stock, "SkinBorder");
    UseSkinAppearance(CDefaultFactories::ScrollBarAppearance, *stock, "SkinScrollBar");
    UseSkinAppearance(CDefaultFactories::ComboBoxAppearance, *stock, "SkinComboBox");
    UseSkinAppearance(CDefaultFactories::RadioButtonAppearance, *stock, "SkinRadioButton");
    UseSkinAppearance(CDefaultFactories::CheckBoxAppearance, *stock, "SkinCheckBox");
    UseSkinAppearance(CDefaultFactories::TrackBarAppearance, *stock, "SkinTrackBar");
    UseSkinAppearance(CDefaultFactories::ProgressBarAppearance, *stock, "SkinProgressBar");
    boost::shared_ptr<CAnimationComponentStock> animations = CAnimationComponentStock::GetInstance();
    CDefaultFactories::FormOpenAnimation = animations->GetFactory("ZoomOpen");
    CDefaultFactories::FormCloseAnimation = animations->GetFactory("SpreadOut");
}

korvane::ITexture* CMegaWindowScene::LoadSkinTexture(const std::string& name)
{
    // One level: with a mip chain the linear mip filter blurs the skin on screens under 1080 lines.
    return textureCache_.LoadWithDriverLoader("skin\\" + name, false, "", os::gfx::Format::Unknown);
}

void CMegaWindowScene::Update(int)
{
    RunFrame(ReadFrameSeconds());
}

void CMegaWindowScene::RunFrame(float seconds)
{
    // Nothing is left to drive once finalised.
    if (!screen_)
        return;
    try {
        DispatchQueuedMessages();
        PollUiInput(seconds);
    } catch (const korvane::EException& e) {
        korvane::LogEngineException(e);
    }
    try {
        screen_->Update(seconds);
    } catch (const korvane::EException& e) {
        korvane::LogEngineException(e);
    }
    ReportFormChanges();
    if (viewport_.GetWidth() != 0 && viewport_.GetHeight() != 0 && korvane::GetDriverDevice() != nullptr)
        viewport_.Apply();
    if (rotation_ != appliedRotation_) {
        const float angle = static_cast<float>(rotation_) * screen_fit::kQuarterTurn;
        angleTween_.SetFrom(angleTween_.GetValue());
        angleTween_.SetTo(angle);
        angleTween_.Rewind();
        scaleTween_.SetFrom(scaleTween_.GetValue());
        scaleTween_.SetTo(screen_fit::FitScale(angle, aspect_));
        scaleTween_.Rewind();
        if (appliedRotation_ == -1) {
            angleTween_.JumpToEnd();
            scaleTween_.JumpToEnd();
        }
        appliedRotation_ = rotation_;
    }
    if (canvas_ && korvane::GetDriverDevice() != nullptr)
        DrawScreen();
    angleTween_.Advance(seconds);
    scaleTween_.Advance(seconds);
}

korvane::Matrix4 CMegaWindowScene::GetScreenTransform() const
{
    const korvane::Vector2<float> size =
        screen_ ? screen_->GetSize() : korvane::Vector2<float>(screen_fit::kCanvasWidth, screen_fit::kCanvasHeight);
    return screen_fit::ForHalfPixelVertices(
        screen_fit::ScreenTransform(size.x, size.y, angleTween_.GetValue(), scaleTween_.GetValue()));
}

void CMegaWindowScene::DrawScreen()
{
    os::gfx::Device& device = korvane::RequireDriverDevice(this);
    device.BeginScene();
    // A control that throws in the middle of its draw leaves its own pushes behind; the stacks
    // go back to where this frame found them, whatever failed, and the scene is ended.
    const std::size_t matrices = canvas_->GetMatrixDepth();
    const std::size_t brushes = canvas_->GetBrushDepth();
    const std::size_t fonts = canvas_->GetFontDepth();
    const std::size_t clips = canvas_->GetClipDepth();
    try {
        ApplyDeviceStates();
        camera_.Apply();
        canvas_->BeginDraw();
        if (canvasShader_)
            canvasShader_->Begin();
        canvas_->PushMatrix();
        canvas_->PushBrush();
        canvas_->MultiplyMatrix(GetScreenTransform());
        try {
            screen_->Draw(canvas_.get());
        } catch (const korvane::EException& e) {
            korvane::LogEngineException(e);
        }
    } catch (const korvane::EException& e) {
        korvane::LogEngineException(e);
    }
    // Fonts and clip rectangles a failed control left pushed would otherwise shrink every later frame.
    // The clip stack never empties (a pop of its last entry refills it with the unbounded rectangle),
    // so it comes back to one unbounded entry when the frame found it at most that deep.
    while (canvas_->GetClipDepth() > std::max<std::size_t>(clips, 1))
        canvas_->PopClipRect();
    if (clips <= 1 && canvas_->GetClipDepth() == 1)
        canvas_->ResetClipRect();
    while (canvas_->GetFontDepth() > std::max<std::size_t>(fonts, 1))
        canvas_->PopFont();
    while (canvas_->GetBrushDepth() > brushes)
        canvas_->PopBrush();
    while (canvas_->GetMatrixDepth() > matrices)
        canvas_->PopMatrix();
    canvas_->EndDraw();
    device.EndScene();
}

void CMegaWindowScene::ApplyDeviceStates()
{
    using os::gfx::RenderState;
    using os::gfx::SamplerState;
    namespace v = os::gfx::value;
    os::gfx::Device& device = korvane::RequireDriverDevice(this);
    korvane::CDXGraphics* graphics = korvane::GetApplicationDriver()->GetGraphics();
    const std::uint32_t anisotropy = graphics->GetAnisotropy();
    const bool magAnisotropic = (graphics->GetCaps().TextureFilterCaps & os::gfx::filtercaps::MagAnisotropic) != 0;
    const bool multisample = graphics->GetCurrentPresentParameters().MultiSampleType != os::gfx::MultiSampleType::None;
    auto samplerSetUp = [&](std::uint32_t stage) {
        if (anisotropy > 0) {
            device.SetSamplerState(stage, SamplerState::MagFilter,
                                   magAnisotropic ? v::FilterAnisotropic : v::FilterLinear);
            device.SetSamplerState(stage, SamplerState::MinFilter, v::FilterAnisotropic);
            device.SetSamplerState(stage, SamplerState::MipFilter, v::FilterLinear);
            device.SetSamplerState(stage, SamplerState::MaxAnisotropy, anisotropy);
        } else {
            device.SetSamplerState(stage, SamplerState::MagFilter, v::FilterLinear);
            device.SetSamplerState(stage, SamplerState::MinFilter, v::FilterLinear);
            device.SetSamplerState(stage, SamplerState::MipFilter, v::FilterLinear);
        }
        device.SetRenderState(RenderState::MultiSampleAntialias, multisample ? v::True : v::False);
        device.SetSamplerState(stage, SamplerState::AddressU, v::AddressWrap);
        device.SetSamplerState(stage, SamplerState::AddressV, v::AddressWrap);
    };
    for (std::uint32_t stage = 0; stage < 3; ++stage)
        samplerSetUp(stage);
    device.SetRenderState(RenderState::SrcBlend, v::BlendSrcAlpha);
    device.SetRenderState(RenderState::DestBlend, v::BlendInvSrcAlpha);
    device.SetRenderState(RenderState::ZEnable, v::ZBufferTrue);
    device.SetRenderState(RenderState::ZWriteEnable, v::True);
    device.SetRenderState(RenderState::AlphaRef, 0);
    device.SetRenderState(RenderState::AlphaFunc, v::CmpGreater);
    device.SetRenderState(RenderState::AlphaTestEnable, v::True);
    device.SetRenderState(RenderState::CullMode, v::CullCCW);
    samplerSetUp(0);
    device.SetRenderState(RenderState::SrcBlend, v::BlendSrcAlpha);
    device.SetRenderState(RenderState::DestBlend, v::BlendInvSrcAlpha);
    device.SetRenderState(RenderState::AlphaBlendEnable, v::True);
    device.SetRenderState(RenderState::AlphaTestEnable, v::False);
    device.SetRenderState(RenderState::ZEnable, v::ZBufferFalse);
    device.SetRenderState(RenderState::ZWriteEnable, v::False);
    device.SetRenderState(RenderState::FogEnable, v::False);
    device.SetRenderState(RenderState::Lighting, v::False);
    device.SetRenderState(RenderState::MultiSampleAntialias, v::False);
}

void CMegaWindowScene::ReadBackBufferSize(std::uint32_t& width, std::uint32_t& height)
{
    width = 0;
    height = 0;
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    korvane::CDXGraphics* graphics = driver != nullptr ? driver->GetGraphics() : nullptr;
    if (graphics == nullptr || graphics->GetDevice() == nullptr)
        return;
    const os::gfx::PresentParameters& parameters = graphics->GetCurrentPresentParameters();
    width = parameters.BackBufferWidth;
    height = parameters.BackBufferHeight;
}

float CMegaWindowScene::ReadFrameSeconds()
{
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    korvane::CFrameRateKeeper* keeper = driver != nullptr ? driver->GetFrameRateKeeper() : nullptr;
    if (keeper == nullptr || keeper->GetFrequency() <= 0)
        return 0.0f;
    const std::int64_t milliseconds = keeper->frameInterval * 1000 / keeper->GetFrequency();
    return static_cast<float>(static_cast<double>(milliseconds) / 1000.0);
}
