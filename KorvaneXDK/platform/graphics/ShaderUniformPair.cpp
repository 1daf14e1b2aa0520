/** @file ShaderUniformPair.cpp One named uniform of a shader pair, seen from both of its stages. */
#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"

#include <vector>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "KorvaneXDK/platform/graphics/Shader.h"

namespace korvane
{

namespace
{

os::gfx::ConstantDesc ReadDesc(const CObject* sender, os::gfx::ConstantTable* table, os::gfx::ConstantHandle handle,
                               const char* message)
{
    os::gfx::ConstantDesc desc;
    std::uint32_t count = 1;
    if (table == nullptr || os::gfx::Failed(table->GetConstantDesc(handle, &desc, &count)) || count != 1) {
        throw EInvalidOperation(sender, message);
    }
    return desc;
}

/// The platform's matrix pointers for the engine's (the same objects seen as their base).
std::vector<const os::gfx::Matrix*> AsPlatform(const Matrix4* const* values, std::uint32_t count)
{
    std::vector<const os::gfx::Matrix*> pointers;
    if (values != nullptr) {
        pointers.assign(values, values + count);
    }
    return pointers;
}

std::vector<const os::gfx::Matrix*> AsPlatform(const Matrix4* values, std::uint32_t count)
{
    std::vector<const os::gfx::Matrix*> pointers;
    for (std::uint32_t i = 0; values != nullptr && i < count; ++i) {
        pointers.push_back(&values[i]);
    }
    return pointers;
}

} // namespace

CShaderUniformPair::CShaderUniformPair() = default;

CShaderUniformPair::CShaderUniformPair(boost::shared_ptr<CShader> vertexShader, boost::shared_ptr<CShader> pixelShader,
                                       os::gfx::ConstantHandle vertexHandle, os::gfx::ConstantHandle pixelHandle)
    : vertexShader_(std::move(vertexShader)), pixelShader_(std::move(pixelShader)), vertexHandle_(vertexHandle),
      pixelHandle_(pixelHandle)
{
    vertexTable_ = vertexShader_ ? vertexShader_->GetConstantTable() : nullptr;
    pixelTable_ = pixelShader_ ? pixelShader_->GetConstantTable() : nullptr;
    if (vertexHandle_ != nullptr) {
        vertexDesc_ =
            ReadDesc(this, vertexTable_, vertexHandle_, "Failed to GetConstantDesc() in vertex-shader-uniform");
    }
    if (pixelHandle_ != nullptr) {
        pixelDesc_ = ReadDesc(this, pixelTable_, pixelHandle_, "Failed to GetConstantDesc() in pixel-shader-uniform");
    }
}

CShaderUniformPair::~CShaderUniformPair() = default;

bool CShaderUniformPair::IsValid()
{
    return vertexHandle_ != nullptr || pixelHandle_ != nullptr;
}
os::gfx::ConstantTable* CShaderUniformPair::GetVertexConstantTable()
{
    return vertexTable_;
}
os::gfx::ConstantTable* CShaderUniformPair::GetPixelConstantTable()
{
    return pixelTable_;
}
os::gfx::ConstantHandle CShaderUniformPair::GetVertexHandle()
{
    return vertexHandle_;
}
os::gfx::ConstantHandle CShaderUniformPair::GetPixelHandle()
{
    return pixelHandle_;
}
const os::gfx::ConstantDesc& CShaderUniformPair::GetVertexDesc()
{
    return vertexDesc_;
}
const os::gfx::ConstantDesc& CShaderUniformPair::GetPixelDesc()
{
    return pixelDesc_;
}

template <typename Write>
void CShaderUniformPair::Set(Write write)
{
    if (vertexHandle_ == nullptr && pixelHandle_ == nullptr) {
        return; // the empty pair: nothing to reach, not even the device
    }
    os::gfx::Device& device = RequireDriverDevice(this);
    if (vertexHandle_ != nullptr && os::gfx::Failed(write(*vertexTable_, &device, vertexHandle_))) {
        throw EInvalidOperation(this, "Failed to set vertex-shader uniform: " + vertexDesc_.Name);
    }
    if (pixelHandle_ != nullptr && os::gfx::Failed(write(*pixelTable_, &device, pixelHandle_))) {
        throw EInvalidOperation(this, "Failed to set pixel-shader uniform: " + pixelDesc_.Name);
    }
}

void CShaderUniformPair::SetValue(const void* data, std::uint32_t bytes)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetValue(d, h, data, bytes);
    });
}

void CShaderUniformPair::SetBool(std::int32_t value)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetBool(d, h, value);
    });
}

void CShaderUniformPair::SetBoolArray(const std::int32_t* values, std::uint32_t count)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetBoolArray(d, h, values, count);
    });
}

void CShaderUniformPair::SetInt(std::int32_t value)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetInt(d, h, value);
    });
}

void CShaderUniformPair::SetIntArray(const std::int32_t* values, std::uint32_t count)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetIntArray(d, h, values, count);
    });
}

void CShaderUniformPair::SetFloat(float value)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetFloat(d, h, value);
    });
}

void CShaderUniformPair::SetFloatArray(const float* values, std::uint32_t count)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetFloatArray(d, h, values, count);
    });
}

void CShaderUniformPair::SetVector2(const Vector2<float>& value)
{
    SetVector(os::gfx::Vector4{value.x, value.y, 0.0f, 1.0f});
}

void CShaderUniformPair::SetVector3(const Vector3<float>& value)
{
    SetVector(os::gfx::Vector4{value.x, value.y, value.z, 1.0f});
}

void CShaderUniformPair::SetVector(const os::gfx::Vector4& value)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetVector(d, h, &value);
    });
}

void CShaderUniformPair::SetVectorArray(const os::gfx::Vector4* values, std::uint32_t count)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetVectorArray(d, h, values, count);
    });
}

void CShaderUniformPair::SetMatrix(const Matrix4* value)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetMatrix(d, h, value);
    });
}

void CShaderUniformPair::SetMatrixArray(const Matrix4* values, std::uint32_t count)
{
    const auto pointers = AsPlatform(values, count);
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetMatrixPointerArray(d, h, values != nullptr ? pointers.data() : nullptr, count);
    });
}

void CShaderUniformPair::SetMatrixPointerArray(const Matrix4* const* values, std::uint32_t count)
{
    const auto pointers = AsPlatform(values, count);
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetMatrixPointerArray(d, h, values != nullptr ? pointers.data() : nullptr, count);
    });
}

void CShaderUniformPair::SetMatrixTranspose(const Matrix4* value)
{
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetMatrixTranspose(d, h, value);
    });
}

void CShaderUniformPair::SetMatrixTransposeArray(const Matrix4* values, std::uint32_t count)
{
    const auto pointers = AsPlatform(values, count);
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetMatrixTransposePointerArray(d, h, values != nullptr ? pointers.data() : nullptr, count);
    });
}

void CShaderUniformPair::SetMatrixTransposePointerArray(const Matrix4* const* values, std::uint32_t count)
{
    const auto pointers = AsPlatform(values, count);
    Set([&](os::gfx::ConstantTable& t, os::gfx::Device* d, os::gfx::ConstantHandle h) {
        return t.SetMatrixTransposePointerArray(d, h, values != nullptr ? pointers.data() : nullptr, count);
    });
}

void CShaderUniformPair::SetColor(const Color4<float>& value)
{
    SetVector(os::gfx::Vector4{value.r, value.g, value.b, value.a});
}

} // namespace korvane
