/** @file Edit.cpp A control known by name, drawn as a border. */
#include "KorvaneXDK/mwt/Edit.h"

#include "KorvaneXDK/mwt/SingleBorderAppearance.h"

namespace korvane::mwt
{

CEdit::CEdit(const std::string& name) : CControl(name)
{
    AppearanceFactory = DefaultAppearanceFactory;
}

CEdit::~CEdit() = default;

CControl::AppearanceFactoryFunction CEdit::DefaultAppearanceFactory = &CSingleBorderAppearance::Create;

} // namespace korvane::mwt
