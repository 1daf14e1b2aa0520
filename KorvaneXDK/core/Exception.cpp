/** @file Exception.cpp The engine's exception family. */
#include "KorvaneXDK/core/Exception.h"

#include "KorvaneXDK/core/TypeName.h"

namespace korvane
{

EException::EException(const CObject* sender, const std::string& message) : message_(message)
{
    if (sender)
        where_ = GetRuntimeClassName(*sender);
}

} // namespace korvane
