/** @file Screen.h The root container of the widget tree: the forms live on it. */
#pragma once

#include <string>

#include "KorvaneXDK/core/Vector2.h"
#include "KorvaneXDK/mwt/ContainerControl.h"

namespace korvane::mwt
{

/// The root of every focus chain. Forms are added with the container's operations so far; the
/// top-most ordering and the cascade placement come with the screen's own behaviour.
class CScreen : public CContainerControl
{
public:
    explicit CScreen(const std::string& name = std::string());
    ~CScreen() override;

    /// Always true.
    bool IsFocused() const override;

    /// Where the next cascaded form goes; (0, 0) at construction.
    Vector2<float> GetNextCascadePosition() const { return nextCascadePosition_; }

protected:
    void SetNextCascadePosition(const Vector2<float>& position) { nextCascadePosition_ = position; }

private:
    Vector2<float> nextCascadePosition_;
};

} // namespace korvane::mwt
