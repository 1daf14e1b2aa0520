/** @file Font.h A canvas font: only a name, resolved by the font registry at each use. */
#pragma once

#include <string>

#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/Vector2.h"

namespace korvane::canvas
{

/// "default" when default-constructed. The name is looked up without regard to case; a name
/// the registry does not hold makes GetHeight and MeasureText throw its "Font not found" error.
class CFont : public CObject
{
public:
    CFont() = default;
    explicit CFont(const std::string& name) : name_(name) {}
    CFont(const CFont&) = default;
    CFont& operator=(const CFont&) = default;
    ~CFont() override = default;

    const std::string& GetName() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

    /// The registered font's line height for the text.
    float GetHeight(const std::string& text) const;
    /// The registered font's size of the text {width, height}.
    Vector2<float> MeasureText(const std::string& text) const;

private:
    std::string name_ = "default";
};

} // namespace korvane::canvas
