/** @file DefaultFactories.h The factories each control class copies in its constructor: its default appearance and
 * its default animations. */
#pragma once

#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

/// Every factory makes a new object on each call. A control copies the one it needs when it is
/// constructed, so replacing one here (the window scene does, once it has loaded its skin)
/// changes only the controls constructed afterwards. All are defined in one translation unit,
/// in the order the toolkit initialises them.
class CDefaultFactories
{
public:
    /// A CRollingOpenAnimation; copied by CForm.
    static CControl::AnimationFactoryFunction FormOpenAnimation;
    /// A CRollingCloseAnimation; copied by CForm.
    static CControl::AnimationFactoryFunction FormCloseAnimation;
    /// A CSimpleFormAppearance named "SimpleForm"; copied by CForm.
    static CControl::AppearanceFactoryFunction FormAppearance;
    /// A CSimpleScrollBarAppearance named "SimpleScrollBar"; copied by CScrollBar.
    static CControl::AppearanceFactoryFunction ScrollBarAppearance;
    /// A CSoftTouchAnimation; the buttons' press animation, copied by CButton.
    static CControl::AnimationFactoryFunction ButtonPressAnimation;
    /// A CSimpleButtonAppearance named "SimpleButton"; copied by CButton.
    static CControl::AppearanceFactoryFunction ButtonAppearance;
    /// A CSingleBorderAppearance named "SingleBorder"; copied by CListBox.
    static CControl::AppearanceFactoryFunction ListBoxAppearance;
    /// A CTransparentAppearance named "Transparent"; copied by CHorizontalSelector.
    static CControl::AppearanceFactoryFunction HorizontalSelectorAppearance;
    /// A CSimpleKnobAppearance named "SimpleKnob"; copied by CKnob.
    static CControl::AppearanceFactoryFunction KnobAppearance;
    /// A CSingleBorderAppearance named "SingleBorder"; copied by CPager.
    static CControl::AppearanceFactoryFunction PagerAppearance;
    /// A CSingleBorderAppearance named "SingleBorder"; copied by CEdit.
    static CControl::AppearanceFactoryFunction EditAppearance;
    /// A CSimpleComboBoxAppearance named "SimpleComboBox"; copied by CComboBox.
    static CControl::AppearanceFactoryFunction ComboBoxAppearance;
    /// A CSimpleCheckBoxAppearance named "SimpleCheckBox"; copied by CCheckBox.
    static CControl::AppearanceFactoryFunction CheckBoxAppearance;
    /// A CSimpleRadioButtonAppearance named "SimpleRadioButton"; copied by CRadioButton.
    static CControl::AppearanceFactoryFunction RadioButtonAppearance;
    /// A CSimpleTrackBarAppearance named "SimpleTrackBar"; copied by CTrackBar.
    static CControl::AppearanceFactoryFunction TrackBarAppearance;
    /// A CSimpleProgressBarAppearance named "SimpleProgressBar"; copied by CProgressBar.
    static CControl::AppearanceFactoryFunction ProgressBarAppearance;
    /// Two CNullAnimationComponent factories that no control copies.
    static CControl::AnimationFactoryFunction NullAnimation;
    static CControl::AnimationFactoryFunction NullAnimation2;
};

} // namespace korvane::mwt
