/** @file WindowSceneTestSupport.h A window scene whose outside world the test sets: back buffer, controller,
 * sound, capture. */
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"
#include "KorvaneXDK/platform/input/StandardController.h"
#include "frontend/forms/FormSceneLink.h"
#include "host/MegaWindowScene.h"

namespace host_test
{

/// Each named action on its own code; the test holds codes with an analog value. Presses latch
/// by the controller's own poll rule.
class CFakeUiController : public korvane::CStandardController
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
    /// Held (value > 0 unless given) or let go; takes effect at the next Update.
    void Hold(const std::string& action, bool held, float value = 1.0f)
    {
        korvane::CScopedLock lock(GetLock());
        held_[codes_.at(action)] = held ? value : -1.0f;
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
    int GetDeviceType() override { return korvane::kControllerKeyboard; }
    void Update() override
    {
        korvane::CScopedLock lock(GetLock());
        RefreshButtons();
    }
    bool GetActiveInput(const std::string&, int) override { return false; }
    std::string GetInputName(const std::string&, int) override { return ""; }

protected:
    void EvaluateInput(std::uint32_t code, bool& down, float& value) override
    {
        auto found = held_.find(code);
        if (found != held_.end() && found->second >= 0.0f) {
            down = true;
            value = found->second;
        }
    }

private:
    std::map<std::string, std::uint32_t> codes_;
    std::map<std::uint32_t, float> held_;
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
    float frameSeconds = 0.0f;

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
    float ReadFrameSeconds() override { return frameSeconds; }
};

} // namespace host_test
