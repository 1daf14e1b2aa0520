/** @file Brush.h The canvas's drawing state value: colour, filtering and blend mode. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/Color4.h"
#include "KorvaneXDK/core/Object.h"

namespace korvane::canvas
{

/// Copied into and out of the canvas's brush stack. The colour drawn is the product of the
/// colours of every brush on the stack.
class CBrush : public CObject
{
public:
    /// Blend modes; any other value draws like kBlendNormal.
    static constexpr std::int32_t kBlendNormal = 0;
    static constexpr std::int32_t kBlendAdditive = 1;
    static constexpr std::int32_t kBlendMultiplicative = 2;

    CBrush() = default;
    CBrush(const CBrush&) = default;
    CBrush& operator=(const CBrush&) = default;
    ~CBrush() override = default;

    virtual Color4<float>& GetColor() { return color_; }
    const Color4<float>& GetColor() const { return color_; }
    virtual void SetColor(const Color4<float>& color) { color_ = color; }
    /// False: point sampling.
    virtual void SetFiltering(bool filtering) { filtering_ = filtering; }
    virtual bool IsFiltering() const { return filtering_; }
    /// Stored and copied only.
    virtual void SetAuxiliaryFlag(bool flag) { auxiliaryFlag_ = flag; }
    virtual bool IsAuxiliaryFlag() const { return auxiliaryFlag_; }
    virtual void SetBlendMode(std::int32_t mode) { blendMode_ = mode; }
    virtual std::int32_t GetBlendMode() const { return blendMode_; }

private:
    Color4<float> color_{1.0f, 1.0f, 1.0f, 1.0f};
    bool filtering_ = true;
    bool auxiliaryFlag_ = false;
    std::int32_t blendMode_ = kBlendNormal;
};

} // namespace korvane::canvas
