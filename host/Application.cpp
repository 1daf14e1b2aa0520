/** @file Application.cpp The program's start-up and shutdown order. */
#include "host/Application.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <boost/shared_ptr.hpp>
#include <cryptopp/cryptlib.h>

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
#include "os/system/System.h"
#include "os/window/Cursor.h"
#include "os/window/Icon.h"
#include "os/window/VideoDriver.h"

namespace
{

constexpr int kFrameRate = 75;
constexpr int kMaxFramesPerPass = 2;

using ArchiveLoader = korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>;

std::string ProgramName()
{
    return korvane::GetFileName(korvane::GetModuleFilePath());
}

/// "data.kva" beside the program.
std::string ArchivePath()
{
    return korvane::AppendBackslash(korvane::GetDirectory(korvane::GetModuleFilePath())) + "data.kva";
}

EStartFailure DamagedArchive(const std::string& path, const std::string& why)
{
    return EStartFailure("The game's data file \"" + korvane::GetFileName(path) + "\" in \"" +
                         korvane::GetDirectory(path) + "\" is damaged (" + why +
                         "). Reinstalling the game replaces it.");
}

std::string WithoutLineBreaks(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

/// Every entry's stored bytes must lie inside the file: a copy cut short is found here, at the
/// start, rather than at the first picture or sound that lies past its end.
void CheckEntriesInside(const korvane::CArchiveFileLoader& archive, const std::string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(korvane::ToSystemPath(path), error);
    if (error)
        throw korvane::EReadError(nullptr, error.message());
    for (std::int32_t i = 0; i < archive.GetEntryCount(); ++i) {
        const korvane::CArchiveFileEntryHeader& entry = *archive.GetEntry(i);
        const std::int64_t end = std::int64_t{archive.GetDataBase()} + entry.GetOffset() + entry.GetSize();
        if (entry.GetOffset() < 0 || entry.GetSize() < 0 || end > static_cast<std::int64_t>(size))
            throw korvane::EInvalidFileFormat(nullptr, "\"" + entry.GetName() + "\" lies past the end of the file");
    }
}

/// The archive beside the program, checked whole; what is wrong with it is said in plain words.
boost::shared_ptr<korvane::IDataLoader> OpenArchive(const std::string& path)
{
    const std::string name = korvane::GetFileName(path);
    const std::string folder = korvane::GetDirectory(path);
    if (!korvane::FileExists(path))
        throw EStartFailure("The game's data file \"" + name + "\" is missing: it was looked for in \"" + folder +
                            "\". Reinstalling the game puts it back.");
    try {
        auto* archive = new ArchiveLoader(path);
        boost::shared_ptr<korvane::IDataLoader> loader(archive);
        CheckEntriesInside(archive->GetArchive(), path);
        return loader;
    } catch (const korvane::EFileOpenError&) {
        throw EStartFailure("The game's data file \"" + name + "\" in \"" + folder + "\" cannot be read (" +
                            WithoutLineBreaks(os::system::GetLastErrorText()) + ").");
    } catch (const korvane::EException& e) {
        throw DamagedArchive(path, e.GetMessage());
    }
}

/// Said once, before anything fails because of it: in the log when the log could be opened, on
/// stderr otherwise. The folder's reason comes first, as the log's failure follows from it.
/// A folder that keeps nothing is also shown in a message box where there is a display: the
/// player, who never sees stderr or the log, would otherwise trust the settings to be kept.
void ReportUnwritableSaveFolder(const std::string& folder, const std::string& logPath, const std::string& folderProblem,
                                const std::string& logProblem)
{
    std::string message;
    if (!folderProblem.empty())
        message = "cannot write in the save folder '" + folder + "' (" + folderProblem +
                  "); the game runs on without keeping its settings and saves";
    else if (!logProblem.empty())
        message = "cannot write the log '" + logPath + "' (" + logProblem + "); the game runs on without it";
    else
        return;
    if (logProblem.empty()) {
        korvane::LogErrorF("%s", message.c_str());
    } else {
        std::fprintf(stderr, "%s: %s\n", ProgramName().c_str(), message.c_str());
        std::fflush(stderr);
    }
    if (!folderProblem.empty() && os::system::CanShowMessageBox())
        os::system::ShowErrorMessageBox(kApplicationTitle,
                                        "The game cannot write in its save folder \"" + folder + "\" (" +
                                            folderProblem +
                                            "). It runs on, but your settings and records will not be kept.",
                                        nullptr);
}

/// What the shutdown could not save is told where the player looks, once the driver has gone: the
/// log has it already where it could be written, and may be the very file that could not. The end
/// is then a failed one. A save folder that was said at the start to keep nothing is not said again.
void ReportUnsavedSettings(const std::string& folderProblem, int& status)
{
    const std::string unsaved = korvane::TakeShutdownFailures();
    if (unsaved.empty() || !folderProblem.empty())
        return;
    os::system::ShowErrorMessageBox(kApplicationTitle, unsaved, nullptr);
    status = kExitFailure;
}

void ReportStartFailure(const EStartFailure& failure)
{
    korvane::LogErrorF("%s", failure.GetMessage().c_str());
    os::system::ShowErrorMessageBox(kApplicationTitle, failure.GetMessage(), nullptr);
}

} // namespace

bool RunApplication(os::window::InstanceHandle)
{
    korvane::LoggerSetHook(&CConsoleHistory::LogSink);
    boost::shared_ptr<CDataLoaderChain> chain(new CDataLoaderChain());
    const std::string archive = ArchivePath();
    chain->Add(OpenArchive(archive));
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
        return false;
    }
    driver->SetPaintText("");
    driver->GetSceneManager()->AddScene(CResourceScene::GetInstance());
    driver->GetSceneManager()->AddScene(CMegaWindowScene::GetInstance());
    korvane::CFrameRateKeeper* keeper = driver->GetFrameRateKeeper();
    keeper->SetFrameRate(kFrameRate);
    keeper->maxFrames = kMaxFramesPerPass;
    driver->Run();
    // A start or a frame that threw has been shown by the loop; it is no clean end.
    return !driver->HasRunFailed();
}

int ApplicationMain(os::window::InstanceHandle instance, CreateDriverFunction createDriver, RunApplicationFunction run)
{
    if (createDriver == nullptr)
        createDriver = &korvane::CreateApplicationDriver;
    if (run == nullptr)
        run = &RunApplication;

    // Before anything is made or written: a program that nobody can see must not run.
    std::string noDisplay;
    if (!os::window::HasDisplay(noDisplay)) {
        std::fprintf(stderr, "%s: %s\n", ProgramName().c_str(), noDisplay.c_str());
        std::fflush(stderr);
        return kExitFailure;
    }

    os::store::Init();
    gSteamAchievements = new CSteamAchievements;
    CreateSteamServices();
    CreateSaveDataFolder();
    const std::string folder = GetSaveDataFolder();
    os::store::SetSaveFolder(folder);
    const std::string logPath = folder + korvane::ReplaceExtension(ProgramName(), ".log");
    // Asked before the log is opened, so that its failure is known and said only once.
    const std::string folderProblem = folder.empty() ? std::string() : os::system::FolderWriteProblem(folder);
    const std::string logProblem = os::system::FileWriteProblem(logPath);
    korvane::LoggerInitialize(logPath);
    ReportUnwritableSaveFolder(folder, logPath, folderProblem, logProblem);
    // The store's failed reads and writes go where every other failure goes.
    os::store::SetLogFunction([](const std::string& line) { korvane::LogErrorF("store: %s", line.c_str()); });
    if (!createDriver(instance)) {
        os::store::SetLogFunction(nullptr);
        return -1;
    }
    // Reports of an earlier run in this process are not this run's.
    korvane::TakeShutdownFailures();
    int status = kExitFailure;
    try {
        if (run(instance))
            status = 0;
    } catch (const EStartFailure& e) {
        ReportStartFailure(e);
    } catch (const CryptoPP::Exception& e) {
        // The library deciphers and inflates the archive's entries and nothing else: the data of
        // an entry is damaged (its table was whole when the archive was opened).
        ReportStartFailure(DamagedArchive(ArchivePath(), e.what()));
    } catch (const korvane::EException& e) {
        korvane::HandleEngineException(e);
    } catch (const std::exception& e) {
        korvane::HandleStdException(e);
    }
    korvane::DestroyApplicationDriver();
    ReportUnsavedSettings(folderProblem, status);
    delete gSteamAchievements.exchange(nullptr);
    os::store::SetLogFunction(nullptr);
    os::store::Shutdown();
    return status;
}
