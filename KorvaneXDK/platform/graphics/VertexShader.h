/** @file VertexShader.h The vertex stage of a shader pair. */
#pragma once

#include "KorvaneXDK/platform/graphics/Shader.h"

namespace korvane
{

class CVertexShader : public CShader
{
public:
    CVertexShader();
    ~CVertexShader() override;

    /// EIOError "CreateVertexShader() failed." when the device refuses the source.
    void Create(const void* data, std::size_t size) override;
    void Apply() override;

protected:
    std::shared_ptr<os::gfx::Shader> GetDeviceShader() const override { return shader_; }

private:
    std::shared_ptr<os::gfx::Shader> shader_;
};

} // namespace korvane
