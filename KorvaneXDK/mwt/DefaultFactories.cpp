/** @file DefaultFactories.cpp The default factories, defined in the order the toolkit initialises them. */
#include "KorvaneXDK/mwt/DefaultFactories.h"

#include "KorvaneXDK/mwt/NullAnimationComponent.h"
#include "KorvaneXDK/mwt/RollingCloseAnimation.h"
#include "KorvaneXDK/mwt/RollingOpenAnimation.h"
#include "KorvaneXDK/mwt/SimpleButtonAppearance.h"
#include "KorvaneXDK/mwt/SimpleCheckBoxAppearance.h"
#include "KorvaneXDK/mwt/SimpleComboBoxAppearance.h"
#include "KorvaneXDK/mwt/SimpleFormAppearance.h"
#include "KorvaneXDK/mwt/SimpleKnobAppearance.h"
#include "KorvaneXDK/mwt/SimpleProgressBarAppearance.h"
#include "KorvaneXDK/mwt/SimpleRadioButtonAppearance.h"
#include "KorvaneXDK/mwt/SimpleScrollBarAppearance.h"
#include "KorvaneXDK/mwt/SimpleTrackBarAppearance.h"
#include "KorvaneXDK/mwt/SingleBorderAppearance.h"
#include "KorvaneXDK/mwt/SoftTouchAnimation.h"
#include "KorvaneXDK/mwt/TransparentAppearance.h"

namespace korvane::mwt
{
namespace
{

template <typename T>
boost::shared_ptr<CAnimationComponent> MakeAnimation()
{
    return boost::shared_ptr<CAnimationComponent>(new T());
}

} // namespace

CControl::AnimationFactoryFunction CDefaultFactories::FormOpenAnimation = &MakeAnimation<CRollingOpenAnimation>;
CControl::AnimationFactoryFunction CDefaultFactories::FormCloseAnimation = &MakeAnimation<CRollingCloseAnimation>;
CControl::AppearanceFactoryFunction CDefaultFactories::FormAppearance = &CSimpleFormAppearance::Create;
CControl::AppearanceFactoryFunction CDefaultFactories::ScrollBarAppearance = &CSimpleScrollBarAppearance::Create;
CControl::AnimationFactoryFunction CDefaultFactories::ButtonPressAnimation = &MakeAnimation<CSoftTouchAnimation>;
CControl::AppearanceFactoryFunction CDefaultFactories::ButtonAppearance = &CSimpleButtonAppearance::Create;
CControl::AppearanceFactoryFunction CDefaultFactories::ListBoxAppearance = &CSingleBorderAppearance::Create;
CControl::AppearanceFactoryFunction CDefaultFactories::HorizontalSelectorAppearance = &CTransparentAppearance::Create;
CControl::AppearanceFactoryFunction CDefaultFactories::KnobAppearance = &CSimpleKnobAppearance::Create;
CControl::AppearanceFactoryFunction CDefaultFactories::PagerAppearance = &CSingleBorderAppearance::Create;
CControl::AppearanceFactoryFunction CDefaultFactories::EditAppearance = &CSingleBorderAppearance::Create;
CControl::AppearanceFactoryFunction CDefaultFactories::ComboBoxAppearance = &CreateSimpleComboBoxAppearance;
CControl::AppearanceFactoryFunction CDefaultFactories::CheckBoxAppearance = &CSimpleCheckBoxAppearance::Create;
CControl::AppearanceFactoryFunction CDefaultFactories::RadioButtonAppearance = &CSimpleRadioButtonAppearance::Create;
CControl::AppearanceFactoryFunction CDefaultFactories::TrackBarAppearance = &CSimpleTrackBarAppearance::Create;
CControl::AppearanceFactoryFunction CDefaultFactories::ProgressBarAppearance = &CSimpleProgressBarAppearance::Create;
CControl::AnimationFactoryFunction CDefaultFactories::NullAnimation = &MakeAnimation<CNullAnimationComponent>;
CControl::AnimationFactoryFunction CDefaultFactories::NullAnimation2 = &MakeAnimation<CNullAnimationComponent>;

} // namespace korvane::mwt
