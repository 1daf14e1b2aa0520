/** @file MegaWindowSceneInput.cpp The window scene's half that turns window messages and named actions into
 * toolkit events. */
#include "host/MegaWindowScene.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "KorvaneXDK/core/GameWindow.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/input/Controller.h"
#include "frontend/forms/CursorForm.h"
#include "host/ResourceScene.h"
#include "os/window/MessageQueue.h"
#include "os/window/Messages.h"

namespace
{

using os::window::VK_DOWN;
using os::window::VK_ESCAPE;
using os::window::VK_LEFT;
using os::window::VK_PAUSE;
using os::window::VK_RETURN;
using os::window::VK_RIGHT;
using os::window::VK_UP;

/// Forms of this group and above take up, down and decide as keys and show no pointer.
constexpr std::int32_t kKeyFormGroup = 1000;
constexpr float kPointerOffsetX = 12.0f;
constexpr float kPointerFullSpeed = 1024.0f;

korvane::Vector2<float> Floored(const korvane::Vector2<float>& p)
{
    return korvane::Vector2<float>(std::floor(p.x), std::floor(p.y));
}

} // namespace

bool CMegaWindowScene::OnWindowMessage(korvane::CGameWindow* window, std::uint32_t message, os::window::WParam wParam,
                                       os::window::LParam lParam, os::window::LResult* result)
{
    using namespace os::window;
    switch (message) {
    case WM_SIZE:
        UpdateTransform();
        break;
    case WM_ACTIVATE:
        if ((wParam & 0xFFFF) == WA_INACTIVE)
            messageQueue_.push_back({message, static_cast<std::uint32_t>(wParam), static_cast<std::int32_t>(lParam)});
        break;
    case WM_CHAR:
        messageQueue_.push_back({message, static_cast<std::uint32_t>(wParam), static_cast<std::int32_t>(lParam)});
        break;
    case WM_LBUTTONDOWN:
        CaptureMouse(window);
        break;
    case WM_LBUTTONUP:
        ReleaseMouse();
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_MOUSEMOVE:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEWHEEL:
        break;
    default:
        return false;
    }
    if (result != nullptr)
        *result = 0;
    return true;
}

void CMegaWindowScene::DispatchQueuedMessages()
{
    while (!messageQueue_.empty()) {
        const WindowMessageRecord record = messageQueue_.front();
        messageQueue_.pop_front();
        if (record.message == os::window::WM_ACTIVATE)
            screen_->OnWindowDeactivate();
        else if (record.message == os::window::WM_CHAR)
            screen_->OnChar(record.wParam);
    }
}

void CMegaWindowScene::PollUiInput(float seconds)
{
    korvane::IController* controller = GetUiController();
    if (controller == nullptr || !cursorForm_ || !screen_)
        return;
    const bool decideHeld = controller->IsDown("decide");
    if (inputTrace_)
        TraceReleases(*controller);
    if (controller->WasPressed("mode")) {
        cursorForm_->SetFocusMode(!cursorForm_->IsFocusMode());
        Trace(cursorForm_->IsFocusMode() ? "UI: pointer follows the focus" : "UI: pointer moves freely");
    }
    if (controller->WasPressed("cursor"))
        cursorForm_->SetVisible(!cursorForm_->IsVisible());
    if (cursorForm_->IsFocusMode())
        FocusNavigationPass(*controller);
    else
        FreePointerPass(*controller, seconds, decideHeld);
}

void CMegaWindowScene::FocusNavigationPass(korvane::IController& controller)
{
    const boost::shared_ptr<korvane::mwt::CForm> activeForm = screen_->GetActiveForm();
    const bool pointerForm = activeForm && activeForm->GetGroup() < kKeyFormGroup;
    if (!activeForm || !activeForm->IsFocusable() || activeForm->IsClosing() || !activeForm->GetFocusedLeaf()) {
        cursorForm_->SetVisible(false);
        return;
    }
    cursorForm_->SetVisible(pointerForm);
    if (activeForm->IsEnabled() && pointerForm) {
        if (controller.WasPressed("up")) {
            activeForm->FocusPrevious();
            PlayCursorSound();
            TraceFocus(*activeForm);
        }
        if (controller.WasPressed("down")) {
            activeForm->FocusNext();
            PlayCursorSound();
            TraceFocus(*activeForm);
        }
    }
    if (const boost::shared_ptr<korvane::mwt::CControl> leaf = screen_->GetFocusedLeaf()) {
        const korvane::Vector2<float> p =
            leaf->LocalToScreen(korvane::Vector2<float>(kPointerOffsetX, leaf->GetSize().y * 0.5f));
        if (lastActiveForm_ != activeForm)
            cursorForm_->SetCursorPosition(p);
        else
            cursorForm_->SetTargetPosition(p);
    }
    lastActiveForm_ = activeForm;
    if (activeForm->IsEnabled()) {
        if (pointerForm && controller.WasPressed("decide")) {
            const korvane::Vector2<float> q = Floored(cursorForm_->GetCursorPosition());
            Trace(korvane::FormatString("UI: click at %d,%d", static_cast<int>(q.x), static_cast<int>(q.y)));
            screen_->OnMouseDown(q, 1);
            screen_->OnMouseUp(q, 1);
        }
        if (controller.WasPressed("left"))
            SendKey(VK_LEFT);
        if (controller.WasPressed("right"))
            SendKey(VK_RIGHT);
        if (!pointerForm) {
            if (controller.WasPressed("up"))
                SendKey(VK_UP);
            if (controller.WasPressed("down"))
                SendKey(VK_DOWN);
            if (controller.WasPressed("decide"))
                SendKey(VK_RETURN);
        }
        if (controller.WasPressed("cancel"))
            SendKey(VK_ESCAPE);
        if (controller.WasPressed("pause"))
            SendKey(VK_PAUSE);
    }
    cursorForm_->BringToFront();
}

void CMegaWindowScene::FreePointerPass(korvane::IController& controller, float seconds, bool decideHeld)
{
    const bool up = controller.IsDown("up");
    const bool down = controller.IsDown("down");
    const bool left = controller.IsDown("left");
    const bool right = controller.IsDown("right");
    if (up || down || left || right) {
        const float y = up ? -controller.GetValue("up") : down ? controller.GetValue("down") : 0.0f;
        const float x = left ? -controller.GetValue("left") : right ? controller.GetValue("right") : 0.0f;
        korvane::Vector2<float> p = cursorForm_->GetCursorPosition();
        const float length = std::sqrt(x * x + y * y);
        // A direction reported down at value 0 has no heading: the pointer stays.
        if (length > 0.0f) {
            const float m = std::min(length, 1.0f);
            const float speed = m * m * m * kPointerFullSpeed;
            p.x += x / length * speed * seconds;
            p.y += y / length * speed * seconds;
        }
        const korvane::Vector2<float> size = screen_->GetSize();
        p.x = std::max(std::min(p.x, size.x - 1.0f), 0.0f);
        p.y = std::max(std::min(p.y, size.y - 1.0f), 0.0f);
        cursorForm_->SetCursorPosition(p);
        const korvane::Vector2<float> q = Floored(cursorForm_->GetCursorPosition());
        Trace(korvane::FormatString("UI: pointer at %d,%d", static_cast<int>(q.x), static_cast<int>(q.y)));
        screen_->OnMouseMove(q, decideHeld ? 1 : 0);
    }
    cursorForm_->BringToFront();
}

void CMegaWindowScene::SendKey(unsigned int key)
{
    Trace(korvane::FormatString("UI: key 0x%02X", key));
    screen_->OnKeyDown(key);
    screen_->OnKeyUp(key);
}

void CMegaWindowScene::Trace(const std::string& text)
{
    if (inputTrace_)
        korvane::LogInfo(text);
}

void CMegaWindowScene::TraceReleases(korvane::IController& controller)
{
    // Read with IsDown only: the press latches stay for the passes below.
    static const char* const kTracedActions[] = {"up", "down", "left", "right", "decide", "cancel", "pause", "mode"};
    std::set<std::string> held;
    for (const char* action : kTracedActions) {
        if (controller.IsDown(action))
            held.insert(action);
        else if (tracedHeld_.count(action) != 0)
            Trace(std::string("UI: released ") + action);
    }
    tracedHeld_ = std::move(held);
}

void CMegaWindowScene::TraceFocus(const korvane::mwt::CForm& form)
{
    if (const boost::shared_ptr<korvane::mwt::CControl> leaf = form.GetFocusedLeaf())
        Trace("UI: focus " + leaf->GetName());
}

void CMegaWindowScene::ReportFormChanges()
{
    // Runs every frame: a form's name is taken once, when it first shows.
    std::vector<bool> stillShown(reportedForms_.size(), false);
    std::vector<std::pair<boost::weak_ptr<korvane::mwt::CForm>, std::string>> opened;
    for (const auto& child : screen_->GetControls()) {
        const auto form = boost::dynamic_pointer_cast<korvane::mwt::CForm>(child);
        if (!form)
            continue;
        // By owner, not by address: a form made in the frame another was freed may take its place in memory.
        const boost::weak_ptr<korvane::mwt::CForm> entry(form);
        const auto known = std::find_if(reportedForms_.begin(), reportedForms_.end(), [&](const auto& reported) {
            return !reported.first.owner_before(entry) && !entry.owner_before(reported.first);
        });
        if (known != reportedForms_.end())
            stillShown[static_cast<std::size_t>(known - reportedForms_.begin())] = true;
        else
            opened.emplace_back(entry, form->GetFormName().empty() ? form->GetName() : form->GetFormName());
    }
    if (opened.empty() && std::find(stillShown.begin(), stillShown.end(), false) == stillShown.end())
        return;
    std::vector<std::pair<boost::weak_ptr<korvane::mwt::CForm>, std::string>> now;
    for (std::size_t i = 0; i < reportedForms_.size(); ++i) {
        if (stillShown[i])
            now.push_back(std::move(reportedForms_[i]));
        else
            korvane::LogInfo("Form closed: " + reportedForms_[i].second);
    }
    for (auto& entry : opened) {
        korvane::LogInfo("Form opened: " + entry.second);
        now.push_back(std::move(entry));
    }
    reportedForms_ = std::move(now);
}

korvane::IController* CMegaWindowScene::GetUiController()
{
    return CResourceScene::GetInstance()->GetController();
}

void CMegaWindowScene::PlayCursorSound()
{
    CResourceScene::GetInstance()->PlayUiSound3();
}

void CMegaWindowScene::CaptureMouse(korvane::CGameWindow* window)
{
    if (window != nullptr)
        os::window::SetCapture(window->GetHandle());
}

void CMegaWindowScene::ReleaseMouse()
{
    os::window::ReleaseCapture();
}
