/** @file ConstantTable.h A shader stage's constants, read from the program's active uniforms. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "os/gfx/Math.h"
#include "os/gfx/Types.h"

namespace os::gfx
{

class Device;
class Shader;

enum class RegisterSet : std::uint32_t
{
    Bool = 0,
    Int4 = 1,
    Float4 = 2,
    Sampler = 3,
};

enum class ParameterClass : std::uint32_t
{
    Scalar = 0,
    Vector = 1,
    MatrixRows = 2,
    MatrixColumns = 3,
    Object = 4,
    Struct = 5,
};

enum class ParameterType : std::uint32_t
{
    Void = 0,
    Bool = 1,
    Int = 2,
    Float = 3,
    Sampler = 10,
    Sampler1D = 11,
    Sampler2D = 12,
    Sampler3D = 13,
    SamplerCube = 14,
};

/// What a constant is. Matrices report MatrixColumns with Rows and Columns as GLSL declares
/// them; Bytes is the size of all elements as 32-bit values; DefaultValue points at the
/// values the program held right after linking (its initialisers), owned by the table.
struct ConstantDesc
{
    std::string Name;
    os::gfx::RegisterSet RegisterSet = os::gfx::RegisterSet::Float4;
    std::uint32_t RegisterIndex = 0; ///< the uniform location, or the sampler's unit
    std::uint32_t RegisterCount = 0;
    ParameterClass Class = ParameterClass::Scalar;
    ParameterType Type = ParameterType::Void;
    std::uint32_t Rows = 0;
    std::uint32_t Columns = 0;
    std::uint32_t Elements = 0;
    std::uint32_t StructMembers = 0;
    std::uint32_t Bytes = 0;
    const void* DefaultValue = nullptr;
};

struct ConstantTableDesc
{
    const char* Creator = nullptr;
    std::uint32_t Version = 0; ///< the stage's shader version (0xFFFE0300 vertex, 0xFFFF0300 pixel)
    std::uint32_t Constants = 0;
};

struct Constant;
/// Names one constant of one table; null names none.
using ConstantHandle = const Constant*;

/// The top-level constants of one program in location order (then name): plain uniforms,
/// arrays ("a[0]" becomes "a" with its element count) and structures ("s.m" members become one
/// structure constant "s"). Names starting with "gl_" or the layer's "korvane_" are hidden.
///
/// Setters write through to the program and convert to the declared type: a four-float vector
/// fills a vec2 with its first two components, a float sets the first component, integers and
/// booleans are converted. They never write past the constant nor read more of the caller's
/// array than the constant holds. A sampler takes no value (its unit is fixed when the shader
/// loads); a structure takes only SetValue, member after member. A null or foreign handle, a
/// refused value, or a device not on its own thread gives the invalid-call code.
///
/// The table keeps its program alive. Main thread (the device's) only.
class ConstantTable
{
public:
    ~ConstantTable();
    ConstantTable(const ConstantTable&) = delete;
    ConstantTable& operator=(const ConstantTable&) = delete;

    Result GetDesc(ConstantTableDesc* desc) const;
    /// Constant `index` of the table (parent null) or member `index` of a structure.
    ConstantHandle GetConstant(ConstantHandle parent, std::uint32_t index) const;
    ConstantHandle GetConstantByName(ConstantHandle parent, const std::string& name) const;
    /// `count` holds the room in `descs` on entry (at least 1) and the number written (1) on return.
    Result GetConstantDesc(ConstantHandle constant, ConstantDesc* descs, std::uint32_t* count) const;
    /// The texture stage a sampler constant reads, or 0xFFFFFFFF for anything else.
    std::uint32_t GetSamplerIndex(ConstantHandle constant) const;
    /// Writes every constant's default value back into the program.
    Result SetDefaults(Device* device);

    Result SetValue(Device* device, ConstantHandle constant, const void* data, std::uint32_t bytes);
    Result SetBool(Device* device, ConstantHandle constant, std::int32_t value);
    Result SetBoolArray(Device* device, ConstantHandle constant, const std::int32_t* values, std::uint32_t count);
    Result SetInt(Device* device, ConstantHandle constant, std::int32_t value);
    Result SetIntArray(Device* device, ConstantHandle constant, const std::int32_t* values, std::uint32_t count);
    Result SetFloat(Device* device, ConstantHandle constant, float value);
    Result SetFloatArray(Device* device, ConstantHandle constant, const float* values, std::uint32_t count);
    Result SetVector(Device* device, ConstantHandle constant, const Vector4* vector);
    Result SetVectorArray(Device* device, ConstantHandle constant, const Vector4* vectors, std::uint32_t count);
    Result SetMatrix(Device* device, ConstantHandle constant, const Matrix* matrix);
    Result SetMatrixArray(Device* device, ConstantHandle constant, const Matrix* matrices, std::uint32_t count);
    Result SetMatrixPointerArray(Device* device, ConstantHandle constant, const Matrix* const* matrices,
                                 std::uint32_t count);
    Result SetMatrixTranspose(Device* device, ConstantHandle constant, const Matrix* matrix);
    Result SetMatrixTransposeArray(Device* device, ConstantHandle constant, const Matrix* matrices,
                                   std::uint32_t count);
    Result SetMatrixTransposePointerArray(Device* device, ConstantHandle constant, const Matrix* const* matrices,
                                          std::uint32_t count);

    /// Reads a constant's current values back from the program, all elements, as floats
    /// (matrices column by column as GLSL stores them); for tests and diagnostics.
    Result ReadBack(Device* device, ConstantHandle constant, std::vector<float>* values) const;
    /// The program the table describes.
    std::uint32_t GetProgram() const { return program_; }

private:
    friend Result GetShaderConstantTable(const std::shared_ptr<Shader>& shader, std::shared_ptr<ConstantTable>* table);
    enum class Source
    {
        Float,
        Int,
    };
    explicit ConstantTable(std::shared_ptr<Shader> shader);
    void Build();
    bool Owns(ConstantHandle constant) const;
    Result Check(Device* device, ConstantHandle constant) const;
    /// Components `count` values from `values` into the constant from its first component.
    Result WriteFlat(Device* device, ConstantHandle constant, Source source, const void* values, std::uint32_t count);
    Result WriteVectors(Device* device, ConstantHandle constant, const Vector4* vectors, std::uint32_t count);
    Result WriteMatrices(Device* device, ConstantHandle constant, const Matrix* const* matrices,
                         const Matrix* contiguous, std::uint32_t count, bool transpose);
    void Upload(const Constant& leaf);

    std::shared_ptr<Shader> shader_;
    std::uint32_t program_ = 0;
    std::uint32_t version_ = 0;
    std::vector<std::unique_ptr<Constant>> all_;
    std::vector<Constant*> top_;
    /// The program's current values, 32-bit words per component, and those after linking.
    std::vector<std::uint32_t> values_;
    std::vector<std::uint32_t> defaults_;
};

/// The constant table of a compiled stage (the same table while anyone holds it). Samplers
/// report the units the compile gave them. On the device's thread.
Result GetShaderConstantTable(const std::shared_ptr<Shader>& shader, std::shared_ptr<ConstantTable>* table);

} // namespace os::gfx
