/** @file UserDataRoot.cpp The per-user data root, from the environment or the account database. */
#include "os/system/UserDataRoot.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

// Built into the configuration dialog's library too: only the C library may be called here.

namespace os::system
{

namespace
{

// $HOME, else the account's home from the password database; empty when neither names one (a
// shared folder such as /tmp would mix several users' saves, and any of them could plant a link there).
std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        *found->pw_dir)
        return found->pw_dir;
    return std::string();
}

} // namespace

std::string GetUserDataRoot()
{
    std::string root;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/')
        root = xdg;
    else {
        const std::string home = HomeFolder();
        if (home.empty())
            return std::string();
        root = home + "/.local/share";
    }
    if (root.back() != '/')
        root += '/';
    return root;
}

} // namespace os::system
