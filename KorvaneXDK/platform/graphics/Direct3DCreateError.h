/** @file Direct3DCreateError.h The failure to create the graphics object at start-up. */
#pragma once

#include "KorvaneXDK/core/Exception.h"

namespace korvane
{

/// Thrown by CDXGraphics's constructor when the graphics object cannot be made.
class EDirect3DCreateError : public EException
{
public:
    EDirect3DCreateError(const CObject* sender, const std::string& message) : EException(sender, message) {}
};

} // namespace korvane
