/** @file SkinRadioButtonAppearance.cpp The skinned radio button. */
#include "KorvaneXDK/mwt/SkinRadioButtonAppearance.h"

namespace korvane::mwt
{

CSkinRadioButtonAppearance::CSkinRadioButtonAppearance() : TSkinTwoStateAppearance<CRadioButton>("SkinRadioButton") {}

CSkinRadioButtonAppearance::~CSkinRadioButtonAppearance() = default;

boost::shared_ptr<IControlAppearance> CSkinRadioButtonAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSkinRadioButtonAppearance());
}

} // namespace korvane::mwt
