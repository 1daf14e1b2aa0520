/** @file Light.h The light record the shader environment takes its light from. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/Color4.h"
#include "KorvaneXDK/core/Vector3.h"

namespace korvane
{

/// Kinds of light, with the platform's numbers.
enum class LightType : std::uint32_t
{
    Point = 1,
    Spot = 2,
    Directional = 3,
};

/// A light as the platform describes one. The shader environment reads only the direction
/// and the three colours; the rest is there for whoever fills the record.
struct Light
{
    LightType Type = LightType::Directional;
    Color4<float> Diffuse;
    Color4<float> Specular;
    Color4<float> Ambient;
    Vector3<float> Position;
    Vector3<float> Direction;
    float Range = 0.0f;
    float Falloff = 0.0f;
    float Attenuation0 = 0.0f;
    float Attenuation1 = 0.0f;
    float Attenuation2 = 0.0f;
    float Theta = 0.0f;
    float Phi = 0.0f;
};

} // namespace korvane
