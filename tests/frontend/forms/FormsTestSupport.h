/** @file FormsTestSupport.h The driver on an offscreen OpenGL device with the built data archive, a screen the
 * forms open on, a fixed frame clock, and records of the sounds and presses the forms use. */
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>
#include <gtest/gtest.h>

#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "frontend/forms/FormSceneLink.h"
#include "host/MegaWindowScene.h"
#include "os/gfx/Types.h"
#include "os/window/MessageQueue.h"
#include "os/window/Messages.h"

namespace formtest
{

/// The frame time of the program's 75 frames a second.
constexpr float kFrame = 1.0f / 75.0f;

/// The screen as drawn on the device and read back from its back buffer.
struct ScreenPicture
{
    /// What clearing the back buffer and reading it back returned.
    os::gfx::Result cleared = 0, read = 0;
    /// The back buffer's pixels, 0xAARRGGBB, row by row from the top.
    std::vector<std::uint32_t> pixels;
    std::uint32_t width = 0, height = 0;
};

class FormsTest : public ::testing::Test
{
protected:
    /// The window scene, not started: it hands its screen to the forms' link and changes the
    /// wallpaper; the test steps and draws its screen itself.
    void SetUp() override
    {
        CFormSceneLink::Reset();
        screen = CMegaWindowScene::GetInstance()->GetScreen();
        screen->SetSize(korvane::Vector2<float>(1920.0f, 1080.0f));
        screen->Initialize();
        CFormSceneLink::SetSoundHandler([this](EUiSound sound) { sounds.push_back(sound); });
        CFormSceneLink::SetPressReader([this](const std::string& action) {
            reads.push_back(action);
            return latched.erase(action) > 0;
        });
        QuitPosted();
    }

    void TearDown() override
    {
        screen->RemoveAllControls();
        screen.reset();
        delete CMegaWindowScene::GetInstance();
        CFormSceneLink::Reset();
        QuitPosted();
    }

    /// One frame of the fixed clock.
    void Frame(float seconds = kFrame) { screen->Update(seconds); }

    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }

    /// The form added to the screen and its open animation run out.
    template <typename TForm>
    boost::shared_ptr<TForm> Show(boost::shared_ptr<TForm> form)
    {
        screen->AddControl(form);
        Frames(60);
        return form;
    }

    /// The forms of that class on the screen.
    template <typename TForm>
    std::vector<boost::shared_ptr<TForm>> FormsOf() const
    {
        std::vector<boost::shared_ptr<TForm>> found;
        for (const auto& child : screen->GetControls())
            if (auto form = boost::dynamic_pointer_cast<TForm>(child))
                found.push_back(form);
        return found;
    }

    /// A left click at the control's centre, sent to the screen.
    void ClickOn(const korvane::mwt::CControl& control)
    {
        const korvane::Vector2<float> size = control.GetSize();
        const korvane::Vector2<float> at = control.LocalToScreen(korvane::Vector2<float>(size.x / 2, size.y / 2));
        screen->OnMouseMove(at, 0);
        screen->OnMouseDown(at, 0);
        screen->OnMouseUp(at, 0);
    }

    /// The screen drawn with the canvas shader pair, under the orthographic projection of the box from (left, top)
    /// to (right, bottom), on the back buffer cleared to black; then read back.
    ScreenPicture DrawScreen(float left, float right, float bottom, float top);

    /// Whether a quit message was posted; the queue is emptied.
    static bool QuitPosted()
    {
        os::window::Message message;
        bool quit = false;
        while (os::window::PeekMessage(message, true))
            quit = quit || message.message == os::window::WM_QUIT;
        return quit;
    }

    boost::shared_ptr<korvane::mwt::CScreen> screen;
    std::vector<EUiSound> sounds;
    std::vector<std::string> reads;
    /// The controller latches the next reads find set (each read clears its own).
    std::set<std::string> latched;
};

} // namespace formtest
