/** @file Edit.cpp A control known by name, drawn as a border. */
#include "KorvaneXDK/mwt/Edit.h"

#include "KorvaneXDK/mwt/DefaultFactories.h"

namespace korvane::mwt
{

CEdit::CEdit(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::EditAppearance;
}

CEdit::~CEdit() = default;

} // namespace korvane::mwt
