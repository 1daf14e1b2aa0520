/** @file ShaderUniformPair.h One named uniform of a shader pair, seen from both of its stages. */
#pragma once

#include <cstdint>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Color4.h"
#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/Vector2.h"
#include "KorvaneXDK/core/Vector3.h"
#include "os/gfx/ConstantTable.h"

namespace korvane
{

class CShader;

/// Every set writes the value into each stage that declares the constant, the vertex stage
/// first, and skips a stage that lacks it; the empty pair (no constant) accepts every set and
/// does nothing. A refused set throws EInvalidOperation "Failed to set vertex-shader uniform: "
/// (or "pixel-shader") + the constant's name; a vertex failure leaves the pixel stage unset.
///
/// The pair shares ownership of its two shaders, so it stays usable after its shader pair has
/// gone (a drawer may keep a uniform longer than the cache keeps the pair).
class CShaderUniformPair : public CObject
{
public:
    /// The empty pair.
    CShaderUniformPair();
    /// A null handle means the stage has no such constant. Reads each present side's
    /// description; a failure throws EInvalidOperation "Failed to GetConstantDesc() in
    /// vertex-shader-uniform" (or "pixel-shader-uniform").
    CShaderUniformPair(boost::shared_ptr<CShader> vertexShader, boost::shared_ptr<CShader> pixelShader,
                       os::gfx::ConstantHandle vertexHandle, os::gfx::ConstantHandle pixelHandle);
    ~CShaderUniformPair() override;

    virtual bool IsValid();
    virtual os::gfx::ConstantTable* GetVertexConstantTable();
    virtual os::gfx::ConstantTable* GetPixelConstantTable();
    virtual os::gfx::ConstantHandle GetVertexHandle();
    virtual os::gfx::ConstantHandle GetPixelHandle();
    virtual const os::gfx::ConstantDesc& GetVertexDesc();
    virtual const os::gfx::ConstantDesc& GetPixelDesc();

    virtual void SetValue(const void* data, std::uint32_t bytes);
    virtual void SetBool(std::int32_t value);
    virtual void SetBoolArray(const std::int32_t* values, std::uint32_t count);
    virtual void SetInt(std::int32_t value);
    virtual void SetIntArray(const std::int32_t* values, std::uint32_t count);
    virtual void SetFloat(float value);
    virtual void SetFloatArray(const float* values, std::uint32_t count);
    /// (x, y, 0, 1).
    virtual void SetVector2(const Vector2<float>& value);
    /// (x, y, z, 1).
    virtual void SetVector3(const Vector3<float>& value);
    virtual void SetVector(const os::gfx::Vector4& value);
    virtual void SetVectorArray(const os::gfx::Vector4* values, std::uint32_t count);
    virtual void SetMatrix(const Matrix4* value);
    virtual void SetMatrixArray(const Matrix4* values, std::uint32_t count);
    virtual void SetMatrixPointerArray(const Matrix4* const* values, std::uint32_t count);
    virtual void SetMatrixTranspose(const Matrix4* value);
    virtual void SetMatrixTransposeArray(const Matrix4* values, std::uint32_t count);
    virtual void SetMatrixTransposePointerArray(const Matrix4* const* values, std::uint32_t count);
    /// (red, green, blue, alpha).
    virtual void SetColor(const Color4<float>& value);

private:
    template <typename Write>
    void Set(Write write);

    boost::shared_ptr<CShader> vertexShader_;
    boost::shared_ptr<CShader> pixelShader_;
    os::gfx::ConstantTable* vertexTable_ = nullptr;
    os::gfx::ConstantTable* pixelTable_ = nullptr;
    os::gfx::ConstantHandle vertexHandle_ = nullptr;
    os::gfx::ConstantHandle pixelHandle_ = nullptr;
    os::gfx::ConstantDesc vertexDesc_;
    os::gfx::ConstantDesc pixelDesc_;
};

} // namespace korvane
