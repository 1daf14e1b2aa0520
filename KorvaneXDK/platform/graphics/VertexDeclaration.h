/** @file VertexDeclaration.h One vertex layout made on the device from an element table. */
#pragma once

#include <memory>

#include "KorvaneXDK/core/Object.h"
#include "os/gfx/Types.h"

namespace os::gfx
{
class VertexDeclaration;
}

namespace korvane
{

/// A layout the device refuses is reported as a platform error and left out: applying it
/// then sets nothing.
class CVertexDeclaration : public virtual CNonCopyable
{
public:
    /// `elements` ends with the end marker. Needs the driver's device.
    explicit CVertexDeclaration(const os::gfx::VertexElement* elements);
    ~CVertexDeclaration() override;

    virtual void Apply();

    /// The device's declaration, null when it was refused.
    const std::shared_ptr<os::gfx::VertexDeclaration>& GetDeclaration() const { return declaration_; }

private:
    std::shared_ptr<os::gfx::VertexDeclaration> declaration_;
};

} // namespace korvane
