/** @file TypeName.cpp Demangled run-time class names. */
#include "KorvaneXDK/core/TypeName.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>

namespace korvane {

std::string GetRuntimeClassName(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                     std::free);
    std::string name = (status == 0 && demangled) ? demangled.get() : type.name();
    return "class " + name;
}

} // namespace korvane
