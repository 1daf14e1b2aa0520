/** @file TypeName.cpp Demangled run-time class names. */
#include "KorvaneXDK/core/TypeName.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>

namespace korvane
{

namespace
{

// The standard library's ABI markers ("std::__cxx11::", "[abi:cxx11]") are no part of the
// name as the source spells it; reports show the qualified name alone.
std::string WithoutAbiMarkers(std::string name)
{
    for (std::size_t at; (at = name.find("__cxx11::")) != std::string::npos;)
        name.erase(at, 9);
    for (std::size_t at; (at = name.find("[abi:")) != std::string::npos;) {
        const std::size_t end = name.find(']', at);
        if (end == std::string::npos)
            break;
        name.erase(at, end + 1 - at);
    }
    return name;
}

} // namespace

std::string GetRuntimeClassName(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                     std::free);
    std::string name = (status == 0 && demangled) ? WithoutAbiMarkers(demangled.get()) : type.name();
    return "class " + name;
}

} // namespace korvane
