/** @file KeyMappingRow.h One action row of the key mapping screen. */
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Label.h"

/// The focusable label naming the action, the label showing its first binding, and the action's
/// button name in the controllers.
struct KeyMappingRow
{
    boost::shared_ptr<korvane::mwt::CLabel> rowControl;
    boost::shared_ptr<korvane::mwt::CLabel> keyLabel;
    std::string action;
};
