/** @file PixelShader.cpp The pixel stage of a shader pair. */
#include "KorvaneXDK/platform/graphics/PixelShader.h"

#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "os/gfx/Device.h"

namespace korvane
{

CPixelShader::CPixelShader() = default;
CPixelShader::~CPixelShader() = default;

void CPixelShader::Create(const void* data, std::size_t size)
{
    os::gfx::Device& device = RequireDriverDevice(this);
    if (os::gfx::Failed(device.CreatePixelShader(data, size, &shader_))) {
        FailCreate(device.GetLastShaderLog(), "CreatePixelShader() failed.");
    }
}

void CPixelShader::Apply()
{
    RequireDriverDevice(this).SetPixelShader(shader_);
}

} // namespace korvane
