/** @file GameApplicationDriver.cpp The driver base. */
#include "KorvaneXDK/core/GameApplicationDriver.h"

#include <exception>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/Log.h"

namespace korvane
{

CGameApplicationDriver::CGameApplicationDriver(os::window::InstanceHandle instance) : instance_(instance)
{
    LoggerInitialize("");
    LogInfoF("---- [ %s ] Started ----", GetFileName(GetModuleFilePath()).c_str());
    LogCurrentDateTime();
    LogInfoF("Korvane Core library ver.%s", GetCoreVersionString().c_str());
    application_ = new CGameApplication(instance);
    window_ = new CGameWindow(application_->GetInstanceHandle(), "KorvaneWnd", "Korvane Application", nullptr, nullptr,
                              nullptr);
    window_->AddListener(&mainWindowListener_);
}

CGameApplicationDriver::~CGameApplicationDriver()
{
    delete application_;
    application_ = nullptr;
    delete window_;
    window_ = nullptr;
    LogInfoF("---- Application finalized ----");
    LoggerFinalize();
}

bool CGameApplicationDriver::Initialize()
{
    initialized_ = true;
    return true;
}

void CGameApplicationDriver::Run()
{
    LogInfoF("Application driver running...");
    window_->Show();
    try {
        application_->Run();
    } catch (const EException& e) {
        ShowEngineException(e, window_->GetHandle());
    } catch (const std::exception& e) {
        ShowStdException(e, window_->GetHandle());
    } catch (...) {
        ShowUnknownException("Unknown Exception", "", "", window_->GetHandle());
    }
    window_->Hide();
    LogInfoF("Application driver running finished.");
}

void CGameApplicationDriver::SetTitle(const std::string& title)
{
    title_ = title;
    window_->SetTitle(title);
}

void CGameApplicationDriver::SetIcon(os::window::IconHandle icon)
{
    icon_ = icon;
    window_->SetIcon(icon);
}

void CGameApplicationDriver::SetCursor(os::window::CursorHandle cursor)
{
    cursor_ = cursor;
    window_->SetCursor(cursor);
}

CGameWindow* CGameApplicationDriver::GetGameWindow()
{
    return window_;
}

CGameApplication* CGameApplicationDriver::GetApplication()
{
    return application_;
}

} // namespace korvane
