/** @file ConstantTable.cpp A stage's constant table built from GL program introspection. */
#include "os/gfx/ConstantTable.h"

#include <algorithm>
#include <cstring>
#include <map>

#include <epoxy/gl.h>

#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/SamplerTypes.h"
#include "os/gfx/Shader.h"

namespace os::gfx
{

/// One constant: a leaf uniform (with its values in the table's word arrays) or a structure
/// made of leaves.
struct Constant
{
    enum class Base
    {
        Float,
        Int,
        UInt,
        Bool,
        Sampler,
        Struct,
    };

    const ConstantTable* owner = nullptr;
    ConstantDesc desc;
    Base base = Base::Float;
    GLenum glType = 0;
    GLint location = -1;
    std::uint32_t columns = 1; ///< vector components, or matrix columns
    std::uint32_t rows = 1;    ///< matrix rows (1 for scalars and vectors)
    std::uint32_t elements = 1;
    std::uint32_t offset = 0; ///< first word in the table's value arrays
    bool matrix = false;
    std::vector<GLint> elementLocations;
    std::vector<Constant*> members;

    std::uint32_t PerElement() const { return columns * rows; }
    std::uint32_t Total() const { return PerElement() * elements; }
};

namespace
{

using Base = Constant::Base;

struct TypeInfo
{
    Base base;
    std::uint32_t columns;
    std::uint32_t rows;
    bool matrix;
    ParameterType type;
};

bool Describe(GLenum type, TypeInfo* info)
{
    switch (type) {
    case GL_FLOAT:
        *info = {Base::Float, 1, 1, false, ParameterType::Float};
        return true;
    case GL_FLOAT_VEC2:
        *info = {Base::Float, 2, 1, false, ParameterType::Float};
        return true;
    case GL_FLOAT_VEC3:
        *info = {Base::Float, 3, 1, false, ParameterType::Float};
        return true;
    case GL_FLOAT_VEC4:
        *info = {Base::Float, 4, 1, false, ParameterType::Float};
        return true;
    case GL_INT:
        *info = {Base::Int, 1, 1, false, ParameterType::Int};
        return true;
    case GL_INT_VEC2:
        *info = {Base::Int, 2, 1, false, ParameterType::Int};
        return true;
    case GL_INT_VEC3:
        *info = {Base::Int, 3, 1, false, ParameterType::Int};
        return true;
    case GL_INT_VEC4:
        *info = {Base::Int, 4, 1, false, ParameterType::Int};
        return true;
    case GL_UNSIGNED_INT:
        *info = {Base::UInt, 1, 1, false, ParameterType::Int};
        return true;
    case GL_UNSIGNED_INT_VEC2:
        *info = {Base::UInt, 2, 1, false, ParameterType::Int};
        return true;
    case GL_UNSIGNED_INT_VEC3:
        *info = {Base::UInt, 3, 1, false, ParameterType::Int};
        return true;
    case GL_UNSIGNED_INT_VEC4:
        *info = {Base::UInt, 4, 1, false, ParameterType::Int};
        return true;
    case GL_BOOL:
        *info = {Base::Bool, 1, 1, false, ParameterType::Bool};
        return true;
    case GL_BOOL_VEC2:
        *info = {Base::Bool, 2, 1, false, ParameterType::Bool};
        return true;
    case GL_BOOL_VEC3:
        *info = {Base::Bool, 3, 1, false, ParameterType::Bool};
        return true;
    case GL_BOOL_VEC4:
        *info = {Base::Bool, 4, 1, false, ParameterType::Bool};
        return true;
    case GL_FLOAT_MAT2:
        *info = {Base::Float, 2, 2, true, ParameterType::Float};
        return true;
    case GL_FLOAT_MAT3:
        *info = {Base::Float, 3, 3, true, ParameterType::Float};
        return true;
    case GL_FLOAT_MAT4:
        *info = {Base::Float, 4, 4, true, ParameterType::Float};
        return true;
    case GL_FLOAT_MAT2x3:
        *info = {Base::Float, 2, 3, true, ParameterType::Float};
        return true;
    case GL_FLOAT_MAT2x4:
        *info = {Base::Float, 2, 4, true, ParameterType::Float};
        return true;
    case GL_FLOAT_MAT3x2:
        *info = {Base::Float, 3, 2, true, ParameterType::Float};
        return true;
    case GL_FLOAT_MAT3x4:
        *info = {Base::Float, 3, 4, true, ParameterType::Float};
        return true;
    case GL_FLOAT_MAT4x2:
        *info = {Base::Float, 4, 2, true, ParameterType::Float};
        return true;
    case GL_FLOAT_MAT4x3:
        *info = {Base::Float, 4, 3, true, ParameterType::Float};
        return true;
    default: {
        const ParameterType sampler = SamplerParameterType(type);
        if (sampler == ParameterType::Void) {
            return false; // doubles, images, atomic counters: not constants of this engine
        }
        *info = {Base::Sampler, 1, 1, false, sampler};
        return true;
    }
    }
}

std::uint32_t FloatWord(float value)
{
    std::uint32_t word;
    std::memcpy(&word, &value, sizeof word);
    return word;
}

float WordFloat(std::uint32_t word)
{
    float value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

/// A value for a component of the given base type.
std::uint32_t FromFloat(Base base, float value)
{
    switch (base) {
    case Base::Float:
        return FloatWord(value);
    case Base::Int:
        if (!(value > -2147483648.0f)) {
            return 0x80000000u;
        }
        if (value >= 2147483648.0f) {
            return 0x7FFFFFFFu;
        }
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    case Base::UInt:
        if (!(value > 0.0f)) {
            return 0u;
        }
        return value >= 4294967296.0f ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
    default:
        return value != 0.0f ? 1u : 0u;
    }
}

std::uint32_t FromInt(Base base, std::int32_t value)
{
    switch (base) {
    case Base::Float:
        return FloatWord(static_cast<float>(value));
    case Base::Int:
    case Base::UInt:
        return static_cast<std::uint32_t>(value);
    default:
        return value != 0 ? 1u : 0u;
    }
}

bool Hidden(const std::string& name)
{
    return name.compare(0, 3, "gl_") == 0 || name.compare(0, 8, "korvane_") == 0;
}

} // namespace

ConstantTable::ConstantTable(std::shared_ptr<Shader> shader)
    : shader_(std::move(shader)), program_(shader_->GetProgram()),
      version_(shader_->GetStage() == ShaderStage::Vertex ? VertexShaderVersion(3, 0) : PixelShaderVersion(3, 0))
{}

ConstantTable::~ConstantTable() = default;

void ConstantTable::Build()
{
    const GLuint program = program_;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    GLint longest = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORM_MAX_LENGTH, &longest);
    std::string buffer(static_cast<std::size_t>(std::max(longest, 1)) + 1, '\0');

    // Leaves grouped by their top-level name (up to the first '.' or '[').
    std::map<std::string, std::vector<Constant*>> groups;
    for (GLint i = 0; i < count; ++i) {
        const auto index = static_cast<GLuint>(i);
        GLint block = -1;
        glGetActiveUniformsiv(program, 1, &index, GL_UNIFORM_BLOCK_INDEX, &block);
        if (block != -1) {
            continue; // block members are not constants of the default block
        }
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, index, static_cast<GLsizei>(buffer.size()), &length, &size, &type, buffer.data());
        std::string name(buffer.data(), static_cast<std::size_t>(std::max(length, 0)));
        TypeInfo info;
        if (Hidden(name) || !Describe(type, &info) || size < 1) {
            continue;
        }
        // "a[0]" is the array a; "s[1].m[0]" is member m of element 1 of the array of structures s.
        std::string leafName = name;
        if (leafName.size() > 3 && leafName.compare(leafName.size() - 3, 3, "[0]") == 0) {
            leafName.resize(leafName.size() - 3);
        }
        auto leaf = std::make_unique<Constant>();
        leaf->owner = this;
        leaf->base = info.base;
        leaf->glType = type;
        leaf->location = glGetUniformLocation(program, name.c_str());
        leaf->columns = info.columns;
        leaf->rows = info.rows;
        leaf->matrix = info.matrix;
        leaf->elements = static_cast<std::uint32_t>(size);
        if (leaf->location < 0) {
            continue;
        }
        for (std::uint32_t e = 0; e < leaf->elements; ++e) {
            leaf->elementLocations.push_back(
                e == 0 ? leaf->location
                       : glGetUniformLocation(program, (leafName + "[" + std::to_string(e) + "]").c_str()));
        }
        ConstantDesc& d = leaf->desc;
        d.Name = leafName;
        d.Elements = leaf->elements;
        d.Rows = info.rows;
        d.Columns = info.columns;
        d.Type = info.type;
        d.Bytes = leaf->Total() * 4u;
        d.RegisterIndex = static_cast<std::uint32_t>(leaf->location);
        if (info.base == Base::Sampler) {
            d.RegisterSet = RegisterSet::Sampler;
            d.Class = ParameterClass::Object;
            d.RegisterCount = leaf->elements;
        } else {
            d.RegisterSet = info.base == Base::Bool  ? RegisterSet::Bool
                            : info.base == Base::Int ? RegisterSet::Int4
                                                     : RegisterSet::Float4;
            d.Class = info.matrix        ? ParameterClass::MatrixColumns
                      : info.columns > 1 ? ParameterClass::Vector
                                         : ParameterClass::Scalar;
            d.RegisterCount = leaf->elements * (info.matrix ? info.columns : 1u);
        }
        leaf->offset = static_cast<std::uint32_t>(values_.size());
        values_.resize(values_.size() + leaf->Total(), 0u);
        const std::size_t cut = name.find_first_of(".[");
        groups[name.substr(0, cut)].push_back(leaf.get());
        all_.push_back(std::move(leaf));
    }

    // The values right after linking (with the units the compile gave the samplers) are the defaults.
    for (const auto& leaf : all_) {
        for (std::uint32_t e = 0; e < leaf->elements; ++e) {
            const GLint location = leaf->elementLocations[e];
            std::uint32_t* at = values_.data() + leaf->offset + e * leaf->PerElement();
            if (location < 0) {
                continue;
            }
            if (leaf->base == Base::Float) {
                glGetUniformfv(program, location, reinterpret_cast<GLfloat*>(at));
            } else if (leaf->base == Base::UInt) {
                glGetUniformuiv(program, location, at);
            } else {
                glGetUniformiv(program, location, reinterpret_cast<GLint*>(at));
            }
        }
        if (leaf->base == Base::Sampler) {
            leaf->desc.RegisterIndex = values_[leaf->offset];
        }
    }
    defaults_ = values_;
    for (const auto& leaf : all_) {
        leaf->desc.DefaultValue = defaults_.data() + leaf->offset;
    }

    for (auto& [topName, leaves] : groups) {
        std::sort(leaves.begin(), leaves.end(),
                  [](const Constant* a, const Constant* b) { return a->location < b->location; });
        const bool plain = leaves.size() == 1 && leaves.front()->desc.Name == topName;
        if (plain) {
            top_.push_back(leaves.front());
            continue;
        }
        auto structure = std::make_unique<Constant>();
        structure->owner = this;
        structure->base = Base::Struct;
        structure->location = leaves.front()->location;
        structure->members = leaves;
        ConstantDesc& d = structure->desc;
        d.Name = topName;
        d.RegisterSet = RegisterSet::Float4;
        d.RegisterIndex = static_cast<std::uint32_t>(structure->location);
        d.Class = ParameterClass::Struct;
        d.Type = ParameterType::Void;
        d.Rows = 1;
        d.Columns = 1;
        d.Elements = 1;
        d.StructMembers = static_cast<std::uint32_t>(leaves.size());
        for (const Constant* member : leaves) {
            d.Bytes += member->desc.Bytes;
            d.RegisterCount += member->desc.RegisterCount;
        }
        top_.push_back(structure.get());
        all_.push_back(std::move(structure));
    }
    std::sort(top_.begin(), top_.end(), [](const Constant* a, const Constant* b) {
        return a->location != b->location ? a->location < b->location : a->desc.Name < b->desc.Name;
    });
}

bool ConstantTable::Owns(ConstantHandle constant) const
{
    return constant != nullptr && constant->owner == this;
}

Result ConstantTable::Check(Device* device, ConstantHandle constant) const
{
    if (device == nullptr || !device->IsOwnerThread() || !Owns(constant)) {
        return kErrInvalidCall;
    }
    return kOk;
}

Result ConstantTable::GetDesc(ConstantTableDesc* desc) const
{
    if (desc == nullptr) {
        return kErrInvalidCall;
    }
    desc->Creator = "korvane GLSL layer";
    desc->Version = version_;
    desc->Constants = static_cast<std::uint32_t>(top_.size());
    return kOk;
}

ConstantHandle ConstantTable::GetConstant(ConstantHandle parent, std::uint32_t index) const
{
    if (parent == nullptr) {
        return index < top_.size() ? top_[index] : nullptr;
    }
    if (!Owns(parent) || index >= parent->members.size()) {
        return nullptr;
    }
    return parent->members[index];
}

ConstantHandle ConstantTable::GetConstantByName(ConstantHandle parent, const std::string& name) const
{
    if (parent != nullptr && !Owns(parent)) {
        return nullptr;
    }
    const std::string prefix = parent != nullptr ? parent->desc.Name + "." : std::string();
    const auto& list = parent != nullptr ? parent->members : top_;
    for (const Constant* constant : list) {
        if (constant->desc.Name == prefix + name) {
            return constant;
        }
    }
    return nullptr;
}

Result ConstantTable::GetConstantDesc(ConstantHandle constant, ConstantDesc* descs, std::uint32_t* count) const
{
    if (!Owns(constant) || count == nullptr || (descs == nullptr && *count != 0)) {
        return kErrInvalidCall;
    }
    if (*count >= 1) {
        descs[0] = constant->desc;
    }
    *count = 1;
    return kOk;
}

std::uint32_t ConstantTable::GetSamplerIndex(ConstantHandle constant) const
{
    if (!Owns(constant) || constant->base != Base::Sampler) {
        return 0xFFFFFFFFu;
    }
    return values_[constant->offset];
}

Result ConstantTable::SetDefaults(Device* device)
{
    if (device == nullptr || !device->IsOwnerThread()) {
        return kErrInvalidCall;
    }
    values_ = defaults_;
    for (const auto& constant : all_) {
        if (constant->base != Base::Struct) {
            Upload(*constant);
        }
    }
    return kOk;
}

void ConstantTable::Upload(const Constant& leaf)
{
    const GLuint program = program_;
    const GLint location = leaf.location;
    const auto count = static_cast<GLsizei>(leaf.elements);
    const std::uint32_t* words = values_.data() + leaf.offset;
    const auto* f = reinterpret_cast<const GLfloat*>(words);
    const auto* i = reinterpret_cast<const GLint*>(words);
    switch (leaf.glType) {
    case GL_FLOAT:
        glProgramUniform1fv(program, location, count, f);
        return;
    case GL_FLOAT_VEC2:
        glProgramUniform2fv(program, location, count, f);
        return;
    case GL_FLOAT_VEC3:
        glProgramUniform3fv(program, location, count, f);
        return;
    case GL_FLOAT_VEC4:
        glProgramUniform4fv(program, location, count, f);
        return;
    case GL_UNSIGNED_INT:
        glProgramUniform1uiv(program, location, count, words);
        return;
    case GL_UNSIGNED_INT_VEC2:
        glProgramUniform2uiv(program, location, count, words);
        return;
    case GL_UNSIGNED_INT_VEC3:
        glProgramUniform3uiv(program, location, count, words);
        return;
    case GL_UNSIGNED_INT_VEC4:
        glProgramUniform4uiv(program, location, count, words);
        return;
    case GL_FLOAT_MAT2:
        glProgramUniformMatrix2fv(program, location, count, GL_FALSE, f);
        return;
    case GL_FLOAT_MAT3:
        glProgramUniformMatrix3fv(program, location, count, GL_FALSE, f);
        return;
    case GL_FLOAT_MAT4:
        glProgramUniformMatrix4fv(program, location, count, GL_FALSE, f);
        return;
    case GL_FLOAT_MAT2x3:
        glProgramUniformMatrix2x3fv(program, location, count, GL_FALSE, f);
        return;
    case GL_FLOAT_MAT2x4:
        glProgramUniformMatrix2x4fv(program, location, count, GL_FALSE, f);
        return;
    case GL_FLOAT_MAT3x2:
        glProgramUniformMatrix3x2fv(program, location, count, GL_FALSE, f);
        return;
    case GL_FLOAT_MAT3x4:
        glProgramUniformMatrix3x4fv(program, location, count, GL_FALSE, f);
        return;
    case GL_FLOAT_MAT4x2:
        glProgramUniformMatrix4x2fv(program, location, count, GL_FALSE, f);
        return;
    case GL_FLOAT_MAT4x3:
        glProgramUniformMatrix4x3fv(program, location, count, GL_FALSE, f);
        return;
    default:
        break;
    }
    // Integers, booleans and samplers.
    switch (leaf.columns) {
    case 1:
        glProgramUniform1iv(program, location, count, i);
        return;
    case 2:
        glProgramUniform2iv(program, location, count, i);
        return;
    case 3:
        glProgramUniform3iv(program, location, count, i);
        return;
    default:
        glProgramUniform4iv(program, location, count, i);
        return;
    }
}

Result ConstantTable::WriteFlat(Device* device, ConstantHandle constant, Source source, const void* values,
                                std::uint32_t count)
{
    const Result checked = Check(device, constant);
    if (Failed(checked)) {
        return checked;
    }
    if (constant->base == Base::Sampler || constant->base == Base::Struct || (values == nullptr && count != 0)) {
        return kErrInvalidCall;
    }
    const std::uint32_t n = std::min(count, constant->Total());
    std::uint32_t* words = values_.data() + constant->offset;
    for (std::uint32_t k = 0; k < n; ++k) {
        words[k] = source == Source::Float ? FromFloat(constant->base, static_cast<const float*>(values)[k])
                                           : FromInt(constant->base, static_cast<const std::int32_t*>(values)[k]);
    }
    Upload(*constant);
    return kOk;
}

Result ConstantTable::WriteVectors(Device* device, ConstantHandle constant, const Vector4* vectors, std::uint32_t count)
{
    const Result checked = Check(device, constant);
    if (Failed(checked)) {
        return checked;
    }
    if (constant->base == Base::Sampler || constant->base == Base::Struct || (vectors == nullptr && count != 0)) {
        return kErrInvalidCall;
    }
    // One vector per element of a vector or scalar constant, per column of a matrix.
    const std::uint32_t stride = constant->matrix ? constant->rows : constant->columns;
    const std::uint32_t slots = constant->Total() / stride;
    const std::uint32_t n = std::min(count, slots);
    const std::uint32_t used = std::min(stride, 4u);
    std::uint32_t* words = values_.data() + constant->offset;
    for (std::uint32_t k = 0; k < n; ++k) {
        const float v[4] = {vectors[k].x, vectors[k].y, vectors[k].z, vectors[k].w};
        for (std::uint32_t c = 0; c < used; ++c) {
            words[k * stride + c] = FromFloat(constant->base, v[c]);
        }
    }
    Upload(*constant);
    return kOk;
}

Result ConstantTable::WriteMatrices(Device* device, ConstantHandle constant, const Matrix* const* matrices,
                                    const Matrix* contiguous, std::uint32_t count, bool transpose)
{
    const Result checked = Check(device, constant);
    if (Failed(checked)) {
        return checked;
    }
    if (constant->base == Base::Sampler || constant->base == Base::Struct ||
        (matrices == nullptr && contiguous == nullptr && count != 0)) {
        return kErrInvalidCall;
    }
    const auto at = [&](std::uint32_t k) -> const Matrix* {
        return matrices != nullptr ? matrices[k] : contiguous + k;
    };
    // Uploaded as it is, a row of the engine's matrix becomes a GLSL column (so that GLSL's
    // M * v equals the engine's v x M); transposed, a column becomes a column.
    const auto element = [transpose](const Matrix& m, std::uint32_t column, std::uint32_t row) {
        return transpose ? m(static_cast<int>(row), static_cast<int>(column))
                         : m(static_cast<int>(column), static_cast<int>(row));
    };
    std::uint32_t* words = values_.data() + constant->offset;
    if (constant->matrix) {
        const std::uint32_t n = std::min(count, constant->elements);
        for (std::uint32_t k = 0; k < n; ++k) {
            const Matrix* m = at(k);
            if (m == nullptr) {
                return kErrInvalidCall;
            }
            for (std::uint32_t c = 0; c < constant->columns; ++c) {
                for (std::uint32_t r = 0; r < constant->rows; ++r) {
                    words[k * constant->PerElement() + c * constant->rows + r] =
                        FromFloat(constant->base, element(*m, c, r));
                }
            }
        }
    } else {
        // Into vectors: four per matrix, as the matrix would fill four vector registers.
        const std::uint32_t stride = constant->columns;
        const std::uint32_t slots = constant->elements;
        const std::uint32_t n = std::min(count * 4u, slots);
        for (std::uint32_t k = 0; k < n; ++k) {
            const Matrix* m = at(k / 4u);
            if (m == nullptr) {
                return kErrInvalidCall;
            }
            for (std::uint32_t c = 0; c < std::min(stride, 4u); ++c) {
                words[k * stride + c] = FromFloat(constant->base, element(*m, k % 4u, c));
            }
        }
    }
    Upload(*constant);
    return kOk;
}

Result ConstantTable::SetValue(Device* device, ConstantHandle constant, const void* data, std::uint32_t bytes)
{
    const Result checked = Check(device, constant);
    if (Failed(checked)) {
        return checked;
    }
    if (constant->base == Base::Sampler || (data == nullptr && bytes != 0)) {
        return kErrInvalidCall;
    }
    const auto* source = static_cast<const std::uint8_t*>(data);
    std::uint32_t remaining = bytes / 4u;
    const auto fill = [&](const Constant& leaf) {
        if (leaf.base == Base::Sampler) {
            return; // a structure's sampler member keeps its unit
        }
        const std::uint32_t n = std::min(remaining, leaf.Total());
        std::uint32_t* words = values_.data() + leaf.offset;
        for (std::uint32_t k = 0; k < n; ++k) {
            std::uint32_t word;
            std::memcpy(&word, source, sizeof word);
            words[k] = leaf.base == Base::Bool ? (word != 0 ? 1u : 0u) : word;
            source += sizeof word;
        }
        remaining -= n;
        Upload(leaf);
    };
    if (constant->base == Base::Struct) {
        for (const Constant* member : constant->members) {
            fill(*member);
        }
    } else {
        fill(*constant);
    }
    return kOk;
}

Result ConstantTable::SetBool(Device* device, ConstantHandle constant, std::int32_t value)
{
    const std::int32_t normalized = value != 0 ? 1 : 0;
    return WriteFlat(device, constant, Source::Int, &normalized, 1);
}

Result ConstantTable::SetBoolArray(Device* device, ConstantHandle constant, const std::int32_t* values,
                                   std::uint32_t count)
{
    const Result checked = Check(device, constant);
    if (Failed(checked) || values == nullptr) {
        return Failed(checked) ? checked : kErrInvalidCall;
    }
    std::vector<std::int32_t> normalized(std::min(count, constant->Total()));
    for (std::size_t k = 0; k < normalized.size(); ++k) {
        normalized[k] = values[k] != 0 ? 1 : 0;
    }
    return WriteFlat(device, constant, Source::Int, normalized.data(), static_cast<std::uint32_t>(normalized.size()));
}

Result ConstantTable::SetInt(Device* device, ConstantHandle constant, std::int32_t value)
{
    return WriteFlat(device, constant, Source::Int, &value, 1);
}

Result ConstantTable::SetIntArray(Device* device, ConstantHandle constant, const std::int32_t* values,
                                  std::uint32_t count)
{
    return WriteFlat(device, constant, Source::Int, values, count);
}

Result ConstantTable::SetFloat(Device* device, ConstantHandle constant, float value)
{
    return WriteFlat(device, constant, Source::Float, &value, 1);
}

Result ConstantTable::SetFloatArray(Device* device, ConstantHandle constant, const float* values, std::uint32_t count)
{
    return WriteFlat(device, constant, Source::Float, values, count);
}

Result ConstantTable::SetVector(Device* device, ConstantHandle constant, const Vector4* vector)
{
    return vector == nullptr ? kErrInvalidCall : WriteVectors(device, constant, vector, 1);
}

Result ConstantTable::SetVectorArray(Device* device, ConstantHandle constant, const Vector4* vectors,
                                     std::uint32_t count)
{
    return WriteVectors(device, constant, vectors, count);
}

Result ConstantTable::SetMatrix(Device* device, ConstantHandle constant, const Matrix* matrix)
{
    return matrix == nullptr ? kErrInvalidCall : WriteMatrices(device, constant, nullptr, matrix, 1, false);
}

Result ConstantTable::SetMatrixArray(Device* device, ConstantHandle constant, const Matrix* matrices,
                                     std::uint32_t count)
{
    return WriteMatrices(device, constant, nullptr, matrices, count, false);
}

Result ConstantTable::SetMatrixPointerArray(Device* device, ConstantHandle constant, const Matrix* const* matrices,
                                            std::uint32_t count)
{
    return WriteMatrices(device, constant, matrices, nullptr, count, false);
}

Result ConstantTable::SetMatrixTranspose(Device* device, ConstantHandle constant, const Matrix* matrix)
{
    return matrix == nullptr ? kErrInvalidCall : WriteMatrices(device, constant, nullptr, matrix, 1, true);
}

Result ConstantTable::SetMatrixTransposeArray(Device* device, ConstantHandle constant, const Matrix* matrices,
                                              std::uint32_t count)
{
    return WriteMatrices(device, constant, nullptr, matrices, count, true);
}

Result ConstantTable::SetMatrixTransposePointerArray(Device* device, ConstantHandle constant,
                                                     const Matrix* const* matrices, std::uint32_t count)
{
    return WriteMatrices(device, constant, matrices, nullptr, count, true);
}

Result ConstantTable::ReadBack(Device* device, ConstantHandle constant, std::vector<float>* values) const
{
    const Result checked = Check(device, constant);
    if (Failed(checked) || values == nullptr) {
        return Failed(checked) ? checked : kErrInvalidCall;
    }
    values->clear();
    const auto readLeaf = [&](const Constant& leaf) {
        for (std::uint32_t e = 0; e < leaf.elements; ++e) {
            std::uint32_t words[16] = {};
            const GLint location = leaf.elementLocations[e];
            if (leaf.base == Base::Float) {
                glGetUniformfv(program_, location, reinterpret_cast<GLfloat*>(words));
            } else if (leaf.base == Base::UInt) {
                glGetUniformuiv(program_, location, words);
            } else {
                glGetUniformiv(program_, location, reinterpret_cast<GLint*>(words));
            }
            for (std::uint32_t k = 0; k < leaf.PerElement(); ++k) {
                values->push_back(leaf.base == Base::Float  ? WordFloat(words[k])
                                  : leaf.base == Base::UInt ? static_cast<float>(words[k])
                                                            : static_cast<float>(static_cast<std::int32_t>(words[k])));
            }
        }
    };
    if (constant->base == Base::Struct) {
        for (const Constant* member : constant->members) {
            readLeaf(*member);
        }
    } else {
        readLeaf(*constant);
    }
    return kOk;
}

Result GetShaderConstantTable(const std::shared_ptr<Shader>& shader, std::shared_ptr<ConstantTable>* table)
{
    if (table == nullptr) {
        return kErrInvalidCall;
    }
    table->reset();
    if (!shader || shader->GetProgram() == 0) {
        return kErrInvalidCall;
    }
    // One table per stage: its copy of the values stays the program's, whoever asks.
    std::shared_ptr<ConstantTable> made = shader->ConstantTableSlot().lock();
    if (!made) {
        made.reset(new ConstantTable(shader));
        made->Build();
        shader->ConstantTableSlot() = made;
    }
    *table = std::move(made);
    return kOk;
}

} // namespace os::gfx
