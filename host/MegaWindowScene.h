/** @file MegaWindowScene.h The scene that drives and draws the whole user interface. */
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "KorvaneXDK/core/GameWindowListener.h"
#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/StandardScene.h"
#include "KorvaneXDK/mwt/MotionTween.h"
#include "KorvaneXDK/platform/graphics/Camera.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "KorvaneXDK/platform/graphics/Viewport.h"
#include "host/WindowMessageRecord.h"

namespace korvane
{
class CShaderPair;
class IController;
class ITexture;
namespace canvas
{
class CCanvas;
}
namespace mwt
{
class CForm;
class CScreen;
} // namespace mwt
} // namespace korvane

class CCursorForm;
class CWallpaperForm;

/// Owns the toolkit's one screen and the canvas it is drawn with, and maps the 1920 x 1080
/// interface canvas onto the back buffer, turned by the rotation setting and fitted to the
/// aspect setting. Each frame it hands the queued window messages and the named input actions
/// to the toolkit as events, steps the toolkit and draws it. Main thread only.
///
/// Rotation changes turn over 0.3 s; aspect changes, a restore and the first frame apply at
/// once. Exceptions of the engine thrown while input is handled, while the toolkit steps or
/// while it draws are logged and the frame goes on.
class CMegaWindowScene : public korvane::CStandardScene, public korvane::IGameWindowListener
{
public:
    static constexpr std::uint16_t kPriority = 0x8000;
    static constexpr float kTurnSeconds = 0.3f;
    static constexpr float kTurnEasing = 0.3f;

    /// The one scene, made on first use; the scene manager owns it once queued.
    static CMegaWindowScene* GetInstance();
    /// The scene when one exists, else null: never makes one.
    static CMegaWindowScene* FindInstance();
    /// Clears the instance pointer when it points here.
    ~CMegaWindowScene() override;

    /// Window listener, fonts and their aliases, the canvas shader, the screen, the transform,
    /// the skin, then the logo splash and the cursor.
    void Initialize() override;
    /// The transform again, and the next frame shows the rotation at once.
    void Restore() override;
    /// The frame count is not used; the time is the frame clock's.
    void Update(int frames) override;
    /// Listener removed, screen released, font registry released.
    void Finalize() override;

    virtual korvane::mwt::CScreen* GetScreenPtr();
    virtual boost::shared_ptr<korvane::mwt::CScreen> GetScreen();
    /// Quarter turns clockwise, 0 to 3; shown from the next frame on.
    virtual void SetScreenRotation(std::int32_t rotation);
    virtual std::int32_t GetScreenRotation();
    /// 0 the back buffer's own, 1 16:9, 2 16:10, 3 4:3, 4 5:4 (others as 0).
    virtual void SetAspectRatio(std::int32_t aspectRatio);
    virtual std::int32_t GetAspectRatio();
    /// The same path again changes nothing; another closes the current wallpaper form and adds
    /// a new one for the path.
    virtual void SetWallpaper(const std::string& path);

    /// Viewport from the back buffer, aspect, camera, screen size.
    void UpdateTransform();
    /// The skin folder's appearances, the control classes' default appearances and the form
    /// animations.
    void LoadSkin();
    /// The logo splash, then the cursor (kept): the end of Initialize.
    void AddStandingForms();
    /// "skin\" + name through the scene's own texture cache.
    korvane::ITexture* LoadSkinTexture(const std::string& name);

    // IGameWindowListener
    bool OnWindowMessage(korvane::CGameWindow* window, std::uint32_t message, os::window::WParam wParam,
                         os::window::LParam lParam, os::window::LResult* result) override;

    /// The messages queued since the previous frame, oldest first, to the screen.
    void DispatchQueuedMessages();
    /// The named actions to pointer, key and click events.
    void PollUiInput(float seconds);

    /// One frame with the given elapsed seconds: what Update does after reading the clock.
    void RunFrame(float seconds);

    /// Logs each form the screen has gained ("Form opened: " and its form name) or lost ("Form
    /// closed: ") since the last call; RunFrame calls it after the screen's update.
    void ReportFormChanges();
    /// While on, every input the scene hands the screen is logged too ("UI: key 0x1B", "UI: focus
    /// OptionsButton", "UI: click at 700,368", the pointer's mode and free moves), and each named
    /// action let go ("UI: released decide"). Starts on when the environment has KORVANE_UI_TRACE=1.
    void SetInputTrace(bool on) { inputTrace_ = on; }

    // State, for the owner and tests.
    float GetAspect() const { return aspect_; }
    float GetCurrentAngle() const { return angleTween_.GetValue(); }
    float GetCurrentScale() const { return scaleTween_.GetValue(); }
    korvane::Matrix4 GetScreenTransform() const;
    korvane::CViewport& GetViewport() { return viewport_; }
    korvane::CCamera& GetCamera() { return camera_; }
    korvane::canvas::CCanvas* GetCanvas() { return canvas_.get(); }
    boost::shared_ptr<CCursorForm> GetCursorForm() const { return cursorForm_; }
    boost::shared_ptr<CWallpaperForm> GetWallpaperForm() const { return wallpaperForm_; }
    const std::string& GetWallpaperPath() const { return wallpaperPath_; }
    std::size_t GetQueuedMessageCount() const { return messageQueue_.size(); }

protected:
    CMegaWindowScene();

    // Reaching outside; tests replace them.
    /// The drawable's size (0 x 0 without a graphics device).
    virtual void ReadBackBufferSize(std::uint32_t& width, std::uint32_t& height);
    /// The resource scene's merged controller.
    virtual korvane::IController* GetUiController();
    virtual void PlayCursorSound();
    virtual void CaptureMouse(korvane::CGameWindow* window);
    virtual void ReleaseMouse();
    /// Whole milliseconds of the frame clock's last interval, in seconds.
    virtual float ReadFrameSeconds();

private:
    void FocusNavigationPass(korvane::IController& controller);
    void FreePointerPass(korvane::IController& controller, float seconds, bool decideHeld);
    void SendKey(unsigned int key);
    void Trace(const std::string& text);
    void TraceFocus(const korvane::mwt::CForm& form);
    /// "UI: released decide" for each traced action let go since the last frame.
    void TraceReleases(korvane::IController& controller);
    void ApplyDeviceStates();
    void DrawScreen();

    korvane::CViewport viewport_;
    korvane::CCamera camera_;
    korvane::CTextureCache textureCache_;
    std::unique_ptr<korvane::canvas::CCanvas> canvas_;
    boost::shared_ptr<korvane::mwt::CScreen> screen_;
    boost::shared_ptr<CCursorForm> cursorForm_;
    boost::shared_ptr<korvane::mwt::CForm> lastActiveForm_;
    boost::shared_ptr<CWallpaperForm> wallpaperForm_;
    std::string wallpaperPath_;
    boost::shared_ptr<korvane::CShaderPair> canvasShader_;
    std::deque<WindowMessageRecord> messageQueue_;
    std::int32_t rotation_ = 0;
    std::int32_t appliedRotation_ = -1;
    korvane::mwt::TMotionTween<float> angleTween_;
    korvane::mwt::TMotionTween<float> scaleTween_;
    std::int32_t aspectRatio_ = 0;
    float aspect_ = 1.7777778f;
    korvane::CGameWindow* listeningWindow_ = nullptr;
    /// The forms on the screen at the last report, with their names (a closed one may be gone).
    std::vector<std::pair<boost::weak_ptr<korvane::mwt::CForm>, std::string>> reportedForms_;
    bool inputTrace_ = false;
    /// The traced actions held at the last frame.
    std::set<std::string> tracedHeld_;
};
