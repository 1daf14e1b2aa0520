/** @file MainForm.cpp The form a game runs in. */
#include "host/MainForm.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/GameWindow.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/mwt/AnimationComponentStock.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/PauseForm.h"
#include "games/qvr2/QVR2Thread.h"
#include "games/tessaril/TessarilThread.h"
#include "host/ConsoleServices.h"
#include "host/ResourceCache.h"
#include "host/ResourceScene.h"
#include "host/SoundServices.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Texture.h"

using korvane::CScopedLock;
using korvane::mwt::CForm;

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "MainForm";

constexpr std::int16_t kMusicFadeOut = 15;
constexpr std::int16_t kMusicResume = 0;
/// Ticks of the games' 75 Hz clock per second.
constexpr double kTicksPerSecond = 75.0;
/// The picture's width spans a little more than the client height.
constexpr double kOverscan = 1.0037037134170532;
/// The float nearest to -pi/2: the image's right edge turns to the top.
constexpr float kQuarterTurn = -1.5707963705062866f;

korvane::CCriticalSection& DisplayLock()
{
    return CResourceScene::GetInstance()->GetDisplayLock();
}

/// The canvas's matrix, brush and clip as Present found them, on every way out.
class CanvasStateGuard
{
public:
    explicit CanvasStateGuard(korvane::canvas::CCanvas& canvas) : canvas_(canvas)
    {
        canvas_.PushMatrix();
        canvas_.PushBrush();
        canvas_.PushClipRect();
    }
    ~CanvasStateGuard()
    {
        canvas_.PopClipRect();
        canvas_.PopBrush();
        canvas_.PopMatrix();
    }
    CanvasStateGuard(const CanvasStateGuard&) = delete;
    CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;

private:
    korvane::canvas::CCanvas& canvas_;
};

} // namespace

double CMainForm::GetMeasuredFrameRate()
{
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    korvane::CFrameRateKeeper* keeper = driver != nullptr ? driver->GetFrameRateKeeper() : nullptr;
    return keeper != nullptr ? keeper->measuredFrameRate : 0.0;
}

CMainForm::CMainForm()
{
    InitializedEvent = [this](CForm* sender) { OnCreate(sender); };
    // A form is still hidden while it initialises, so the focus taken there does not hold;
    // it is taken again once the form is shown.
    OpenedEvent = [this](CForm*) { SetFocus(); };
    ClosingEvent = [this](CForm* sender) { DropGameThread(sender); };
    ClosedEvent = [this](CForm* sender) { ReturnToGameSelect(sender); };
    KeyDownEvent = [this](korvane::mwt::CControl* sender, unsigned int key) { Pause(sender, key); };
    UpdateEvent = [this](korvane::mwt::CComponent* sender, float seconds) { OnUpdate(sender, seconds); };
    DrawEvent = [this](korvane::mwt::CControl* sender, korvane::canvas::CCanvas* canvas) { Present(sender, canvas); };
    CloseAnimationFactory = korvane::mwt::CAnimationComponentStock::GetInstance()->GetFactory("SpreadOut");
}

CMainForm::~CMainForm()
{
    try {
        DropGameThread();
        ReleaseGraphicsResources();
    } catch (const korvane::EException& e) {
        korvane::LogErrorF("CMainForm: %s", e.GetMessage().c_str());
    } catch (const std::exception& e) {
        korvane::LogErrorF("CMainForm: %s", e.what());
    }
    if (listening_) {
        if (korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver()) {
            if (korvane::CGameWindow* window = driver->GetGameWindow())
                window->RemoveListener(this);
            if (korvane::CDXGraphics* graphics = driver->GetGraphics())
                graphics->RemoveListener(this);
        }
    }
    // The dialog and the pause menu may stay on the screen longer than this form.
    if (quitDialog_)
        quitDialog_->ClosedEvent.clear();
    if (pauseForm_)
        pauseForm_->ClosedEvent.clear();
}

CMainForm* CMainForm::GetInstance()
{
    return dynamic_cast<CMainForm*>(CConsoleFrameComposer::GetInstance());
}

void CMainForm::ShowSideMessageOnInstance(const std::string& text)
{
    // The instance dies under the display lock.
    CScopedLock lock(DisplayLock());
    if (CMainForm* form = GetInstance())
        form->ShowSideMessage(text);
}

void CMainForm::SetPauseEnabledOnInstance(bool enabled)
{
    CScopedLock lock(DisplayLock());
    if (CMainForm* form = GetInstance())
        form->SetPauseEnabled(enabled);
}

void CMainForm::OnCreate(CForm*)
{
    if (korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver()) {
        if (korvane::CDXGraphics* graphics = driver->GetGraphics())
            graphics->AddListener(this);
        if (korvane::CGameWindow* window = driver->GetGameWindow())
            window->AddListener(this);
        listening_ = true;
    }
    InitializeComponent(&CResourceScene::GetInstance()->GetFormCache());
    textureA_.reset(new korvane::CTexture());
    textureB_.reset(new korvane::CTexture());
    CreateDeviceResources();
    MessageLabel->SetVisible(false);
    SetFocus();
    SoundLoadEffectBank();
}

void CMainForm::ReturnToGameSelect(CForm*)
{
    CFormSceneLink::GetScreen()->AddControl(boost::shared_ptr<CGameSelectForm>(new CGameSelectForm()));
}

void CMainForm::DropGameThread(CForm*)
{
    // The thread's destructor stops it and waits; the pointer is cleared first, so that
    // nothing reaches a thread that is going away.
    boost::shared_ptr<CPausableThread> thread;
    thread.swap(gameThread_);
    thread.reset();
}

void CMainForm::Pause(korvane::mwt::CControl*, unsigned int key)
{
    if (IsClosing() || key != kPauseKey || !IsPauseEnabled())
        return;
    CFormSceneLink::PlaySound(EUiSound::Pause);
    pauseForm_.reset(new CPauseForm());
    pauseForm_->ClosedEvent = [this](CForm* sender) { OnPauseFormClosed(sender); };
    CFormSceneLink::GetScreen()->AddControl(pauseForm_);
    if (gameThread_) {
        gameThread_->SetPaused(true);
        // Fades a playing track, drops a stopped one.
        MusicCommand(kMusicFadeOut);
    }
}

void CMainForm::OnUpdate(korvane::mwt::CComponent*, float)
{
    ApplySideMessage();
}

void CMainForm::OnPauseFormClosed(CForm* sender)
{
    auto* pause = dynamic_cast<CPauseForm*>(sender);
    if (pause == nullptr)
        pause = pauseForm_.get();
    if (pause == nullptr || !pause->IsExitRequested()) {
        Resume();
        return;
    }
    CResourceScene* scene = CResourceScene::GetInstance();
    quitDialog_.reset(new CDialogForm(2, "CONFIRM", scene->GetText("88_1"), scene->GetText("88_2"), ""));
    quitDialog_->ClosedEvent = [this](CForm* dialog) { OnQuitDialogClosed(dialog); };
    CFormSceneLink::GetScreen()->AddControl(quitDialog_);
}

void CMainForm::OnQuitDialogClosed(CForm* sender)
{
    auto* dialog = dynamic_cast<CDialogForm*>(sender);
    if (dialog == nullptr)
        dialog = quitDialog_.get();
    if (dialog != nullptr && dialog->IsAccepted())
        Close();
    else
        Resume();
}

void CMainForm::Resume()
{
    SetFocus();
    if (gameThread_) {
        gameThread_->SetPaused(false);
        MusicCommand(kMusicResume);
    }
}

void CMainForm::StartQVR2Game()
{
    StartGame("QVR DRAVOST", korvane::AppendBackslash("rom0_qvr2"), MakeQVR2Thread(), "formimage\\wallpaper_title.png");
}

void CMainForm::StartTessarilGame()
{
    StartGame("TESSARIL VORN",
              korvane::AppendBackslash("rom0_tessaril_" + CResourceScene::GetInstance()->GetLanguage()),
              MakeTessarilThread(), "formimage\\wallpaper02.png");
}

void CMainForm::StartGame(const std::string& formName, const std::string& dataFolder,
                          const boost::shared_ptr<CPausableThread>& thread, const std::string& wallpaper)
{
    SetFormName(formName);
    ResourceSetDataFolder(dataFolder);
    // The earlier game has stopped before the new one starts.
    DropGameThread();
    gameThread_ = thread;
    gameThread_->Start();
    CFormSceneLink::SetWallpaper(wallpaper);
}

boost::shared_ptr<CPausableThread> CMainForm::MakeQVR2Thread()
{
    return boost::shared_ptr<CPausableThread>(new CQVR2Thread());
}

boost::shared_ptr<CPausableThread> CMainForm::MakeTessarilThread()
{
    return boost::shared_ptr<CPausableThread>(new CTessarilThread());
}

void CMainForm::ShowSideMessage(const std::string& text)
{
    std::lock_guard<std::mutex> lock(sideMessageMutex_);
    sideMessage_ = text;
    sideMessagePending_ = true;
}

void CMainForm::ApplySideMessage()
{
    std::string text;
    {
        std::lock_guard<std::mutex> lock(sideMessageMutex_);
        if (!sideMessagePending_)
            return;
        sideMessagePending_ = false;
        text.swap(sideMessage_);
    }
    if (!MessageLabel)
        return;
    if (text.empty()) {
        MessageLabel->SetVisible(false);
        return;
    }
    MessageLabel->SetCaption(text);
    MessageLabel->SetVisible(true);
}

void CMainForm::SetPauseEnabled(bool enabled)
{
    pauseEnabled_ = enabled;
}

bool CMainForm::IsPauseEnabled() const
{
    return pauseEnabled_;
}

os::gfx::Result CMainForm::LockTexture(korvane::CTexture& texture, os::gfx::LockedRect& locked, std::uint32_t flags)
{
    os::gfx::Texture* device = texture.GetD3DTexture();
    if (device == nullptr)
        return os::gfx::kErrInvalidCall;
    return device->LockRect(0, &locked, nullptr, flags);
}

os::gfx::Result CMainForm::UnlockTexture(korvane::CTexture& texture)
{
    os::gfx::Texture* device = texture.GetD3DTexture();
    if (device == nullptr)
        return os::gfx::kErrInvalidCall;
    return device->UnlockRect(0);
}

void CMainForm::CreateDeviceResources()
{
    CScopedLock lock(DisplayLock());
    // A reset notice can arrive once the form listens and before it has made its textures; the
    // creation that follows makes the resources then.
    if (!textureA_ || !textureB_)
        return;
    for (korvane::CTexture* texture : {textureA_.get(), textureB_.get()}) {
        texture->Create(kTextureSize, kTextureSize, 1, os::gfx::usage::Dynamic, os::gfx::Format::X8R8G8B8,
                        os::gfx::Pool::Default);
        texture->SetImageSize(kImageWidth, kImageHeight);
    }
    os::gfx::LockedRect locked;
    os::gfx::Result result = LockTexture(*textureA_, locked, 0);
    if (os::gfx::Failed(result)) {
        korvane::ReportDirectXError(result, kSourceFile, __LINE__);
        throw korvane::EIOError(static_cast<CForm*>(this), "Cannot lock texture");
    }
    const std::int32_t pitch = locked.Pitch;
    result = UnlockTexture(*textureA_);
    if (os::gfx::Failed(result)) {
        korvane::ReportDirectXError(result, kSourceFile, __LINE__);
        // Buffers from an earlier creation must not outlive the textures they were sized for.
        DropBuffers();
        return;
    }
    MakeBuffers(pitch);
}

void CMainForm::ReleaseGraphicsResources()
{
    CScopedLock lock(DisplayLock());
    if (textureA_)
        textureA_->Release();
    if (textureB_)
        textureB_->Release();
    DropBuffers();
}

void CMainForm::UploadBackBuffer(korvane::CTexture& texture, const CMemoryBackBuffer& buffer)
{
    os::gfx::LockedRect locked;
    const os::gfx::Result result = LockTexture(texture, locked, os::gfx::lock::Discard);
    if (os::gfx::Failed(result)) {
        korvane::ReportDirectXError(result, kSourceFile, __LINE__);
        throw korvane::EIOError(static_cast<CForm*>(this), "Cannot lock texture");
    }
    // Row by row by each side's own pitch, so that a texture whose pitch differs from the
    // buffer's is neither overrun nor read past.
    const std::int32_t rows = std::min<std::int32_t>(static_cast<std::int32_t>(kTextureSize), buffer.GetHeight());
    const std::int32_t bytes = std::min(locked.Pitch, buffer.GetPitch());
    auto* out = static_cast<std::uint8_t*>(locked.Bits);
    if (out != nullptr && bytes > 0) {
        if (locked.Pitch == buffer.GetPitch()) {
            std::memcpy(out, buffer.GetRow(0), static_cast<std::size_t>(rows) * static_cast<std::size_t>(bytes));
        } else {
            for (std::int32_t y = 0; y < rows; ++y)
                std::memcpy(out + static_cast<std::ptrdiff_t>(y) * locked.Pitch, buffer.GetRow(y),
                            static_cast<std::size_t>(bytes));
        }
    }
    const os::gfx::Result unlocked = UnlockTexture(texture);
    if (os::gfx::Failed(unlocked))
        korvane::ReportDirectXError(unlocked, kSourceFile, __LINE__);
}

float CMainForm::CrossFadeAlpha(double lastHandOverTick, double nowTick, double frameRate)
{
    const double k = kTicksPerSecond / frameRate;
    const auto t = static_cast<float>(((lastHandOverTick - nowTick) + k) / k);
    if (t > 1.0f)
        return 1.0f;
    if (t > 0.0f)
        return t;
    // Also not a number, as before the first measurement.
    return 0.0f;
}

korvane::Matrix4 CMainForm::PictureTransform(const korvane::canvas::Rect2f& client)
{
    using namespace korvane::canvas;
    const auto s = static_cast<float>((client.height / static_cast<double>(kImageWidth)) * kOverscan);
    // Centred at half the client size (not offset by the client's corner: the form has none).
    return Multiply(Multiply(MakeTranslation(client.width / 2.0f, client.height / 2.0f), MakeScaling(s, s)),
                    Multiply(MakeRotationZ(kQuarterTurn), MakeTranslation(-static_cast<float>(kImageWidth) / 2.0f,
                                                                          -static_cast<float>(kImageHeight) / 2.0f)));
}

void CMainForm::Present(korvane::mwt::CControl*, korvane::canvas::CCanvas* canvas)
{
    ApplySideMessage();
    if (canvas == nullptr)
        return;
    CScopedLock lock(DisplayLock());
    // Without device resources (a failed unlock, a failed reset) there is nothing to show.
    if (!HasDeviceResources() || !textureA_ || !textureB_)
        return;
    UploadBackBuffer(*textureB_, *GetPreviousFrame());
    UploadBackBuffer(*textureA_, *GetNewestFrame());
    const float alpha = CrossFadeAlpha(GetLastHandOverTick(), TicksGetExact(), GetMeasuredFrameRate());

    CanvasStateGuard state(*canvas);
    canvas->ResetClipRect();
    canvas->MultiplyMatrix(PictureTransform(GetClientRect()));
    canvas->DrawImageAt(korvane::Vector2<float>(0.0f, 0.0f), textureA_.get());
    canvas->GetBrush().SetColor(korvane::Color4<float>(1.0f, 1.0f, 1.0f, alpha));
    canvas->DrawImageAt(korvane::Vector2<float>(0.0f, 0.0f), textureB_.get());
}

void CMainForm::OnDeviceLost()
{
    ReleaseGraphicsResources();
}

void CMainForm::OnDeviceReset()
{
    CreateDeviceResources();
}

bool CMainForm::OnWindowMessage(korvane::CGameWindow*, std::uint32_t message, os::window::WParam, os::window::LParam,
                                os::window::LResult*)
{
    if (message == kCloseMessage)
        DropGameThread();
    return false;
}
