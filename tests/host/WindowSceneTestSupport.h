/** @file WindowSceneTestSupport.h A window scene whose outside world the test sets: back buffer, controller,
 * sound, capture. */
#pragma once

#include "HostTestSupport.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "frontend/forms/FormSceneLink.h"
#include "host/MegaWindowScene.h"

namespace host_test
{

/// Each named action on its own code; presses latch by the controller's own poll rule.
class CFakeUiController : public CHeldKeysController
{
public:
    CFakeUiController()
    {
        std::uint32_t code = 1;
        for (const char* name : {"up", "down", "left", "right", "decide", "cancel", "pause", "mode", "cursor"}) {
            AddButton(name, "");
            SetMapping(name, 0, code);
            codes_[name] = code++;
        }
    }
    void Hold(const std::string& action, bool held, float value = 1.0f)
    {
        CHeldKeysController::Hold(codes_.at(action), held, value);
    }
    /// Held and polled: the latch is set until read (or until a poll sees the release).
    void Press(const std::string& action, float value = 1.0f)
    {
        Hold(action, true, value);
        Update();
    }
    void Release(const std::string& action)
    {
        Hold(action, false);
        Update();
    }

private:
    std::map<std::string, std::uint32_t> codes_;
};

/// The scene without a driver: its back buffer is what the test says, its controller the fake.
/// Forms get no pictures, and the skinned form look is the plain one (this program loads no skin).
class CTestWindowScene : public CMegaWindowScene
{
public:
    CTestWindowScene()
    {
        CFormSceneLink::SetTextureLoader(
            [](korvane::CTextureCache*, const std::string&) { return boost::shared_ptr<korvane::ITexture>(); });
        korvane::mwt::CControlAppearanceStock::GetInstance()->RegisterAlias("SkinForm", "SimpleForm");
    }
    ~CTestWindowScene() override { CFormSceneLink::SetTextureLoader(CFormSceneLink::TextureLoader()); }

    std::uint32_t backBufferWidth = 1920;
    std::uint32_t backBufferHeight = 1080;
    CFakeUiController controller;
    int cursorSounds = 0;
    std::vector<std::string> captures;

protected:
    void ReadBackBufferSize(std::uint32_t& width, std::uint32_t& height) override
    {
        width = backBufferWidth;
        height = backBufferHeight;
    }
    korvane::IController* GetUiController() override { return &controller; }
    void PlayCursorSound() override { ++cursorSounds; }
    void CaptureMouse(korvane::CGameWindow*) override { captures.push_back("capture"); }
    void ReleaseMouse() override { captures.push_back("release"); }
};

} // namespace host_test
