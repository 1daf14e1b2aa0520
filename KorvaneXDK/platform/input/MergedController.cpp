/** @file MergedController.cpp Forwarding to the members: first true answer wins, values take the largest. */
#include "KorvaneXDK/platform/input/MergedController.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ScopedLock.h"

namespace korvane
{

CMergedController::CMergedController() = default;

CMergedController::~CMergedController() = default;

void CMergedController::ThrowUnsupported() const
{
    throw EInvalidOperation(this, "サポートされていないメソッド呼び出しです.");
}

int CMergedController::GetDeviceType()
{
    return kControllerMerged;
}

void CMergedController::Update()
{
    CScopedLock lock(lock_);
    for (IController* controller : controllers_)
        controller->Update();
}

bool CMergedController::IsDown(const std::string& name)
{
    CScopedLock lock(lock_);
    for (IController* controller : controllers_) {
        if (controller->IsDown(name))
            return true;
    }
    return false;
}

bool CMergedController::WasPressed(const std::string& name)
{
    CScopedLock lock(lock_);
    for (IController* controller : controllers_) {
        if (controller->WasPressed(name))
            return true;
    }
    return false;
}

float CMergedController::GetValue(const std::string& name)
{
    CScopedLock lock(lock_);
    float largest = 0.0f;
    for (IController* controller : controllers_) {
        const float value = controller->GetValue(name);
        if (value > largest)
            largest = value;
    }
    return largest;
}

void CMergedController::ResetAll()
{
    CScopedLock lock(lock_);
    for (IController* controller : controllers_)
        controller->ResetAll();
}

void CMergedController::SetExclusive(bool exclusive)
{
    CScopedLock lock(lock_);
    for (IController* controller : controllers_)
        controller->SetExclusive(exclusive);
}

bool CMergedController::IsExclusive()
{
    CScopedLock lock(lock_);
    for (IController* controller : controllers_) {
        if (controller->IsExclusive())
            return true;
    }
    return false;
}

void CMergedController::SetActive(bool active)
{
    CScopedLock lock(lock_);
    for (IController* controller : controllers_)
        controller->SetActive(active);
}

bool CMergedController::IsActive()
{
    CScopedLock lock(lock_);
    for (IController* controller : controllers_) {
        if (controller->IsActive())
            return true;
    }
    return false;
}

void CMergedController::AddButton(const std::string&, const std::string&)
{
    ThrowUnsupported();
}

std::string CMergedController::GetButtonLabel(const std::string&)
{
    ThrowUnsupported();
}

bool CMergedController::GetActiveInput(const std::string&, int)
{
    ThrowUnsupported();
}

void CMergedController::SetMapping(const std::string&, int, std::uint32_t)
{
    ThrowUnsupported();
}

std::uint32_t CMergedController::GetMapping(const std::string&, int)
{
    ThrowUnsupported();
}

std::string CMergedController::GetInputName(const std::string&, int)
{
    ThrowUnsupported();
}

void CMergedController::AddController(IController* controller)
{
    CScopedLock lock(lock_);
    controllers_.push_back(controller);
}

} // namespace korvane
