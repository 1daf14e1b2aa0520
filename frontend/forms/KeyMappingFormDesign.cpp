/** @file KeyMappingFormDesign.cpp The layout of the key mapping screen. */
#include "frontend/forms/KeyMappingFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/SettingsFormParts.h"

using korvane::canvas::Rect2f;
using korvane::mwt::CLabel;

namespace
{

/// An action's row label; its generic text is the key of its hint texts.
boost::shared_ptr<CLabel> MakeActionLabel(const std::string& name, const Rect2f& bounds, const std::string& caption,
                                          const std::string& textKey)
{
    boost::shared_ptr<CLabel> label = MakeRowLabel(name, bounds, caption, 0);
    label->SetText(textKey);
    return label;
}

/// The label showing a binding; its text is replaced as the screen opens.
boost::shared_ptr<CLabel> MakeKeyLabel(const std::string& name, const Rect2f& bounds)
{
    boost::shared_ptr<CLabel> label =
        MakeLabel(name, bounds, name, form_names::kFontMessage, korvane::Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), false);
    label->SetTextAlignment(CLabel::kAlignNear);
    label->SetVerticalAlignment(CLabel::kAlignCenter);
    return label;
}

boost::shared_ptr<CLabel> MakeHintLabel(const std::string& name, const Rect2f& bounds)
{
    boost::shared_ptr<CLabel> label = MakeLabel(name, bounds, name, form_names::kFontMessage,
                                                korvane::Color4<float>(1.0f, 0.8125f, 0.125f, 1.0f), true);
    label->SetTextAlignment(CLabel::kAlignNear);
    label->SetVerticalAlignment(CLabel::kAlignNear);
    return label;
}

} // namespace

CKeyMappingFormDesign::CKeyMappingFormDesign() = default;
CKeyMappingFormDesign::~CKeyMappingFormDesign() = default;

void CKeyMappingFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    cache = BeginSettingsLayout(cache, "KeyMappingForm", true);
    ExitButton = MakeMenuButton("ExitButton", {688.0f, 816.0f, 96.0f, 32.0f}, " Exit");
    AddControl(ExitButton);
    AddCaptionRule(cache);
    FormCaptionLabel = MakeLabel("FormCaptionLabel", {636.0f, 104.0f, 324.0f, 31.0f}, "??? MAPPING", kFontAsciiLarge);
    FormCaptionLabel->SetVerticalAlignment(CLabel::kAlignNear);
    AddControl(FormCaptionLabel);
    FrontShotLabel = MakeActionLabel("FrontShotLabel", {688.0f, 200.0f, 304.0f, 32.0f}, " Frontal Shot", "180");
    AddControl(FrontShotLabel);
    WideShotLabel = MakeActionLabel("WideShotLabel", {688.0f, 256.0f, 304.0f, 32.0f}, " Wide Shot", "181");
    AddControl(WideShotLabel);
    ShieldLabel = MakeActionLabel("ShieldLabel", {688.0f, 312.0f, 264.0f, 32.0f}, " Shield", "182");
    AddControl(ShieldLabel);
    DefaultButton = MakeMenuButton("DefaultButton", {688.0f, 720.0f, 216.0f, 32.0f}, " DEFAULT");
    AddControl(DefaultButton);
    FrontShotKeyLabel = MakeKeyLabel("FrontShotKeyLabel", {1008.0f, 196.0f, 332.0f, 32.0f});
    AddControl(FrontShotKeyLabel);
    WideShotKeyLabel = MakeKeyLabel("WideShotKeyLabel", {1008.0f, 252.0f, 332.0f, 32.0f});
    AddControl(WideShotKeyLabel);
    ShieldKeyLabel = MakeKeyLabel("ShieldKeyLabel", {1008.0f, 308.0f, 332.0f, 32.0f});
    AddControl(ShieldKeyLabel);

    SystemKeyPanel.reset(new korvane::mwt::CPanel("SystemKeyPanel"));
    SystemKeyPanel->SetLocation(korvane::Vector2<float>(664.0f, 448.0f));
    SystemKeyPanel->SetSize(korvane::Vector2<float>(688.0f, 224.0f));
    SystemKeyPanel->SetColor(korvane::Color4<float>(0.2f, 0.2f, 0.2f, 0.0f));
    SystemKeyPanel->SetDockPadding(0);
    SystemKeyPanel->SetKeyPreview(false);
    SystemKeyPanel->SetGroupKeyBroadcast(false);
    SystemKeyPanel->SetFocusable(true);
    SetAppearanceByName(*SystemKeyPanel, kAppearanceTransparent);
    OkLabel = MakeActionLabel("OkLabel", {24.0f, 16.0f, 264.0f, 32.0f}, " OK", "184");
    SystemKeyPanel->AddControl(OkLabel);
    CancelLabel = MakeActionLabel("CancelLabel", {24.0f, 72.0f, 264.0f, 32.0f}, " Cancel", "185");
    SystemKeyPanel->AddControl(CancelLabel);
    PauseLabel = MakeActionLabel("PauseLabel", {24.0f, 160.0f, 264.0f, 32.0f}, " Pause", "187");
    SystemKeyPanel->AddControl(PauseLabel);
    PauseKeyLabel = MakeKeyLabel("PauseKeyLabel", {344.0f, 156.0f, 332.0f, 32.0f});
    SystemKeyPanel->AddControl(PauseKeyLabel);
    CancelKeyLabel = MakeKeyLabel("CancelKeyLabel", {344.0f, 68.0f, 332.0f, 32.0f});
    SystemKeyPanel->AddControl(CancelKeyLabel);
    OkKeyLabel = MakeKeyLabel("OkKeyLabel", {344.0f, 12.0f, 332.0f, 32.0f});
    SystemKeyPanel->AddControl(OkKeyLabel);
    AddControl(SystemKeyPanel);

    SuperShotLabel = MakeActionLabel("SuperShotLabel", {688.0f, 368.0f, 264.0f, 32.0f}, " SUPER SHOT", "183");
    AddControl(SuperShotLabel);
    SuperShotKeyLabel = MakeKeyLabel("SuperShotKeyLabel", {1008.0f, 364.0f, 332.0f, 32.0f});
    AddControl(SuperShotKeyLabel);
    HintLabel1 = MakeHintLabel("HintLabel1", {656.0f, 964.0f, 175.0f, 35.0f});
    AddControl(HintLabel1);
    HintLabel2 = MakeHintLabel("HintLabel2", {656.0f, 1004.0f, 175.0f, 35.0f});
    AddControl(HintLabel2);
}
