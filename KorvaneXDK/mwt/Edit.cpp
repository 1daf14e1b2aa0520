/** @file Edit.cpp A control known by name, drawn as a border. */
#include "KorvaneXDK/mwt/Edit.h"

#include "KorvaneXDK/mwt/TransparentAppearance.h"

namespace korvane::mwt
{

CEdit::CEdit(const std::string& name) : CControl(name)
{
    AppearanceFactory = DefaultAppearanceFactory();
}

CEdit::~CEdit() = default;

CControl::AppearanceFactoryFunction& CEdit::DefaultAppearanceFactory()
{
    static AppearanceFactoryFunction factory(&CTransparentAppearance::Create);
    return factory;
}

} // namespace korvane::mwt
