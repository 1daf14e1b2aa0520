/** @file GameApplicationDriverCX.h The one application driver: the platform driver with the shader environment. */
#pragma once

#include <exception>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/GameApplicationDriverDX9.h"

namespace korvane
{

class CShaderEnvironment;

/// The driver every part of the program reaches through GetApplicationDriver: the platform driver
/// plus the shader environment and the data loader its shaders are read through.
class CGameApplicationDriverCX : public CGameApplicationDriverDX9
{
public:
    explicit CGameApplicationDriverCX(os::window::InstanceHandle instance);
    ~CGameApplicationDriverCX() override;

    /// The platform start-up, then the shader environment over the shader data loader (the
    /// driver's data loader when none was given).
    bool Initialize() override;
    virtual void UseShaderFileSystemDataLoader(const std::string& folder);
    virtual void UseShaderArchiveDataLoader(const std::string& archive);
    /// Null until Initialize (or CreateShaderEnvironment) made it.
    virtual CShaderEnvironment* GetShaderEnvironment();
    /// Makes the shader environment once the device exists (its declarations need it); tests that
    /// give the driver its graphics through the seam call it themselves.
    void CreateShaderEnvironment();

    boost::shared_ptr<IDataLoader> GetShaderDataLoader() const { return shaderDataLoader_; }

private:
    CShaderEnvironment* shaderEnvironment_ = nullptr;
    boost::shared_ptr<IDataLoader> shaderDataLoader_;
};

/// Creates the one driver unless it exists; false when its constructor threw (reported).
bool CreateApplicationDriver(os::window::InstanceHandle instance);
/// The one driver, or null.
CGameApplicationDriverCX* GetApplicationDriver();
/// Deletes the one driver, if any.
void DestroyApplicationDriver();
/// The program entry's last-resort reports.
void HandleEngineException(const EException& e);
void HandleStdException(const std::exception& e);

} // namespace korvane
