/** @file SkinCheckBoxAppearance.cpp The skinned check box. */
#include "KorvaneXDK/mwt/SkinCheckBoxAppearance.h"

namespace korvane::mwt
{

CSkinCheckBoxAppearance::CSkinCheckBoxAppearance() : TSkinTwoStateAppearance<CCheckBox>("SkinCheckBox") {}

CSkinCheckBoxAppearance::~CSkinCheckBoxAppearance() = default;

boost::shared_ptr<IControlAppearance> CSkinCheckBoxAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSkinCheckBoxAppearance());
}

} // namespace korvane::mwt
