/** @file ConfDlgLibrary.cpp The configuration dialog library shipped with the program: a choice of window
 * or full screen over the previous (or default) display mode. */
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/confdlg/ConfDlg.h"
#include "os/confdlg/PreviousChoice.h"

namespace
{

// The previous choice lives in a file of the library's own under the per-user data root.
std::string ChoiceFolder()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string root;
    if (xdg != nullptr && *xdg == '/') {
        root = xdg;
    } else {
        const char* home = std::getenv("HOME");
        root = std::string(home != nullptr && *home != '\0' ? home : "/tmp") + "/.local/share";
    }
    return root + "/ConfDlg";
}

std::string ChoicePath()
{
    return ChoiceFolder() + "/previous_choice.txt";
}

/// The saved choice when it is one the dialog offers for this block, else the default choice.
ConfigDialogResult PreviousChoice(const ConfigDialogBlock& block)
{
    char text[256] = {};
    if (FILE* file = std::fopen(ChoicePath().c_str(), "r")) {
        const std::size_t length = std::fread(text, 1, sizeof text - 1, file);
        std::fclose(file);
        text[length] = '\0';
    }
    return os::confdlg::ChoiceFromText(text, block);
}

/// Creates the folder and every missing folder above it: on a fresh account the data root
/// itself may not exist yet.
void MakeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        mkdir(folder.substr(0, slash).c_str(), 0755);
    }
    mkdir(folder.c_str(), 0755);
}

void SaveChoice(const ConfigDialogResult& result)
{
    const std::string folder = ChoiceFolder();
    MakeFolders(folder);
    const std::string path = ChoicePath();
    const std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "w");
    if (file == nullptr) {
        return;
    }
    const std::string text = os::confdlg::FormatChoice(result);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0 &&
                         fsync(fileno(file)) == 0;
    std::fclose(file);
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
    }
}

} // namespace

extern "C"
{

    __attribute__((visibility("default"))) int ConfDlgGetVersion()
    {
        return kConfDlgVersion;
    }

    __attribute__((visibility("default"))) int GetPreviousConfig(ConfigDialogBlock* block, ConfigDialogResult* result)
    {
        if (block == nullptr || result == nullptr) {
            return 0;
        }
        *result = PreviousChoice(*block);
        return 1;
    }

    __attribute__((visibility("default"))) int ShowConfigDialog(ConfigDialogBlock* block, ConfigDialogResult* result)
    {
        if (block == nullptr || result == nullptr || block->adapterCount <= 0) {
            return 0;
        }
        ConfigDialogResult choice = PreviousChoice(*block);
        const ConfigDialogAdapter& adapter = block->adapters[choice.adapter];
        const ConfigDialogMode& mode = adapter.modes[choice.mode];
        char text[256];
        std::snprintf(text, sizeof text, "%.63s\n%u x %u, %u bpp, %u Hz", adapter.name, mode.width, mode.height,
                      mode.bitsPerPixel, mode.refreshRate);
        const SDL_MessageBoxButtonData buttons[] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Window"},
            {0, 2, "Full screen"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "Cancel"},
        };
        char title[64];
        std::snprintf(title, sizeof title, "%.63s", block->title);
        const SDL_MessageBoxData box = {SDL_MESSAGEBOX_INFORMATION, nullptr, title, text, 3, buttons, nullptr};
        int pressed = 1;
        // Without a display to show it on, the previous choice is taken as it is.
        if (SDL_ShowMessageBox(&box, &pressed) != 0) {
            pressed = choice.windowed != 0 ? 1 : 2;
        }
        if (pressed <= 0) {
            return 0;
        }
        choice.windowed = pressed == 1 ? 1 : 0;
        SaveChoice(choice);
        *result = choice;
        return 1;
    }

} // extern "C"
