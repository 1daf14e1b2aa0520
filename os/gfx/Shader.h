/** @file Shader.h One programmable stage: a GLSL vertex or pixel program object. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace os::gfx
{

class ContextLink;
class ConstantTable;

enum class ShaderStage
{
    Vertex,
    Pixel,
};

/// A separable program of one stage, made by Device::CreateVertexShader or CreatePixelShader.
/// Its active uniforms are the stage's constants; set them with glProgramUniform* on
/// GetProgram(). Released on any thread; the program is deleted on the device's thread.
class Shader
{
public:
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    ShaderStage GetStage() const { return stage_; }
    /// The GL program object name.
    std::uint32_t GetProgram() const { return program_; }
    /// The source as the layer compiled it (with its prelude).
    const std::string& GetCompiledSource() const { return source_; }

    /// Compiles GLSL source of one stage (`size` bytes, a NUL ends it early) on the context's
    /// thread; vertex source gets the prelude. Null on failure, with the compiler's words in `log`.
    static std::shared_ptr<Shader> Compile(ShaderStage stage, const void* source, std::size_t size, bool clipControl,
                                           std::shared_ptr<ContextLink> link, std::string* log);
    /// The vertex prelude: the author's main runs first, then the layer moves the position half a
    /// pixel (Direct3D puts pixel centres on integer coordinates) and, without clip control, turns
    /// Direct3D's clip space (y up on screen, depth 0..1) into GL's.
    static std::string WrapVertexSource(const std::string& source, bool clipControl);
    /// Vertex programs: the half-pixel move in clip space for the current viewport (set only when it changes).
    void SetPixelOffset(float x, float y);
    /// The stage's constant table while someone holds it (GetShaderConstantTable keeps one per stage).
    std::weak_ptr<ConstantTable>& ConstantTableSlot() { return constantTable_; }

private:
    Shader(ShaderStage stage, std::uint32_t program, std::shared_ptr<ContextLink> link, std::string source);

    ShaderStage stage_;
    std::uint32_t program_;
    std::shared_ptr<ContextLink> link_;
    std::string source_;
    // Vertex programs: the location of the layer's pixel-centre uniform and the value last set.
    int pixelOffsetLocation_ = -1;
    float pixelOffset_[2] = {0.0f, 0.0f};
    bool pixelOffsetSet_ = false;
    std::weak_ptr<ConstantTable> constantTable_;
};

using VertexShader = Shader;
using PixelShader = Shader;

} // namespace os::gfx
