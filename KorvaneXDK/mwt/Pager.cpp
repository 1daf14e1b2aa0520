/** @file Pager.cpp A control known by name, drawn as a border. */
#include "KorvaneXDK/mwt/Pager.h"

#include "KorvaneXDK/mwt/DefaultFactories.h"

namespace korvane::mwt
{

CPager::CPager(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::PagerAppearance;
}

CPager::~CPager() = default;

} // namespace korvane::mwt
