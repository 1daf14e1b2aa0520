/** @file Application.cpp The program's start-up and shutdown order. */
#include "host/Application.h"

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/DataLoaderChain.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "os/system/System.h"
#include "os/window/Icon.h"

namespace
{

std::string gSaveFolder;

constexpr int kFrameRate = 75;
constexpr int kMaxFramesPerPass = 2;

/// The per-user data root + "Vumo/VorthenixZambrelliot/", made when missing. These lines come
/// before the log file is open, so they reach only the console.
std::string MakeSaveFolder()
{
    const std::string root = os::system::GetUserDataRoot();
    if (root.empty()) {
        return std::string();
    }
    const std::string path = korvane::AppendBackslash(root) + "Vumo\\VorthenixZambrelliot\\";
    korvane::LogInfoF("Save data location = '%s'", path.c_str());
    if (!korvane::DirectoryExists(path)) {
        korvane::LogInfo("Creating save data directory...");
        korvane::CreateDirectoryTree(path);
    } else {
        korvane::LogInfo("Save data directory already exists.");
    }
    return path;
}

} // namespace

std::string GetApplicationSaveFolder()
{
    return gSaveFolder;
}

void RunApplication(os::window::InstanceHandle)
{
    boost::shared_ptr<CDataLoaderChain> chain(new CDataLoaderChain());
    const std::string archive =
        korvane::AppendBackslash(korvane::GetDirectory(korvane::GetModuleFilePath())) + "data.kva";
    chain->Add(boost::shared_ptr<korvane::IDataLoader>(
        new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(archive)));
    korvane::LogInfo("Added DataLoaderChain: " + archive);

    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    driver->SetDataLoader(chain);
    driver->SetTitle(kApplicationTitle);
    driver->SetCursor(os::window::GetProgramCursor());
    driver->SetIcon(os::window::GetProgramIcon());
    driver->SetDialogBannerImage("DialogBanner1.bmp");
    driver->SetWindowBannerImage("WindowBanner1.bmp");
    driver->SetPauseWhenInactive(false);
    driver->SetDisableWindowsKey(true);
    driver->SetMinimumScreenSize(640, 480);
    driver->SetMinimumRefreshRate(45);
    driver->SetUseConfigDialog(false);
    driver->SetDisplaySettingPath(gSaveFolder + "display_setting.ini");

    if (!driver->Initialize()) {
        return;
    }
    driver->SetPaintText("");
    korvane::CFrameRateKeeper* keeper = driver->GetFrameRateKeeper();
    keeper->SetFrameRate(kFrameRate);
    keeper->maxFrames = kMaxFramesPerPass;
    driver->Run();
}

int ApplicationMain(os::window::InstanceHandle instance)
{
    gSaveFolder = MakeSaveFolder();
    const std::string logName = korvane::ReplaceExtension(korvane::GetFileName(korvane::GetModuleFilePath()), ".log");
    korvane::LoggerInitialize(gSaveFolder + logName);
    if (!korvane::CreateApplicationDriver(instance)) {
        return -1;
    }
    try {
        RunApplication(instance);
    } catch (const korvane::EException& e) {
        korvane::HandleEngineException(e);
    } catch (const std::exception& e) {
        korvane::HandleStdException(e);
    }
    korvane::DestroyApplicationDriver();
    return 0;
}
