/** @file DriverAccess.h What the graphics code reaches through the application driver. */
#pragma once

#include "KorvaneXDK/core/Object.h"

namespace os::gfx
{
class Device;
}

namespace korvane
{

class IDataLoader;
class CShaderEnvironment;

/// The driver's graphics device, or null while there is none.
os::gfx::Device* GetDriverDevice();
/// The driver's graphics device; EInvalidOperation "No graphics device." (sender as where) when there is none.
os::gfx::Device& RequireDriverDevice(const CObject* sender);
/// The driver's data loader; EInvalidOperation "No data loader." when there is none.
IDataLoader& RequireDriverDataLoader(const CObject* sender);
/// The driver's shader environment; EInvalidOperation "No shader environment." when there is none.
CShaderEnvironment& RequireShaderEnvironment(const CObject* sender);

} // namespace korvane
