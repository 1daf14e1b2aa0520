/** @file Shader.cpp One programmable stage: compiled with the layer's prelude, deleted on the device's thread. */
#include "os/gfx/Shader.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include <epoxy/gl.h>

#include "os/gfx/ContextLink.h"
#include "os/gfx/SamplerTypes.h"

namespace os::gfx
{

namespace
{

/// Every sampler of a new program reads unit 0 unless its source bound it elsewhere: give each
/// such sampler the lowest unit no other sampler of the stage reads, in location order, so that
/// two textures of one stage never land on one unit.
void AssignSamplerUnits(GLuint program)
{
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    GLint longest = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORM_MAX_LENGTH, &longest);
    std::string name(static_cast<std::size_t>(std::max(longest, 1)) + 1, '\0');
    std::vector<GLint> atZero;
    std::set<GLint> taken;
    for (GLint i = 0; i < count; ++i) {
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), static_cast<GLsizei>(name.size()), &length, &size, &type,
                           name.data());
        if (SamplerParameterType(type) == ParameterType::Void) {
            continue;
        }
        std::string base(name.data(), static_cast<std::size_t>(std::max(length, 0)));
        if (base.size() > 3 && base.compare(base.size() - 3, 3, "[0]") == 0) {
            base.resize(base.size() - 3);
        }
        for (GLint e = 0; e < size; ++e) {
            const std::string element = size > 1 ? base + "[" + std::to_string(e) + "]" : base;
            const GLint location = glGetUniformLocation(program, element.c_str());
            if (location < 0) {
                continue;
            }
            GLint unit = 0;
            glGetUniformiv(program, location, &unit);
            if (unit != 0) {
                taken.insert(unit);
            } else {
                atZero.push_back(location);
            }
        }
    }
    std::sort(atZero.begin(), atZero.end());
    GLint next = 0;
    for (const GLint location : atZero) {
        while (taken.count(next) != 0) {
            ++next;
        }
        taken.insert(next);
        if (next != 0) {
            glProgramUniform1i(program, location, next);
        }
    }
}

} // namespace

Shader::Shader(ShaderStage stage, std::uint32_t program, std::shared_ptr<ContextLink> link, std::string source)
    : stage_(stage), program_(program), link_(std::move(link)), source_(std::move(source))
{}

Shader::~Shader()
{
    const GLuint program = program_;
    if (link_ && program != 0) {
        link_->Release([program] { glDeleteProgram(program); });
    }
}

std::shared_ptr<Shader> Shader::Compile(ShaderStage stage, const void* source, std::size_t size, bool clipControl,
                                        std::shared_ptr<ContextLink> link, std::string* log)
{
    const char* text = static_cast<const char*>(source);
    std::string code(text, strnlen(text, size));
    if (stage == ShaderStage::Vertex) {
        code = WrapVertexSource(code, clipControl);
    }
    const char* sources[] = {code.c_str()};
    const GLuint program =
        glCreateShaderProgramv(stage == ShaderStage::Vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER, 1, sources);
    GLint linked = GL_FALSE;
    log->clear();
    if (program != 0) {
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        GLint length = 0;
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
        if (length > 1) {
            std::string message(static_cast<std::size_t>(length), '\0');
            glGetProgramInfoLog(program, length, nullptr, message.data());
            message.resize(strnlen(message.c_str(), message.size()));
            *log = message;
        }
    }
    if (linked != GL_TRUE) {
        if (program != 0) {
            glDeleteProgram(program);
        }
        if (log->empty()) {
            *log = "the program did not link";
        }
        return nullptr;
    }
    AssignSamplerUnits(program);
    std::shared_ptr<Shader> made(new Shader(stage, program, std::move(link), std::move(code)));
    if (stage == ShaderStage::Vertex) {
        made->pixelOffsetLocation_ = glGetUniformLocation(program, "korvane_PixelOffset");
    }
    return made;
}

void Shader::SetPixelOffset(float x, float y)
{
    if (pixelOffsetLocation_ >= 0 && (!pixelOffsetSet_ || pixelOffset_[0] != x || pixelOffset_[1] != y)) {
        glProgramUniform4f(program_, pixelOffsetLocation_, x, y, 0.0f, 0.0f);
        pixelOffset_[0] = x;
        pixelOffset_[1] = y;
        pixelOffsetSet_ = true;
    }
}

std::string Shader::WrapVertexSource(const std::string& source, bool clipControl)
{
    std::string prelude = "#define main korvane_user_main\n";
    std::string tail = "\n#undef main\n"
                       "uniform vec4 korvane_PixelOffset;\n"
                       "void main()\n"
                       "{\n"
                       "    korvane_user_main();\n"
                       "    gl_Position.xy += korvane_PixelOffset.xy * gl_Position.w;\n";
    if (!clipControl) {
        tail += "    gl_Position.y = -gl_Position.y;\n"
                "    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n";
    }
    tail += "}\n";
    if (source.find("gl_PerVertex") == std::string::npos) {
        prelude = "out gl_PerVertex { vec4 gl_Position; float gl_PointSize; };\n" + prelude;
    }
    // The #version line must stay first, and #extension lines must come before any declaration:
    // the prelude goes after both (blank and comment lines between them are passed over).
    const std::size_t version = source.find("#version");
    if (version == std::string::npos) {
        return "#version 410 core\n" + prelude + source + tail;
    }
    const auto lineAfter = [&source](std::size_t at) {
        const std::size_t end = source.find('\n', at);
        return end == std::string::npos ? source.size() : end + 1;
    };
    std::size_t insertAt = lineAfter(version);
    for (std::size_t scan = insertAt; scan < source.size();) {
        const std::size_t next = lineAfter(scan);
        const std::string line = source.substr(scan, next - scan);
        const std::size_t text = line.find_first_not_of(" \t\r\n");
        if (text == std::string::npos || line.compare(text, 2, "//") == 0) {
            scan = next;
            continue;
        }
        if (line.compare(text, 10, "#extension") != 0) {
            break;
        }
        insertAt = scan = next;
    }
    std::string result = source.substr(0, insertAt);
    if (result.back() != '\n') {
        result += '\n';
    }
    return result + prelude + source.substr(insertAt) + tail;
}

} // namespace os::gfx
