/** @file Store.h Life cycle, pump and interfaces of the local game-store service. */
#pragma once

#include <functional>
#include <string>

#include "os/store/StoreTypes.h"

namespace os::store
{

class Apps;
class Friends;
class User;
class UserStats;
class Utils;

/// Starts the service. Touches no file: the save folder is not known yet.
bool Init();
/// Stops the service; pending results are dropped without calling any handler.
void Shutdown();
/// Delivers every result that is ready, on the calling (main) thread, in completion order.
/// Results of requests started during this call arrive at a later call at the earliest.
void RunCallbacks();

/// The folder that holds the service's files; set by the program once it exists. Until it
/// is set the service keeps its data in memory only. An empty path is the working folder.
void SetSaveFolder(const std::string& folder);

/// The interfaces; null while the service is not running.
UserStats* GetUserStats();
User* GetUser();
Friends* GetFriends();
Utils* GetUtils();
Apps* GetApps();

/// Result lines for a debugger: silent unless KORVANE_STORE_DEBUG is set (then stderr), or
/// captured by a test.
void DebugOutput(const char* text);

/// Where the service reports damaged files and failed writes (stderr until set).
void SetLogFunction(std::function<void(const std::string&)> log);

} // namespace os::store
