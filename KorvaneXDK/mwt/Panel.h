/** @file Panel.h The plain container: fills its rectangle with its colour under its children. */
#pragma once

#include <string>

#include "KorvaneXDK/mwt/ContainerControl.h"

namespace korvane::mwt
{

/// Colour (0.2, 0.2, 0.2, 0.6) from construction; keeps the control's default appearance.
class CPanel : public CContainerControl
{
public:
    explicit CPanel(const std::string& name = std::string());
    ~CPanel() override;

    /// When visible: a fill of {0, 0, w, h} in the panel's colour when its alpha is above 0,
    /// then the container's drawing (so a panel of alpha 0 still draws its children).
    void Draw(canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
