/** @file Library.cpp Shared libraries over dlopen, with the test hooks that make them missing. */
#include "os/system/Library.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <set>

#include "os/system/System.h"

namespace os::system
{

namespace
{

struct LibraryHooks
{
    std::mutex mutex;
    std::map<std::string, std::string> redirections;
    std::set<std::string> hiddenExports;
};

LibraryHooks& Hooks()
{
    static LibraryHooks hooks;
    return hooks;
}

constexpr std::uint32_t kErrorModuleNotFound = 126;
constexpr std::uint32_t kErrorProcNotFound = 127;

std::string DlError()
{
    const char* text = dlerror();
    return text != nullptr ? std::string(text) + "\n" : std::string();
}

} // namespace

LibraryHandle LoadLibrary(const std::string& name)
{
    std::string path = name;
    {
        LibraryHooks& hooks = Hooks();
        std::lock_guard<std::mutex> lock(hooks.mutex);
        auto found = hooks.redirections.find(name);
        if (found != hooks.redirections.end()) {
            if (found->second.empty()) {
                SetLastError(kErrorModuleNotFound, "The specified module could not be found.\n");
                return nullptr;
            }
            path = found->second;
        }
    }
    void* library = nullptr;
    if (path.find('/') == std::string::npos) {
        // The program's own folder comes before the search path, so a library shipped with the
        // program wins over one of the same name installed elsewhere.
        const std::string program = GetProgramPath();
        const std::size_t slash = program.rfind('/');
        if (slash != std::string::npos) {
            library = dlopen((program.substr(0, slash + 1) + path).c_str(), RTLD_NOW | RTLD_LOCAL);
        }
    }
    if (library == nullptr) {
        library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (library == nullptr) {
        SetLastError(kErrorModuleNotFound, DlError());
    }
    return library;
}

void* GetProcAddress(LibraryHandle library, const std::string& exportName)
{
    if (library == nullptr) {
        SetLastError(kErrorProcNotFound, "The specified procedure could not be found.\n");
        return nullptr;
    }
    {
        LibraryHooks& hooks = Hooks();
        std::lock_guard<std::mutex> lock(hooks.mutex);
        if (hooks.hiddenExports.count(exportName) != 0) {
            SetLastError(kErrorProcNotFound, "The specified procedure could not be found.\n");
            return nullptr;
        }
    }
    dlerror();
    void* address = dlsym(library, exportName.c_str());
    if (address == nullptr) {
        SetLastError(kErrorProcNotFound, DlError());
    }
    return address;
}

void FreeLibrary(LibraryHandle library)
{
    if (library != nullptr) {
        dlclose(library);
    }
}

} // namespace os::system

namespace os::testing
{

void RedirectLibrary(const std::string& name, const std::string& path)
{
    auto& hooks = os::system::Hooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.redirections[name] = path;
}

void HideLibraryExport(const std::string& exportName)
{
    auto& hooks = os::system::Hooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.hiddenExports.insert(exportName);
}

void ResetLibraryHooks()
{
    auto& hooks = os::system::Hooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.redirections.clear();
    hooks.hiddenExports.clear();
}

} // namespace os::testing
