/** @file VertexShader.cpp The vertex stage of a shader pair. */
#include "KorvaneXDK/platform/graphics/VertexShader.h"

#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "os/gfx/Device.h"

namespace korvane
{

CVertexShader::CVertexShader() = default;
CVertexShader::~CVertexShader() = default;

void CVertexShader::Create(const void* data, std::size_t size)
{
    os::gfx::Device& device = RequireDriverDevice(this);
    if (os::gfx::Failed(device.CreateVertexShader(data, size, &shader_))) {
        FailCreate(device.GetLastShaderLog(), "CreateVertexShader() failed.");
    }
}

void CVertexShader::Apply()
{
    RequireDriverDevice(this).SetVertexShader(shader_);
}

} // namespace korvane
