/** @file SaveDataFolder.h The per-user folder that holds every file the program writes. */
#pragma once

#include <string>

/// The user's data folder + "Vumo/VorthenixZambrelliot/" once CreateSaveDataFolder ran; it
/// always ends in a separator, or is empty (then files are opened in the working folder).
std::string GetSaveDataFolder();
/// Sets the path as CreateSaveDataFolder would (for tests that run without the entry).
void SetSaveDataFolder(const std::string& folder);
/// Works out the path and makes every missing folder along it, logging what it does.
void CreateSaveDataFolder();
