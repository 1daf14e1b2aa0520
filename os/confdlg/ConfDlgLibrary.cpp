/** @file ConfDlgLibrary.cpp The configuration dialog library shipped with the program: a choice of window
 * or full screen over the previous (or default) display mode. */
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/confdlg/ConfDlg.h"
#include "os/confdlg/PreviousChoice.h"
#include "os/system/AtomicFile.h"
#include "os/system/RegularFile.h"
#include "os/system/UserDataRoot.h"

namespace
{

// The previous choice lives in a file of the library's own under the per-user data root, found as the program
// finds its own. An account without a home keeps no choice: a folder every account shares (/tmp) is never
// written, since anyone could plant a link there.
std::string ChoiceFolder()
{
    const std::string root = os::system::GetUserDataRoot();
    return root.empty() ? std::string() : root + "ConfDlg";
}

/// The choice's file in `folder`; empty when there is no folder.
std::string ChoicePath(const std::string& folder = ChoiceFolder())
{
    return folder.empty() ? std::string() : folder + "/previous_choice.txt";
}

/// The saved choice when it is one the dialog offers for this block, else the default choice.
ConfigDialogResult PreviousChoice(const ConfigDialogBlock& block)
{
    char text[256] = {};
    // Anything but a file in its place (a named pipe would never answer) reads as no choice.
    std::string why;
    const int fd = os::system::OpenRegularFile(ChoicePath(), O_RDONLY, why);
    if (fd >= 0) {
        std::size_t length = 0;
        while (length < sizeof text - 1) {
            const ssize_t got = read(fd, text + length, sizeof text - 1 - length);
            if (got > 0) {
                length += static_cast<std::size_t>(got);
            } else if (got == 0 || errno != EINTR) {
                break;
            }
        }
        close(fd);
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

/// Keeps the choice for the next start (an account without a home keeps none); returns why it could not be kept,
/// or empty.
std::string SaveChoice(const ConfigDialogResult& result)
{
    const std::string folder = ChoiceFolder();
    if (folder.empty())
        return std::string();
    MakeFolders(folder);
    const std::string text = os::confdlg::FormatChoice(result);
    os::system::AtomicFileWriter writer;
    int error = writer.Begin(ChoicePath(folder));
    if (error == 0)
        error = writer.Write(text.data(), text.size());
    if (error == 0)
        error = writer.Commit();
    return error == 0 ? std::string() : os::system::ErrnoText(error);
}

/// Tells the user that the choice holds for this start only: in a box, or on stderr where no box can be
/// shown (or boxes are turned off, as the program's own are with KORVANE_NO_MESSAGE_BOX).
void ReportUnsavedChoice(const char* title, const std::string& why)
{
    const std::string text = "The display settings are used for this start but could not be kept for the next: '" +
                             ChoicePath() + "': " + why;
    const char* noBox = std::getenv("KORVANE_NO_MESSAGE_BOX");
    if ((noBox == nullptr || *noBox == '\0') &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title, text.c_str(), nullptr) == 0) {
        return;
    }
    std::fprintf(stderr, "[%s]\n%s\n", title, text.c_str());
    std::fflush(stderr);
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
        // The contract's answer is only accepted or cancelled: an accepted choice that cannot be kept is
        // still this start's choice, and the user hears of it here.
        if (const std::string why = SaveChoice(choice); !why.empty()) {
            ReportUnsavedChoice(title, why);
        }
        *result = choice;
        return 1;
    }

} // extern "C"
