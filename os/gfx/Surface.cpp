/** @file Surface.cpp A texture level or a back buffer as a copy's source or destination. */
#include "os/gfx/Surface.h"

#include "os/gfx/ResultCodes.h"

namespace os::gfx
{

Result Surface::GetDesc(SurfaceDesc* desc) const
{
    if (desc == nullptr) {
        return kErrInvalidCall;
    }
    *desc = desc_;
    return kOk;
}

} // namespace os::gfx
