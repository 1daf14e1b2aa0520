/** @file ShaderPair.cpp A vertex and a pixel shader loaded together by one name, with their uniforms. */
#include "KorvaneXDK/platform/graphics/ShaderPair.h"

#include <utility>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "KorvaneXDK/platform/graphics/PixelShader.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"
#include "KorvaneXDK/platform/graphics/VertexShader.h"
#include "os/gfx/ConstantTable.h"
#include "os/gfx/Device.h"
#include "os/gfx/Texture.h"

namespace korvane
{

namespace
{

enum EnvironmentUniform
{
    kWorld,
    kView,
    kProjection,
    kInverseWorld,
    kInverseView,
    kLightView,
    kLightProjection,
    kMaterialAmbient,
    kMaterialDiffuse,
    kMaterialEmissive,
    kMaterialSpecular,
    kMaterialPower,
    kLightDirection,
    kLightAmbient,
    kLightDiffuse,
    kLightSpecular,
    kFogRange,
    kFogColor,
    kSpecialColor,
    kSceneTime,
    kShadowTextureSize,
};

/// Records the handle of every top-level constant of a table under its name, in `side`.
void CollectHandles(os::gfx::ConstantTable* table, int side,
                    std::map<std::string, std::pair<os::gfx::ConstantHandle, os::gfx::ConstantHandle>>& out)
{
    os::gfx::ConstantTableDesc desc;
    if (table == nullptr || os::gfx::Failed(table->GetDesc(&desc))) {
        return;
    }
    for (std::uint32_t i = 0; i < desc.Constants; ++i) {
        const os::gfx::ConstantHandle handle = table->GetConstant(nullptr, i);
        os::gfx::ConstantDesc constant;
        std::uint32_t count = 1;
        if (handle == nullptr || os::gfx::Failed(table->GetConstantDesc(handle, &constant, &count))) {
            continue;
        }
        auto& entry = out[constant.Name];
        (side == 0 ? entry.first : entry.second) = handle;
    }
}

} // namespace

const std::array<const char*, 21>& CShaderPair::GetEnvironmentUniformNames()
{
    static const std::array<const char*, 21> names = {
        "World",
        "View",
        "Projection",
        "InverseWorld",
        "InverseView",
        "LightView",
        "LightProjection",
        "MaterialAmbient",
        "MaterialDiffuse",
        "MaterialEmissive",
        "MaterialSpecular",
        "MaterialPower",
        "LightDirection",
        "LightAmbient",
        "LightDiffuse",
        "LightSpecular",
        "FogRange",
        "FogColor",
        "SpecialColor",
        "SceneTime",
        "ShadowTextureSize",
    };
    return names;
}

CShaderPair::CShaderPair() = default;
CShaderPair::~CShaderPair() = default;

void CShaderPair::LoadFromDataLoader(IDataLoader* loader, const std::string& name)
{
    LogInfoF("CShaderPair::LoadFromDataLoader()  name='%s'", name.c_str());
    if (loader == nullptr) {
        throw EInvalidOperation(this, "No data loader.");
    }
    name_ = name;

    // Everything is made aside and taken over only when all of it loaded, so a failed
    // (re)load leaves the pair as it was.
    const std::string vertexPath = ReplaceExtension(name, ".vs");
    boost::shared_ptr<CVertexShader> vertexShader(new CVertexShader());
    vertexShader->SetName(vertexPath);
    vertexShader->Load(loader->OpenShared(vertexPath).get());

    const std::string pixelPath = ReplaceExtension(name, ".ps");
    boost::shared_ptr<CPixelShader> pixelShader(new CPixelShader());
    pixelShader->SetName(pixelPath);
    pixelShader->Load(loader->OpenShared(pixelPath).get());

    std::map<std::string, std::pair<os::gfx::ConstantHandle, os::gfx::ConstantHandle>> handles;
    CollectHandles(vertexShader->GetConstantTable(), 0, handles);
    CollectHandles(pixelShader->GetConstantTable(), 1, handles);
    std::map<std::string, boost::shared_ptr<CShaderUniformPair>> uniforms;
    for (const auto& [uniformName, pair] : handles) {
        uniforms[uniformName].reset(new CShaderUniformPair(vertexShader, pixelShader, pair.first, pair.second));
    }

    vertexShader_ = std::move(vertexShader);
    pixelShader_ = std::move(pixelShader);
    uniforms_ = std::move(uniforms);
    emptyUniform_.reset(new CShaderUniformPair());
    const auto& names = GetEnvironmentUniformNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto found = uniforms_.find(names[i]);
        environmentUniforms_[i] = found != uniforms_.end() ? found->second.get() : emptyUniform_.get();
    }
    loaded_ = true;
}

void CShaderPair::Load(const std::string& name)
{
    LoadFromDataLoader(&RequireDriverDataLoader(this), name);
}

std::string CShaderPair::GetName()
{
    return name_;
}

boost::shared_ptr<CVertexShader> CShaderPair::GetVertexShader()
{
    return vertexShader_;
}

boost::shared_ptr<CPixelShader> CShaderPair::GetPixelShader()
{
    return pixelShader_;
}

void CShaderPair::RequireLoaded() const
{
    if (!loaded_) {
        throw EInvalidOperation(this, "Not initialized.");
    }
}

boost::shared_ptr<CShaderUniformPair> CShaderPair::GetUniform(const std::string& name)
{
    RequireLoaded();
    const auto found = uniforms_.find(name);
    return found != uniforms_.end() ? found->second : emptyUniform_;
}

std::uint32_t CShaderPair::GetSamplerIndex(const std::string& name)
{
    const boost::shared_ptr<CShaderUniformPair> uniform = GetUniform(name);
    if (!uniform->IsValid()) {
        return 0xFFFFFFFFu;
    }
    os::gfx::ConstantTable* table = pixelShader_->GetConstantTable();
    return table != nullptr ? table->GetSamplerIndex(uniform->GetPixelHandle()) : 0xFFFFFFFFu;
}

void CShaderPair::SetTexture(const std::string& name, ITexture* texture)
{
    SetTextureAt(GetSamplerIndex(name), texture);
}

void CShaderPair::SetTextureAt(std::uint32_t index, ITexture* texture)
{
    if (index == 0xFFFFFFFFu) {
        return;
    }
    os::gfx::Texture* deviceTexture = texture != nullptr ? texture->GetD3DTexture() : nullptr;
    RequireDriverDevice(this).SetTexture(index, deviceTexture != nullptr ? deviceTexture->shared_from_this()
                                                                         : std::shared_ptr<os::gfx::Texture>());
}

void CShaderPair::ApplyDefaults()
{
    RequireLoaded();
    os::gfx::Device& device = RequireDriverDevice(this);
    vertexShader_->GetConstantTable()->SetDefaults(&device);
    pixelShader_->GetConstantTable()->SetDefaults(&device);
}

void CShaderPair::Begin()
{
    RequireLoaded();
    vertexShader_->Apply();
    pixelShader_->Apply();
    ApplyEnvironment();
}

void CShaderPair::ApplyEnvironment()
{
    RequireLoaded();
    CShaderEnvironment& environment = RequireShaderEnvironment(this);
    CShaderUniformPair* const* u = environmentUniforms_.data();
    u[kWorld]->SetMatrix(&environment.GetWorldMatrix());
    u[kView]->SetMatrix(&environment.GetViewMatrix());
    u[kProjection]->SetMatrix(&environment.GetProjectionMatrix());
    u[kInverseWorld]->SetMatrix(&environment.GetInverseWorldMatrix());
    u[kInverseView]->SetMatrix(&environment.GetInverseViewMatrix());
    u[kLightView]->SetMatrix(&environment.GetLightViewMatrix());
    u[kLightProjection]->SetMatrix(&environment.GetLightProjectionMatrix());
    u[kMaterialAmbient]->SetColor(environment.GetMaterialAmbient());
    u[kMaterialDiffuse]->SetColor(environment.GetMaterialDiffuse());
    u[kMaterialEmissive]->SetColor(environment.GetMaterialEmissive());
    u[kMaterialSpecular]->SetColor(environment.GetMaterialSpecular());
    u[kMaterialPower]->SetFloat(environment.GetMaterialPower());
    u[kLightDirection]->SetVector3(environment.GetLightDirection());
    u[kLightAmbient]->SetColor(environment.GetLightAmbient());
    u[kLightDiffuse]->SetColor(environment.GetLightDiffuse());
    u[kLightSpecular]->SetColor(environment.GetLightSpecular());
    const auto& fogRange = environment.GetFogRange();
    u[kFogRange]->SetVector2(Vector2<float>(fogRange[0], fogRange[1]));
    const Color4<float>& fog = environment.GetFogColor();
    u[kFogColor]->SetColor(Color4<float>(fog.r, fog.g, fog.b, environment.IsFogEnabled() ? 1.0f : 0.0f));
    u[kSpecialColor]->SetColor(environment.GetSpecialColor());
    u[kSceneTime]->SetFloat(environment.GetSceneTime());
    u[kShadowTextureSize]->SetVector2(environment.GetShadowTextureSize());
}

} // namespace korvane
