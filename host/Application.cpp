/** @file Application.cpp The program's start-up and shutdown order. */
#include "host/Application.h"

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/DataLoaderChain.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/SceneManager.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "frontend/steam/SteamAchievements.h"
#include "frontend/steam/SteamServices.h"
#include "host/ConsoleHistory.h"
#include "host/MegaWindowScene.h"
#include "host/ResourceScene.h"
#include "host/SaveDataFolder.h"
#include "os/store/Store.h"
#include "os/window/Cursor.h"
#include "os/window/Icon.h"

namespace
{

constexpr int kFrameRate = 75;
constexpr int kMaxFramesPerPass = 2;

} // namespace

void RunApplication(os::window::InstanceHandle)
{
    korvane::LoggerSetHook(&CConsoleHistory::LogSink);
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
    // Stored only: no window system here lets a program take the system key away.
    driver->SetDisableWindowsKey(true);
    driver->SetMinimumScreenSize(640, 480);
    driver->SetMinimumRefreshRate(45);
    driver->SetUseConfigDialog(false);
    driver->SetDisplaySettingPath(GetSaveDataFolder() + "display_setting.ini");

    if (!driver->Initialize()) {
        return;
    }
    driver->SetPaintText("");
    driver->GetSceneManager()->AddScene(CResourceScene::GetInstance());
    driver->GetSceneManager()->AddScene(CMegaWindowScene::GetInstance());
    korvane::CFrameRateKeeper* keeper = driver->GetFrameRateKeeper();
    keeper->SetFrameRate(kFrameRate);
    keeper->maxFrames = kMaxFramesPerPass;
    driver->Run();
}

int ApplicationMain(os::window::InstanceHandle instance, CreateDriverFunction createDriver, RunApplicationFunction run)
{
    if (createDriver == nullptr)
        createDriver = &korvane::CreateApplicationDriver;
    if (run == nullptr)
        run = &RunApplication;

    os::store::Init();
    gSteamAchievements = new CSteamAchievements;
    CreateSteamServices();
    CreateSaveDataFolder();
    os::store::SetSaveFolder(GetSaveDataFolder());
    const std::string logName = korvane::ReplaceExtension(korvane::GetFileName(korvane::GetModuleFilePath()), ".log");
    korvane::LoggerInitialize(GetSaveDataFolder() + logName);
    if (!createDriver(instance)) {
        return -1;
    }
    try {
        run(instance);
    } catch (const korvane::EException& e) {
        korvane::HandleEngineException(e);
    } catch (const std::exception& e) {
        korvane::HandleStdException(e);
    }
    korvane::DestroyApplicationDriver();
    delete gSteamAchievements.exchange(nullptr);
    os::store::Shutdown();
    return 0;
}
