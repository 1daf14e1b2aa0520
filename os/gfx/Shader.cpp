/** @file Shader.cpp One programmable stage: its program is deleted on the device's thread. */
#include "os/gfx/Shader.h"

#include <epoxy/gl.h>

#include "os/gfx/ContextLink.h"

namespace os::gfx {

Shader::Shader(ShaderStage stage, std::uint32_t program, std::shared_ptr<ContextLink> link,
               std::string source)
    : stage_(stage), program_(program), link_(std::move(link)), source_(std::move(source))
{
}

Shader::~Shader()
{
    const GLuint program = program_;
    if (link_ && program != 0)
    {
        link_->Release([program] { glDeleteProgram(program); });
    }
}

} // namespace os::gfx
