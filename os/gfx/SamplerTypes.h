/** @file SamplerTypes.h The GL sampler types a stage of this layer may declare, by the texture shape they read. */
#pragma once

#include <epoxy/gl.h>

#include "os/gfx/ConstantTable.h"

namespace os::gfx
{

/// The shape of texture a uniform of this GL type samples: Sampler1D, Sampler2D, Sampler3D or
/// SamplerCube; Void for every type that is no sampler of this layer (plain values, doubles,
/// images, atomic counters). The stages' unit assignment and the constant tables both ask here,
/// so a sampler that gets a unit is always listed as one.
constexpr ParameterType SamplerParameterType(GLenum type)
{
    switch (type) {
    case GL_SAMPLER_1D:
    case GL_SAMPLER_1D_SHADOW:
    case GL_SAMPLER_1D_ARRAY:
        return ParameterType::Sampler1D;
    case GL_SAMPLER_2D:
    case GL_SAMPLER_2D_SHADOW:
    case GL_SAMPLER_2D_ARRAY:
    case GL_SAMPLER_2D_RECT:
    case GL_SAMPLER_2D_MULTISAMPLE:
    case GL_INT_SAMPLER_2D:
    case GL_UNSIGNED_INT_SAMPLER_2D:
        return ParameterType::Sampler2D;
    case GL_SAMPLER_3D:
    case GL_INT_SAMPLER_3D:
    case GL_UNSIGNED_INT_SAMPLER_3D:
        return ParameterType::Sampler3D;
    case GL_SAMPLER_CUBE:
    case GL_SAMPLER_CUBE_SHADOW:
        return ParameterType::SamplerCube;
    default:
        return ParameterType::Void;
    }
}

} // namespace os::gfx
