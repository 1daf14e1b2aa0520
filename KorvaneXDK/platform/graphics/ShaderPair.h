/** @file ShaderPair.h A vertex and a pixel shader loaded together by one name, with their uniforms. */
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

class IDataLoader;
class CVertexShader;
class CPixelShader;
class CShaderUniformPair;
class ITexture;

/// Loading "name" reads "name.vs" and "name.ps" (any extension of the name replaced). Begin
/// sets both shaders on the device and pushes the shader environment's twenty-one values into
/// the constants of the same names; a drawer then sets its own uniforms and textures and draws.
/// Uniform names are case-sensitive; an unknown name gives the empty uniform pair.
class CShaderPair : public virtual CNonCopyable
{
public:
    CShaderPair();
    ~CShaderPair() override;

    /// Any failure (a missing entry, a shader that does not compile, a bad constant) leaves
    /// the loaded flag as it was.
    virtual void LoadFromDataLoader(IDataLoader* loader, const std::string& name);
    /// Through the application driver's data loader.
    virtual void Load(const std::string& name);
    virtual std::string GetName();
    virtual boost::shared_ptr<CVertexShader> GetVertexShader();
    virtual boost::shared_ptr<CPixelShader> GetPixelShader();
    /// The uniform of exactly that name, else the empty pair; never adds one. Like the three
    /// below, throws EInvalidOperation "Not initialized." on a pair that is not loaded.
    virtual boost::shared_ptr<CShaderUniformPair> GetUniform(const std::string& name);
    /// The texture stage of the pixel shader's sampler of that name; 0xFFFFFFFF when no stage
    /// declares the name or the pixel shader's constant is no sampler.
    virtual std::uint32_t GetSamplerIndex(const std::string& name);
    /// SetTextureAt(GetSamplerIndex(name), texture).
    virtual void SetTexture(const std::string& name, ITexture* texture);
    /// Binds the texture (null or an empty texture: none) to the stage; 0xFFFFFFFF does nothing.
    virtual void SetTextureAt(std::uint32_t index, ITexture* texture);
    /// Writes every constant's default (its GLSL initialiser) into both shaders.
    virtual void ApplyDefaults();
    /// Sets the vertex, then the pixel shader, then ApplyEnvironment.
    virtual void Begin();
    /// Pushes the environment's twenty-one values, read fresh on every call.
    virtual void ApplyEnvironment();

    bool IsLoaded() const { return loaded_; }

    /// The uniform names the environment fills, in the order they are pushed.
    static const std::array<const char*, 21>& GetEnvironmentUniformNames();

private:
    void RequireLoaded() const;

    std::string name_;
    boost::shared_ptr<CVertexShader> vertexShader_;
    boost::shared_ptr<CPixelShader> pixelShader_;
    std::map<std::string, boost::shared_ptr<CShaderUniformPair>> uniforms_;
    boost::shared_ptr<CShaderUniformPair> emptyUniform_;
    std::array<CShaderUniformPair*, 21> environmentUniforms_{};
    bool loaded_ = false;
};

} // namespace korvane
