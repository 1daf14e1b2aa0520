/** @file Edit.h A control known to the appearance registry by name, drawn as a plain border. */
#pragma once

#include <string>

#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

/// No behaviour of its own; it only takes its appearance from its class default.
class CEdit : public CControl
{
public:
    explicit CEdit(const std::string& name = std::string());
    ~CEdit() override;
};

} // namespace korvane::mwt
