/** @file Shader.h One compiled shader stage with its constant table. */
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "KorvaneXDK/core/Object.h"

namespace os::gfx
{
class ConstantTable;
class Shader;
} // namespace os::gfx

namespace korvane
{

class IKorvaneStream;

/// A shader stage loaded from a ".vs" or ".ps" entry: the entry is the stage's GLSL source.
/// The kinds (vertex, pixel) create the device object and set it on the device.
class CShader : public virtual CNonCopyable
{
public:
    CShader();
    ~CShader() override;

    /// Compiles `size` bytes of source. An empty or non-compiling entry throws EIOError with
    /// the kind's message; the compiler's log goes to the log file first.
    virtual void Create(const void* data, std::size_t size) = 0;
    virtual void SetName(const std::string& name);
    virtual std::string GetName();
    /// Null until loaded; owned by this shader.
    virtual os::gfx::ConstantTable* GetConstantTable();
    /// Reads the rest of the stream, creates the shader and reads its constant table.
    virtual void Load(IKorvaneStream* stream);
    virtual void Apply() = 0;

protected:
    /// The device object Create made, or null.
    virtual std::shared_ptr<os::gfx::Shader> GetDeviceShader() const = 0;
    /// Writes the compiler's log under the shader's name, then throws EIOError(message).
    [[noreturn]] void FailCreate(const std::string& compilerLog, const char* message);

private:
    std::string name_;
    std::shared_ptr<os::gfx::ConstantTable> constantTable_;
};

} // namespace korvane
