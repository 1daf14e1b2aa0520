/** @file TypeName.h Run-time class names in the form the reports print ("class korvane::CFileStream"). */
#pragma once

#include <string>
#include <typeinfo>

namespace korvane
{

/// "class " followed by the demangled, fully qualified name of the type.
std::string GetRuntimeClassName(const std::type_info& type);

/// The run-time class name of the most derived type of an object.
template <typename T>
std::string GetRuntimeClassName(const T& object)
{
    return GetRuntimeClassName(typeid(object));
}

} // namespace korvane
