/** @file PixelShader.h The pixel stage of a shader pair. */
#pragma once

#include "KorvaneXDK/platform/graphics/Shader.h"

namespace korvane
{

class CPixelShader : public CShader
{
public:
    CPixelShader();
    ~CPixelShader() override;

    /// EIOError "CreatePixelShader() failed." when the device refuses the source.
    void Create(const void* data, std::size_t size) override;
    void Apply() override;

protected:
    std::shared_ptr<os::gfx::Shader> GetDeviceShader() const override { return shader_; }

private:
    std::shared_ptr<os::gfx::Shader> shader_;
};

} // namespace korvane
