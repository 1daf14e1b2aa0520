/** @file ShaderEnvironment.cpp The values every shader pair hands to its shaders, the pair cache and the declarations. */
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/VertexDeclaration.h"
#include "KorvaneXDK/platform/graphics/VertexElementTables.h"

namespace korvane
{

namespace
{

/// The inverse of m into out; a singular m leaves out as it was.
void StoreInverse(Matrix4& out, const Matrix4& m)
{
    os::gfx::MatrixInverse(&out, nullptr, &m);
}

} // namespace

CShaderEnvironment::CShaderEnvironment(boost::shared_ptr<IDataLoader> shaderLoader)
    : shaderLoader_(std::move(shaderLoader))
{
    const os::gfx::VertexElement* tables[6] = {
        vertex_elements::kPositionNormalTex,         vertex_elements::kPositionColor2Tex,
        vertex_elements::kPositionColorTex,          vertex_elements::kSkinnedPositionNormalTex,
        vertex_elements::kPositionNormalTangentTex2, vertex_elements::kSkinnedPositionNormalTangentTex2,
    };
    for (int i = 0; i < 6; ++i) {
        declarations_[i].reset(new CVertexDeclaration(tables[i]));
    }
}

CShaderEnvironment::~CShaderEnvironment() = default;

boost::shared_ptr<CShaderPair> CShaderEnvironment::GetShaderPair(const std::string& name)
{
    return cache_.GetOrLoad(shaderLoader_.get(), name);
}
void CShaderEnvironment::PrecacheShaderPairs(const std::string& directory, bool recursive)
{
    cache_.PrecacheDirectory(shaderLoader_.get(), directory, recursive);
}
void CShaderEnvironment::PrecacheShaderPairsFrom(IDataLoader* loader, const std::string& directory, bool recursive)
{
    cache_.PrecacheDirectory(loader, directory, recursive);
}
void CShaderEnvironment::ClearShaderPairs()
{
    cache_.Clear();
}
void CShaderEnvironment::SetCurrentShaderPair(boost::shared_ptr<CShaderPair> pair)
{
    currentPair_ = std::move(pair);
}
void CShaderEnvironment::SetCurrentShaderPair(const std::string& name)
{
    currentPair_ = GetShaderPair(name);
}
boost::shared_ptr<CShaderPair> CShaderEnvironment::GetCurrentShaderPair()
{
    return currentPair_;
}

boost::shared_ptr<CVertexDeclaration> CShaderEnvironment::GetDeclPositionNormalTex()
{
    return declarations_[0];
}
boost::shared_ptr<CVertexDeclaration> CShaderEnvironment::GetDeclPositionColor2Tex()
{
    return declarations_[1];
}
boost::shared_ptr<CVertexDeclaration> CShaderEnvironment::GetDeclPositionColorTex()
{
    return declarations_[2];
}
boost::shared_ptr<CVertexDeclaration> CShaderEnvironment::GetDeclSkinnedPositionNormalTex()
{
    return declarations_[3];
}
boost::shared_ptr<CVertexDeclaration> CShaderEnvironment::GetDeclPositionNormalTangentTex2()
{
    return declarations_[4];
}
boost::shared_ptr<CVertexDeclaration> CShaderEnvironment::GetDeclSkinnedPositionNormalTangentTex2()
{
    return declarations_[5];
}

void CShaderEnvironment::SetWorldMatrix(const Matrix4& matrix)
{
    world_ = matrix;
    StoreInverse(inverseWorld_, world_);
}
void CShaderEnvironment::CopyWorldMatrix(Matrix4& out)
{
    out = world_;
}
const Matrix4& CShaderEnvironment::GetWorldMatrix()
{
    return world_;
}
void CShaderEnvironment::CopyInverseWorldMatrix(Matrix4& out)
{
    out = inverseWorld_;
}
const Matrix4& CShaderEnvironment::GetInverseWorldMatrix()
{
    return inverseWorld_;
}
void CShaderEnvironment::SetViewMatrix(const Matrix4& matrix)
{
    view_ = matrix;
    StoreInverse(inverseView_, view_);
}
void CShaderEnvironment::CopyViewMatrix(Matrix4& out)
{
    out = view_;
}
const Matrix4& CShaderEnvironment::GetViewMatrix()
{
    return view_;
}
void CShaderEnvironment::CopyInverseViewMatrix(Matrix4& out)
{
    out = inverseView_;
}
const Matrix4& CShaderEnvironment::GetInverseViewMatrix()
{
    return inverseView_;
}
void CShaderEnvironment::SetProjectionMatrix(const Matrix4& matrix)
{
    projection_ = matrix;
}
void CShaderEnvironment::CopyProjectionMatrix(Matrix4& out)
{
    out = projection_;
}
const Matrix4& CShaderEnvironment::GetProjectionMatrix()
{
    return projection_;
}
void CShaderEnvironment::SetLightViewMatrix(const Matrix4& matrix)
{
    lightView_ = matrix;
}
void CShaderEnvironment::CopyLightViewMatrix(Matrix4& out)
{
    out = lightView_;
}
const Matrix4& CShaderEnvironment::GetLightViewMatrix()
{
    return lightView_;
}
void CShaderEnvironment::SetLightProjectionMatrix(const Matrix4& matrix)
{
    lightProjection_ = matrix;
}
void CShaderEnvironment::CopyLightProjectionMatrix(Matrix4& out)
{
    out = lightProjection_;
}
const Matrix4& CShaderEnvironment::GetLightProjectionMatrix()
{
    return lightProjection_;
}

void CShaderEnvironment::SetMaterialAmbient(const Color4<float>& color)
{
    materialAmbient_ = color;
}
const Color4<float>& CShaderEnvironment::GetMaterialAmbient()
{
    return materialAmbient_;
}
void CShaderEnvironment::SetMaterialDiffuse(const Color4<float>& color)
{
    materialDiffuse_ = color;
}
const Color4<float>& CShaderEnvironment::GetMaterialDiffuse()
{
    return materialDiffuse_;
}
void CShaderEnvironment::SetMaterialEmissive(const Color4<float>& color)
{
    materialEmissive_ = color;
}
const Color4<float>& CShaderEnvironment::GetMaterialEmissive()
{
    return materialEmissive_;
}
void CShaderEnvironment::SetMaterialSpecular(const Color4<float>& color)
{
    materialSpecular_ = color;
}
const Color4<float>& CShaderEnvironment::GetMaterialSpecular()
{
    return materialSpecular_;
}
void CShaderEnvironment::SetMaterialPower(float power)
{
    materialPower_ = power;
}
float CShaderEnvironment::GetMaterialPower()
{
    return materialPower_;
}

void CShaderEnvironment::SetLightDirection(const Vector3<float>& direction)
{
    lightDirection_ = direction;
}
const Vector3<float>& CShaderEnvironment::GetLightDirection()
{
    return lightDirection_;
}
void CShaderEnvironment::SetLightAmbient(const Color4<float>& color)
{
    lightAmbient_ = color;
}
const Color4<float>& CShaderEnvironment::GetLightAmbient()
{
    return lightAmbient_;
}
void CShaderEnvironment::SetLightDiffuse(const Color4<float>& color)
{
    lightDiffuse_ = color;
}
const Color4<float>& CShaderEnvironment::GetLightDiffuse()
{
    return lightDiffuse_;
}
void CShaderEnvironment::SetLightSpecular(const Color4<float>& color)
{
    lightSpecular_ = color;
}
const Color4<float>& CShaderEnvironment::GetLightSpecular()
{
    return lightSpecular_;
}
void CShaderEnvironment::SetLight(const Light& light)
{
    lightDirection_ = light.Direction;
    lightAmbient_ = light.Ambient;
    lightDiffuse_ = light.Diffuse;
    lightSpecular_ = light.Specular;
}

void CShaderEnvironment::SetFogRange(float nearDistance, float farDistance)
{
    fogRange_ = {nearDistance, farDistance};
}
const std::array<float, 2>& CShaderEnvironment::GetFogRange()
{
    return fogRange_;
}
void CShaderEnvironment::SetFogColor(const Color4<float>& color)
{
    fogColor_ = color;
}
const Color4<float>& CShaderEnvironment::GetFogColor()
{
    return fogColor_;
}
void CShaderEnvironment::SetFogEnabled(bool enabled)
{
    fogEnabled_ = enabled;
}
bool CShaderEnvironment::IsFogEnabled()
{
    return fogEnabled_;
}

void CShaderEnvironment::SetDepthBand(float a, float b, float c, float d)
{
    depthBand_ = {a, b, c, d};
}
const std::array<float, 4>& CShaderEnvironment::GetDepthBand()
{
    return depthBand_;
}
void CShaderEnvironment::SetDepthBandLevel(std::int32_t level)
{
    depthBandLevel_ = level;
}
std::int32_t CShaderEnvironment::GetDepthBandLevel()
{
    return depthBandLevel_;
}
void CShaderEnvironment::SetDepthBandEnabled(bool enabled)
{
    depthBandEnabled_ = enabled;
}
bool CShaderEnvironment::IsDepthBandEnabled()
{
    return depthBandEnabled_;
}

void CShaderEnvironment::SetSpecialColor(const Color4<float>& color)
{
    specialColor_ = color;
}
const Color4<float>& CShaderEnvironment::GetSpecialColor()
{
    return specialColor_;
}
void CShaderEnvironment::SetSceneTime(float time)
{
    sceneTime_ = time;
}
float CShaderEnvironment::GetSceneTime()
{
    return sceneTime_;
}

void CShaderEnvironment::SetSharedObject1(boost::shared_ptr<CObject> object)
{
    sharedObjects_[0] = std::move(object);
}
boost::shared_ptr<CObject> CShaderEnvironment::GetSharedObject1()
{
    return sharedObjects_[0];
}
void CShaderEnvironment::SetSharedObject2(boost::shared_ptr<CObject> object)
{
    sharedObjects_[1] = std::move(object);
}
boost::shared_ptr<CObject> CShaderEnvironment::GetSharedObject2()
{
    return sharedObjects_[1];
}
void CShaderEnvironment::SetSharedObject3(boost::shared_ptr<CObject> object)
{
    sharedObjects_[2] = std::move(object);
}
boost::shared_ptr<CObject> CShaderEnvironment::GetSharedObject3()
{
    return sharedObjects_[2];
}

void CShaderEnvironment::SetShadowTextureSize(const Vector2<float>& size)
{
    shadowTextureSize_ = size;
}
const Vector2<float>& CShaderEnvironment::GetShadowTextureSize()
{
    return shadowTextureSize_;
}
void CShaderEnvironment::SetSecondaryDirection(const Vector3<float>& direction)
{
    secondaryDirection_ = direction;
}
const Vector3<float>& CShaderEnvironment::GetSecondaryDirection()
{
    return secondaryDirection_;
}

} // namespace korvane
