/** @file Screen.cpp The root container. */
#include "KorvaneXDK/mwt/Screen.h"

namespace korvane::mwt
{

CScreen::CScreen(const std::string& name) : CContainerControl(name) {}

CScreen::~CScreen() = default;

bool CScreen::IsFocused() const
{
    return true;
}

} // namespace korvane::mwt
