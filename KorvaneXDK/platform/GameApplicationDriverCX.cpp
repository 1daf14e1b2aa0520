/** @file GameApplicationDriverCX.cpp The one driver: the shader environment and the process-wide driver. */
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/SceneManager.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"

namespace korvane
{

namespace
{

const char* const kLibraryVersion = "1.10";
const int kLibraryYear = 2027;
const char* const kBuildKind = "Release";

CGameApplicationDriverCX* gDriver = nullptr;

} // namespace

CGameApplicationDriverCX::CGameApplicationDriverCX(os::window::InstanceHandle instance)
    : CGameApplicationDriverDX9(instance)
{}

CGameApplicationDriverCX::~CGameApplicationDriverCX()
{
    try {
        // The scenes go first: their finalisation may still use shader pairs.
        DeleteSceneManager();
        delete shaderEnvironment_;
        shaderEnvironment_ = nullptr;
        shaderDataLoader_.reset();
    } catch (const EException& e) {
        LogEngineException(e);
    } catch (...) {
        LogErrorF("Unknown exception while finalizing the shader environment.");
    }
}

bool CGameApplicationDriverCX::Initialize()
{
    if (!CGameApplicationDriverDX9::Initialize()) {
        return false;
    }
    CreateShaderEnvironment();
    return true;
}

void CGameApplicationDriverCX::UseShaderFileSystemDataLoader(const std::string& folder)
{
    shaderDataLoader_.reset(new CFileSystemDataLoader(folder));
}

void CGameApplicationDriverCX::UseShaderArchiveDataLoader(const std::string& archive)
{
    shaderDataLoader_.reset(new TArchiveFileDataLoader<CArchiveFileLoader>(archive));
}

CShaderEnvironment* CGameApplicationDriverCX::GetShaderEnvironment()
{
    return shaderEnvironment_;
}

void CGameApplicationDriverCX::CreateShaderEnvironment()
{
    if (!shaderDataLoader_) {
        shaderDataLoader_ = GetDataLoader();
    }
    if (shaderEnvironment_ == nullptr) {
        shaderEnvironment_ = new CShaderEnvironment(shaderDataLoader_);
    }
}

bool CreateApplicationDriver(os::window::InstanceHandle instance)
{
    bool constructed = true;
    if (gDriver == nullptr) {
        try {
            gDriver = new CGameApplicationDriverCX(instance);
        } catch (const EException& e) {
            ShowEngineException(e, nullptr);
            constructed = false;
        } catch (const std::exception& e) {
            ShowStdException(e, nullptr);
            constructed = false;
        }
    }
    LogInfoF("Korvane CX library ver.%s(%d) %s (%s %s)", kLibraryVersion, kLibraryYear, kBuildKind, __DATE__, __TIME__);
    return constructed;
}

CGameApplicationDriverCX* GetApplicationDriver()
{
    return gDriver;
}

void DestroyApplicationDriver()
{
    // The pointer stays valid while the driver is destroyed: scenes finalised by it still
    // reach the driver (the resource scene saves the display settings through it).
    try {
        delete gDriver;
    } catch (const EException& e) {
        HandleEngineException(e);
    }
    gDriver = nullptr;
}

namespace
{

void PrepareLastResortReport()
{
    LogErrorF("Exception occurred.");
    if (gDriver == nullptr) {
        return;
    }
    if (gDriver->GetGameWindow() != nullptr) {
        gDriver->GetGameWindow()->Hide();
    }
    if (gDriver->GetSceneManager() != nullptr) {
        gDriver->GetSceneManager()->DumpSceneList();
    }
}

} // namespace

void HandleEngineException(const EException& e)
{
    PrepareLastResortReport();
    ShowEngineException(e, nullptr);
}

void HandleStdException(const std::exception& e)
{
    PrepareLastResortReport();
    ShowStdException(e, nullptr);
}

} // namespace korvane
