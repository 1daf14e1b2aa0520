/** @file ShaderEnvironment.h The values every shader pair hands to its shaders, the pair cache and the declarations. */
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Color4.h"
#include "KorvaneXDK/core/Light.h"
#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/Vector2.h"
#include "KorvaneXDK/core/Vector3.h"
#include "KorvaneXDK/platform/graphics/ShaderPairCache.h"

namespace korvane
{

class IDataLoader;
class CShaderPair;
class CVertexDeclaration;

/// Made by the driver once the device exists (the declarations need it). Every shader pair
/// pushes the twenty-one named values into its constants of the same names on each Begin; the
/// camera writes view, projection and the depth band. Setters store as given; the world and
/// view setters also store the inverse (a singular matrix keeps the previous inverse).
class CShaderEnvironment : public virtual CNonCopyable
{
public:
    explicit CShaderEnvironment(boost::shared_ptr<IDataLoader> shaderLoader);
    ~CShaderEnvironment() override;

    virtual boost::shared_ptr<CShaderPair> GetShaderPair(const std::string& name);
    virtual void PrecacheShaderPairs(const std::string& directory, bool recursive);
    virtual void PrecacheShaderPairsFrom(IDataLoader* loader, const std::string& directory, bool recursive);
    virtual void ClearShaderPairs();
    virtual void SetCurrentShaderPair(boost::shared_ptr<CShaderPair> pair);
    /// Loads (or finds) the pair first; a failed load throws and keeps the current pair.
    virtual void SetCurrentShaderPair(const std::string& name);
    virtual boost::shared_ptr<CShaderPair> GetCurrentShaderPair();

    virtual boost::shared_ptr<CVertexDeclaration> GetDeclPositionNormalTex();
    virtual boost::shared_ptr<CVertexDeclaration> GetDeclPositionColor2Tex();
    virtual boost::shared_ptr<CVertexDeclaration> GetDeclPositionColorTex();
    virtual boost::shared_ptr<CVertexDeclaration> GetDeclSkinnedPositionNormalTex();
    virtual boost::shared_ptr<CVertexDeclaration> GetDeclPositionNormalTangentTex2();
    virtual boost::shared_ptr<CVertexDeclaration> GetDeclSkinnedPositionNormalTangentTex2();
    /// The canvas's name for the declaration it draws with.
    boost::shared_ptr<CVertexDeclaration> GetVertexDeclaration() { return GetDeclPositionColor2Tex(); }

    virtual void SetWorldMatrix(const Matrix4& matrix);
    virtual void CopyWorldMatrix(Matrix4& out);
    virtual const Matrix4& GetWorldMatrix();
    virtual void CopyInverseWorldMatrix(Matrix4& out);
    virtual const Matrix4& GetInverseWorldMatrix();
    virtual void SetViewMatrix(const Matrix4& matrix);
    virtual void CopyViewMatrix(Matrix4& out);
    virtual const Matrix4& GetViewMatrix();
    virtual void CopyInverseViewMatrix(Matrix4& out);
    virtual const Matrix4& GetInverseViewMatrix();
    virtual void SetProjectionMatrix(const Matrix4& matrix);
    virtual void CopyProjectionMatrix(Matrix4& out);
    virtual const Matrix4& GetProjectionMatrix();
    virtual void SetLightViewMatrix(const Matrix4& matrix);
    virtual void CopyLightViewMatrix(Matrix4& out);
    virtual const Matrix4& GetLightViewMatrix();
    virtual void SetLightProjectionMatrix(const Matrix4& matrix);
    virtual void CopyLightProjectionMatrix(Matrix4& out);
    virtual const Matrix4& GetLightProjectionMatrix();

    virtual void SetMaterialAmbient(const Color4<float>& color);
    virtual const Color4<float>& GetMaterialAmbient();
    virtual void SetMaterialDiffuse(const Color4<float>& color);
    virtual const Color4<float>& GetMaterialDiffuse();
    virtual void SetMaterialEmissive(const Color4<float>& color);
    virtual const Color4<float>& GetMaterialEmissive();
    virtual void SetMaterialSpecular(const Color4<float>& color);
    virtual const Color4<float>& GetMaterialSpecular();
    virtual void SetMaterialPower(float power);
    virtual float GetMaterialPower();

    virtual void SetLightDirection(const Vector3<float>& direction);
    virtual const Vector3<float>& GetLightDirection();
    virtual void SetLightAmbient(const Color4<float>& color);
    virtual const Color4<float>& GetLightAmbient();
    virtual void SetLightDiffuse(const Color4<float>& color);
    virtual const Color4<float>& GetLightDiffuse();
    virtual void SetLightSpecular(const Color4<float>& color);
    virtual const Color4<float>& GetLightSpecular();
    /// Takes the direction and the three colours; the rest of the record is ignored.
    virtual void SetLight(const Light& light);

    virtual void SetFogRange(float nearDistance, float farDistance);
    virtual const std::array<float, 2>& GetFogRange();
    /// The stored alpha is never sent: shaders see 1.0 with fog enabled, else 0.0.
    virtual void SetFogColor(const Color4<float>& color);
    virtual const Color4<float>& GetFogColor();
    virtual void SetFogEnabled(bool enabled);
    virtual bool IsFogEnabled();

    virtual void SetDepthBand(float a, float b, float c, float d);
    virtual const std::array<float, 4>& GetDepthBand();
    virtual void SetDepthBandLevel(std::int32_t level);
    virtual std::int32_t GetDepthBandLevel();
    virtual void SetDepthBandEnabled(bool enabled);
    virtual bool IsDepthBandEnabled();

    virtual void SetSpecialColor(const Color4<float>& color);
    virtual const Color4<float>& GetSpecialColor();
    virtual void SetSceneTime(float time);
    virtual float GetSceneTime();

    virtual void SetSharedObject1(boost::shared_ptr<CObject> object);
    virtual boost::shared_ptr<CObject> GetSharedObject1();
    virtual void SetSharedObject2(boost::shared_ptr<CObject> object);
    virtual boost::shared_ptr<CObject> GetSharedObject2();
    virtual void SetSharedObject3(boost::shared_ptr<CObject> object);
    virtual boost::shared_ptr<CObject> GetSharedObject3();

    virtual void SetShadowTextureSize(const Vector2<float>& size);
    virtual const Vector2<float>& GetShadowTextureSize();
    virtual void SetSecondaryDirection(const Vector3<float>& direction);
    virtual const Vector3<float>& GetSecondaryDirection();

    CShaderPairCache& GetShaderPairCache() { return cache_; }

private:
    CShaderPairCache cache_;
    boost::shared_ptr<IDataLoader> shaderLoader_;
    boost::shared_ptr<CVertexDeclaration> declarations_[6];

    Matrix4 world_;
    Matrix4 view_;
    Matrix4 projection_;
    Matrix4 inverseWorld_;
    Matrix4 inverseView_;
    Matrix4 lightView_;
    Matrix4 lightProjection_;
    Color4<float> materialAmbient_{0.0f, 0.0f, 0.0f, 1.0f};
    Color4<float> materialDiffuse_{1.0f, 1.0f, 1.0f, 1.0f};
    Color4<float> materialEmissive_{0.0f, 0.0f, 0.0f, 1.0f};
    Color4<float> materialSpecular_{0.0f, 0.0f, 0.0f, 1.0f};
    float materialPower_ = 1.0f;
    Vector3<float> lightDirection_{0.0f, 1.0f, 0.0f};
    Color4<float> lightAmbient_{0.0f, 0.0f, 0.0f, 1.0f};
    Color4<float> lightDiffuse_{1.0f, 1.0f, 1.0f, 1.0f};
    Color4<float> lightSpecular_{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<float, 2> fogRange_{500.0f, 1000.0f};
    Color4<float> fogColor_{0.0f, 0.0f, 0.0f, 0.0f};
    bool fogEnabled_ = false;
    Color4<float> specialColor_{0.0f, 0.0f, 0.0f, 0.0f};
    float sceneTime_ = 0.0f;
    Vector2<float> shadowTextureSize_{512.0f, 512.0f};

    boost::shared_ptr<CShaderPair> currentPair_;
    std::array<float, 4> depthBand_{800.0f, 1000.0f, 0.0f, 100.0f};
    std::int32_t depthBandLevel_ = 1;
    bool depthBandEnabled_ = false;
    Vector3<float> secondaryDirection_{0.0f, -1.0f, 0.0f};
    boost::shared_ptr<CObject> sharedObjects_[3];
};

} // namespace korvane
