/** @file SaveDataFolder.cpp The per-user folder that holds every file the program writes. */
#include "host/SaveDataFolder.h"

#include <mutex>

#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/Log.h"
#include "os/system/System.h"
#include "os/system/UserDataRoot.h"

namespace
{

std::mutex gFolderMutex;
std::string gSaveDataFolder;

} // namespace

std::string GetSaveDataFolder()
{
    std::lock_guard<std::mutex> lock(gFolderMutex);
    return gSaveDataFolder;
}

void SetSaveDataFolder(const std::string& folder)
{
    std::lock_guard<std::mutex> lock(gFolderMutex);
    gSaveDataFolder = folder;
}

void CreateSaveDataFolder()
{
    const std::string root = os::system::GetUserDataRoot();
    if (root.empty())
        return;
    const std::string path = korvane::AppendBackslash(root) + "Vumo/VorthenixZambrelliot/";
    SetSaveDataFolder(path);
    korvane::LogInfoF("Save data location = '%s'", path.c_str());
    if (!korvane::DirectoryExists(path)) {
        korvane::LogInfo("Creating save data directory...");
        korvane::CreateDirectoryTree(path);
    } else {
        korvane::LogInfo("Save data directory already exists.");
    }
}
