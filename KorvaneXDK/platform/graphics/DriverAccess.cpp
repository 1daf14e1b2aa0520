/** @file DriverAccess.cpp What the graphics code reaches through the application driver. */
#include "KorvaneXDK/platform/graphics/DriverAccess.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"

namespace korvane
{

os::gfx::Device* GetDriverDevice()
{
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    CDXGraphics* graphics = driver != nullptr ? driver->GetGraphics() : nullptr;
    return graphics != nullptr ? graphics->GetDevice() : nullptr;
}

os::gfx::Device& RequireDriverDevice(const CObject* sender)
{
    os::gfx::Device* device = GetDriverDevice();
    if (device == nullptr) {
        throw EInvalidOperation(sender, "No graphics device.");
    }
    return *device;
}

IDataLoader& RequireDriverDataLoader(const CObject* sender)
{
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    IDataLoader* loader = driver != nullptr ? driver->GetDataLoader().get() : nullptr;
    if (loader == nullptr) {
        throw EInvalidOperation(sender, "No data loader.");
    }
    return *loader;
}

CShaderEnvironment& RequireShaderEnvironment(const CObject* sender)
{
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    CShaderEnvironment* environment = driver != nullptr ? driver->GetShaderEnvironment() : nullptr;
    if (environment == nullptr) {
        throw EInvalidOperation(sender, "No shader environment.");
    }
    return *environment;
}

} // namespace korvane
