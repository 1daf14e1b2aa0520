/** @file Shader.cpp One compiled shader stage: loading from a stream and its constant table. */
#include "KorvaneXDK/platform/graphics/Shader.h"

#include <string>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Log.h"
#include "os/gfx/ConstantTable.h"
#include "os/gfx/Types.h"

namespace korvane
{

namespace
{

/// Far beyond any shader source; an entry claiming more is not one.
constexpr std::size_t kMaximumSourceBytes = 16u * 1024u * 1024u;

} // namespace

CShader::CShader() = default;
CShader::~CShader() = default;

void CShader::SetName(const std::string& name)
{
    name_ = name;
}

std::string CShader::GetName()
{
    return name_;
}

os::gfx::ConstantTable* CShader::GetConstantTable()
{
    return constantTable_.get();
}

void CShader::Load(IKorvaneStream* stream)
{
    // The whole entry, from its first byte, whatever the stream was left at; its length is read
    // as it comes: an entry is only as long as what it yields.
    stream->Seek(0);
    std::string source;
    char buffer[16384];
    for (std::int32_t got; (got = stream->Read(buffer, static_cast<std::int32_t>(sizeof buffer))) > 0;) {
        source.append(buffer, static_cast<std::size_t>(got));
        if (source.size() > kMaximumSourceBytes) {
            FailCreate("the entry is larger than any shader source", "Shader source too large.");
        }
    }
    Create(source.data(), source.size());
    std::shared_ptr<os::gfx::ConstantTable> table;
    if (os::gfx::Failed(os::gfx::GetShaderConstantTable(GetDeviceShader(), &table))) {
        throw EIOError(this, "D3DXGetShaderConstantTable() failed.");
    }
    constantTable_ = std::move(table);
}

void CShader::FailCreate(const std::string& compilerLog, const char* message)
{
    LogErrorF("Shader '%s' was not compiled:", name_.c_str());
    std::size_t start = 0;
    while (start < compilerLog.size()) {
        std::size_t end = compilerLog.find('\n', start);
        if (end == std::string::npos) {
            end = compilerLog.size();
        }
        if (end > start) {
            LogErrorF("  %s", compilerLog.substr(start, end - start).c_str());
        }
        start = end + 1;
    }
    throw EIOError(this, message);
}

} // namespace korvane
