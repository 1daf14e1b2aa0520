/** @file FormHelpers.cpp The steps every screen shares. */
#include "frontend/forms/FormHelpers.h"

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/mwt/AnimationComponentStock.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"

using korvane::Color4;
using korvane::Vector2;
using korvane::canvas::Rect2f;
using korvane::mwt::CButton;
using korvane::mwt::CControl;
using korvane::mwt::CForm;
using korvane::mwt::CImage;
using korvane::mwt::CLabel;

namespace
{

Vector2<float> LocationOf(const Rect2f& r)
{
    return Vector2<float>(r.left, r.top);
}

Vector2<float> SizeOf(const Rect2f& r)
{
    return Vector2<float>(r.width, r.height);
}

} // namespace

void SetAppearanceByName(CControl& control, const std::string& name)
{
    boost::shared_ptr<korvane::mwt::IControlAppearance> appearance;
    korvane::mwt::CControlAppearanceStock::GetInstance()->Get(appearance, name);
    control.SetAppearance(appearance);
}

boost::function<boost::shared_ptr<korvane::mwt::CAnimationComponent>()> AnimationFactory(const std::string& name)
{
    return korvane::mwt::CAnimationComponentStock::GetInstance()->GetFactory(name);
}

FormSetup LeaderboardFormSetup(const std::string& name, std::int32_t group)
{
    FormSetup setup;
    setup.name = name;
    setup.tint = korvane::Color4<float>(0.3f, 0.3f, 0.3f, 0.6f);
    setup.appearance = form_names::kAppearanceSkinForm;
    setup.openAnimation = "VerticalCenterOpenSlowly";
    setup.closeAnimation = form_names::kAnimationSpreadOut;
    setup.group = group;
    setup.formStyle = 0;
    return setup;
}

void ApplyFormSetup(CForm& form, const FormSetup& setup)
{
    form.SetMaximizeBox(false);
    form.SetRollUpBox(false);
    if (!setup.openAnimation.empty()) {
        form.OpenAnimationFactory = AnimationFactory(setup.openAnimation);
    }
    form.SetColor(setup.tint);
    form.SetDock(CControl::kDockFillAll);
    form.SetName(setup.name);
    form.SetLocation(LocationOf(setup.bounds));
    form.SetCloseBox(true);
    if (!setup.closeAnimation.empty()) {
        form.CloseAnimationFactory = AnimationFactory(setup.closeAnimation);
    }
    form.SetGroup(setup.group);
    form.SetFocusable(setup.focusable);
    form.SetGroupKeyBroadcast(false);
    form.SetTag(0);
    form.SetDockPadding(0);
    form.SetSize(SizeOf(setup.bounds));
    form.SetText("");
    SetAppearanceByName(form, setup.appearance);
    form.SetKeyPreview(true);
    form.SetActivateOnClick(true);
    form.SetFormName(setup.name);
    form.SetFormStyle(setup.formStyle);
    form.SetTopMost(setup.topMost);
    form.GetFont() = korvane::canvas::CFont(form_names::kFontDefault);
}

boost::shared_ptr<CImage> MakeImage(korvane::CTextureCache* cache, const std::string& name, const std::string& path,
                                    const Rect2f& bounds, float alpha, bool autoSize)
{
    boost::shared_ptr<CImage> image(new CImage(name));
    image->SetImageName(path);
    image->SetTexture(CFormSceneLink::LoadTexture(cache, path));
    image->SetLocation(LocationOf(bounds));
    image->SetSize(SizeOf(bounds));
    image->SetColor(Color4<float>(1.0f, 1.0f, 1.0f, alpha));
    image->SetFocusable(false);
    image->SetImageFlag(true);
    image->SetAutoSize(autoSize);
    return image;
}

boost::shared_ptr<CButton> MakeButton(const std::string& name, const Rect2f& bounds, const std::string& caption)
{
    boost::shared_ptr<CButton> button(new CButton(name));
    // The menus' buttons draw their caption only; the toolkit's default body would sit pale
    // under white text.
    SetAppearanceByName(*button, form_names::kAppearanceTransparent);
    button->SetFont(korvane::canvas::CFont(form_names::kFontAsciiMedium));
    button->SetTextAlignment(CLabel::kAlignNear);
    button->SetLocation(LocationOf(bounds));
    button->SetSize(SizeOf(bounds));
    button->SetCaption(caption);
    return button;
}

boost::shared_ptr<CLabel> MakeLabel(const std::string& name, const Rect2f& bounds, const std::string& caption,
                                    const std::string& font, const Color4<float>& color, bool autoSize)
{
    boost::shared_ptr<CLabel> label(new CLabel(name));
    label->SetFont(korvane::canvas::CFont(font));
    label->SetAutoSize(autoSize);
    label->SetLocation(LocationOf(bounds));
    label->SetSize(SizeOf(bounds));
    label->SetColor(color);
    label->SetFocusable(false);
    label->SetCaption(caption);
    return label;
}

void ShowForm(const boost::shared_ptr<CForm>& form)
{
    CFormSceneLink::GetScreen()->AddControl(form);
}

bool MenuCancel(korvane::mwt::CContainerControl& form, unsigned int key, CControl* exitButton,
                const boost::function<void()>& onExit)
{
    if (key != form_names::kKeyEscape) {
        return false;
    }
    CFormSceneLink::PlaySound(EUiSound::Cancel);
    if (form.GetFocusedLeaf().get() == exitButton) {
        onExit();
    } else if (exitButton != nullptr) {
        exitButton->SetFocus();
    }
    return true;
}
