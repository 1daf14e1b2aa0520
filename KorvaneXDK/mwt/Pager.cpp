/** @file Pager.cpp A control known by name, drawn as a border. */
#include "KorvaneXDK/mwt/Pager.h"

#include "KorvaneXDK/mwt/TransparentAppearance.h"

namespace korvane::mwt
{

CPager::CPager(const std::string& name) : CControl(name)
{
    AppearanceFactory = DefaultAppearanceFactory();
}

CPager::~CPager() = default;

CControl::AppearanceFactoryFunction& CPager::DefaultAppearanceFactory()
{
    static AppearanceFactoryFunction factory(&CTransparentAppearance::Create);
    return factory;
}

} // namespace korvane::mwt
