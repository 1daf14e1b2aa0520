/** @file SettingsFormParts.cpp The pieces the options screens share. */
#include "frontend/forms/SettingsFormParts.h"

#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/Label.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

using korvane::Vector2;
using korvane::canvas::Rect2f;
using korvane::mwt::CButton;
using korvane::mwt::CHorizontalSelector;
using korvane::mwt::CLabel;

void ApplySettingsFormSetup(korvane::mwt::CForm& form, const std::string& name, bool groupKeys)
{
    FormSetup setup;
    setup.name = name;
    setup.tint = korvane::Color4<float>(0.3f, 0.3f, 0.3f, 0.6f);
    setup.appearance = form_names::kAppearanceTransparent;
    ApplyFormSetup(form, setup);
    form.SetGroupKeyBroadcast(groupKeys);
}

boost::shared_ptr<CButton> MakeMenuButton(const std::string& name, const Rect2f& bounds, const std::string& caption)
{
    boost::shared_ptr<CButton> button = MakeButton(name, bounds, caption);
    button->SetIconPath("");
    button->SetIconPlacement(CButton::kIconLeft);
    button->SetBodyVisible(1);
    button->SetTextAlignment(CLabel::kAlignNear);
    button->SetVerticalAlignment(CLabel::kAlignCenter);
    return button;
}

boost::shared_ptr<CLabel> MakeRowLabel(const std::string& name, const Rect2f& bounds, const std::string& caption,
                                       int group)
{
    boost::shared_ptr<CLabel> label = MakeLabel(name, bounds, caption, form_names::kFontAsciiMedium,
                                                korvane::Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), false);
    label->SetTextAlignment(CLabel::kAlignNear);
    label->SetVerticalAlignment(CLabel::kAlignCenter);
    label->SetGroup(group);
    label->SetFocusable(true);
    return label;
}

boost::shared_ptr<CHorizontalSelector> MakeSelector(const std::string& name, const Rect2f& bounds,
                                                    const std::string& font, int group)
{
    boost::shared_ptr<CHorizontalSelector> selector(new CHorizontalSelector(name));
    selector->SetFont(korvane::canvas::CFont(font));
    selector->SetLocation(Vector2<float>(bounds.left, bounds.top));
    selector->SetSize(Vector2<float>(bounds.width, bounds.height));
    selector->SetGroup(group);
    selector->SetFocusable(false);
    return selector;
}

std::string ReplaceFirstPlaceholder(const std::string& text, const std::string& value)
{
    std::string result;
    const std::size_t at = text.find("%s");
    if (at == std::string::npos) {
        result = text;
    } else {
        result = text.substr(0, at) + value + text.substr(at + 2);
    }
    if (result.size() > korvane::kFormatStringLimit) {
        std::size_t cut = korvane::kFormatStringLimit;
        while (cut > 0 && (static_cast<unsigned char>(result[cut]) & 0xC0u) == 0x80u) {
            --cut;
        }
        result.resize(cut);
    }
    return result;
}
