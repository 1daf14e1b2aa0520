/** @file VertexDeclaration.cpp One vertex layout made on the device from an element table. */
#include "KorvaneXDK/platform/graphics/VertexDeclaration.h"

#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "os/gfx/Device.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "VertexDeclaration";

} // namespace

CVertexDeclaration::CVertexDeclaration(const os::gfx::VertexElement* elements)
{
    const os::gfx::Result result = RequireDriverDevice(this).CreateVertexDeclaration(elements, &declaration_);
    if (os::gfx::Failed(result)) {
        ReportDirectXError(result, kSourceFile, __LINE__);
        declaration_.reset();
    }
}

CVertexDeclaration::~CVertexDeclaration() = default;

void CVertexDeclaration::Apply()
{
    if (declaration_) {
        RequireDriverDevice(this).SetVertexDeclaration(declaration_);
    }
}

} // namespace korvane
