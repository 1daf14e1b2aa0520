/** @file Pager.cpp A control known by name, drawn as a border. */
#include "KorvaneXDK/mwt/Pager.h"

#include "KorvaneXDK/mwt/SingleBorderAppearance.h"

namespace korvane::mwt
{

CPager::CPager(const std::string& name) : CControl(name)
{
    AppearanceFactory = DefaultAppearanceFactory;
}

CPager::~CPager() = default;

CControl::AppearanceFactoryFunction CPager::DefaultAppearanceFactory = &CSingleBorderAppearance::Create;

} // namespace korvane::mwt
