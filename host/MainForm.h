/** @file MainForm.h The form a game runs in: its thread, its picture, the pause menu and the way back. */
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/GameWindowListener.h"
#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/platform/graphics/StandardDXGraphicsEventListener.h"
#include "host/ConsoleFrameComposer.h"
#include "host/MainFormDesign.h"
#include "os/gfx/TextureTypes.h"
#include "os/window/Messages.h"

namespace korvane
{
class CTexture;
namespace canvas
{
class CCanvas;
struct Rect2f;
} // namespace canvas
} // namespace korvane

class CDialogForm;
class CPausableThread;
class CPauseForm;

/// Owns the running game's thread and shows its frames: the newest frame with the previous one
/// cross-faded over it, turned a quarter and scaled to the form's height. The pause key opens
/// the pause menu; leaving it for the title menu asks first; the closed form opens a new title
/// menu. The game thread is stopped on every way out: closing, the window's close message and
/// destruction.
///
/// The games reach the newest form through the composer's instance, on their own thread, for
/// three things only: the frame hand-over, the side message and the pause switch. Everything
/// else runs on the main thread.
class CMainForm : public CMainFormDesign,
                  public CConsoleFrameComposer,
                  public korvane::CStandardDXGraphicsEventListener,
                  public korvane::IGameWindowListener
{
public:
    static constexpr std::uint32_t kTextureSize = 512;
    static constexpr std::uint32_t kImageWidth = 448;
    static constexpr std::uint32_t kImageHeight = 288;
    static constexpr unsigned int kPauseKey = os::window::VK_PAUSE;
    static constexpr std::uint32_t kCloseMessage = 0x10;

    CMainForm();
    /// Stops the game thread, releases the device resources and leaves both listener lists.
    ~CMainForm() override;

    /// The newest main form, or null. Only the games' three calls below should go through it.
    static CMainForm* GetInstance();
    /// ShowSideMessage / SetPauseEnabled on the newest main form; nothing without one.
    static void ShowSideMessageOnInstance(const std::string& text);
    static void SetPauseEnabledOnInstance(bool enabled);

    /// Initialised: the listeners, the layout, the textures and buffers, the focus, the effects.
    virtual void OnCreate(korvane::mwt::CForm* sender);
    /// Closed: a new title menu.
    virtual void ReturnToGameSelect(korvane::mwt::CForm* sender);
    /// Closing (and the window's close message): releases the game thread, which stops and is
    /// waited for. No display lock is held meanwhile, so a game waiting for it can finish.
    virtual void DropGameThread(korvane::mwt::CForm* sender = nullptr);
    /// The pause key while the form is not closing and pausing is enabled: the pause sound, the
    /// pause menu, the thread paused and the music faded (or dropped when it had stopped).
    virtual void Pause(korvane::mwt::CControl* sender, unsigned int key);
    virtual void OnUpdate(korvane::mwt::CComponent* sender, float seconds);
    /// Uploads both frames and draws them; nothing while the device resources are missing.
    virtual void Present(korvane::mwt::CControl* sender, korvane::canvas::CCanvas* canvas);
    virtual void OnPauseFormClosed(korvane::mwt::CForm* sender);
    virtual void OnQuitDialogClosed(korvane::mwt::CForm* sender);
    virtual void StartTessarilGame();
    virtual void StartQVR2Game();
    /// Game thread: the text shows (or "" hides the label) before the next drawn frame.
    virtual void ShowSideMessage(const std::string& text);
    virtual void SetPauseEnabled(bool enabled);
    virtual bool IsPauseEnabled() const;

    /// Creates both textures and, from texture A's locked pitch, the three buffers. A failed
    /// lock throws EIOError "Cannot lock texture"; a failed unlock is logged and leaves no
    /// buffers and the flag clear. Under the display lock.
    virtual void CreateDeviceResources();
    /// Releases both textures' device objects and drops the buffers. Under the display lock.
    virtual void ReleaseGraphicsResources();
    /// Copies the buffer into level 0 of the texture row by row, by the buffer's own pitch.
    /// A failed lock throws EIOError "Cannot lock texture"; a failed unlock is only logged.
    virtual void UploadBackBuffer(korvane::CTexture& texture, const CMemoryBackBuffer& buffer);

    void OnDeviceLost() override;
    void OnDeviceReset() override;
    /// The close message releases the game thread; never handled.
    bool OnWindowMessage(korvane::CGameWindow* window, std::uint32_t message, os::window::WParam wParam,
                         os::window::LParam lParam, os::window::LResult* result) override;

    /// The previous frame's alpha: 1 - (now - last hand-over) / k with k = 75 / frame rate,
    /// clamped to 0..1; 0 before the rate is first measured.
    static float CrossFadeAlpha(double lastHandOverTick, double nowTick, double frameRate);
    /// Takes the image's points to the client area: centred on it, turned a quarter with the
    /// image's right edge on top and its width scaled to a little over the client's height.
    static korvane::Matrix4 PictureTransform(const korvane::canvas::Rect2f& client);

    const boost::shared_ptr<korvane::CTexture>& GetTextureA() const { return textureA_; }
    const boost::shared_ptr<korvane::CTexture>& GetTextureB() const { return textureB_; }
    const boost::shared_ptr<CPausableThread>& GetGameThread() const { return gameThread_; }
    const boost::shared_ptr<CPauseForm>& GetPauseForm() const { return pauseForm_; }
    const boost::shared_ptr<CDialogForm>& GetQuitDialog() const { return quitDialog_; }

protected:
    /// The device's lock and unlock of level 0, kept apart so that their failures can be had.
    virtual os::gfx::Result LockTexture(korvane::CTexture& texture, os::gfx::LockedRect& locked, std::uint32_t flags);
    virtual os::gfx::Result UnlockTexture(korvane::CTexture& texture);
    /// Frame passes per second at the frame clock's last measurement; 0 before the first.
    virtual double GetMeasuredFrameRate();
    /// The game's thread, made but not started (tests run scripted games in their place).
    virtual boost::shared_ptr<CPausableThread> MakeQVR2Thread();
    virtual boost::shared_ptr<CPausableThread> MakeTessarilThread();

private:
    void StartGame(const std::string& formName, const std::string& dataFolder,
                   const boost::shared_ptr<CPausableThread>& thread, const std::string& wallpaper);
    /// Continue: the focus back, the thread resumed, the music at the music volume.
    void Resume();
    /// Shows the side message a game left since the last frame.
    void ApplySideMessage();

    boost::shared_ptr<korvane::CTexture> textureA_;
    boost::shared_ptr<korvane::CTexture> textureB_;
    boost::shared_ptr<CPausableThread> gameThread_;
    boost::shared_ptr<CPauseForm> pauseForm_;
    boost::shared_ptr<CDialogForm> quitDialog_;
    std::atomic<bool> pauseEnabled_{true};
    std::mutex sideMessageMutex_;
    std::string sideMessage_;
    bool sideMessagePending_ = false;
    bool listening_ = false;
};
