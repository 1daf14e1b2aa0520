/** @file DialogFormDesign.cpp The layout of the dialogs. */
#include "frontend/forms/DialogFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

namespace
{

// The panel: 800 x 300 in the middle of the 1920 x 1080 screen.
constexpr float kPanelLeft = 560.0f;
constexpr float kPanelTop = 390.0f;
constexpr float kPanelWidth = 800.0f;
constexpr float kPanelHeight = 300.0f;
constexpr float kTextLeft = kPanelLeft + 40.0f;
constexpr float kTextWidth = kPanelWidth - 80.0f;

} // namespace

CDialogFormDesign::CDialogFormDesign(std::int32_t kind, const std::string& caption, const std::string& line1,
                                     const std::string& line2, const std::string& line3)
    : kind_(kind), caption_(caption), line1_(line1), line2_(line2), line3_(line3)
{}

CDialogFormDesign::~CDialogFormDesign() = default;

korvane::CTextureCache* CDialogFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CDialogFormDesign::InitializeComponent(korvane::CTextureCache*)
{
    using namespace form_names;
    FormSetup setup;
    setup.name = "DialogForm";
    setup.tint = korvane::Color4<float>(0.0f, 0.0f, 0.0f, 0.5f);
    setup.appearance = kAppearanceSolidColor;
    setup.openAnimation = kAnimationVerticalCenterOpen;
    setup.closeAnimation = kAnimationVerticalCenterClose;
    setup.group = kGroupKeyed;
    ApplyFormSetup(*this, setup);

    // White text and near-white key guides on a strong blue panel: 6.4:1 and 5.7:1.
    const korvane::Color4<float> white(1.0f, 1.0f, 1.0f, 1.0f);
    const korvane::Color4<float> guide(0.9f, 0.95f, 1.0f, 1.0f);
    const korvane::Color4<float> panel(0.05f, 0.32f, 0.85f, 1.0f);

    Panel1.reset(new korvane::mwt::CPanel("Panel1"));
    Panel1->SetLocation(korvane::Vector2<float>(kPanelLeft, kPanelTop));
    Panel1->SetSize(korvane::Vector2<float>(kPanelWidth, kPanelHeight));
    Panel1->SetColor(panel);
    Panel1->SetFocusable(false);
    SetAppearanceByName(*Panel1, kAppearanceSingleBorder);
    AddControl(Panel1);

    CaptionLabel =
        MakeLabel("CaptionLabel", {kTextLeft, kPanelTop + 24.0f, kTextWidth, 31.0f}, caption_, kFontAsciiLarge, white);
    AddControl(CaptionLabel);
    Line1Label =
        MakeLabel("Line1Label", {kTextLeft, kPanelTop + 88.0f, kTextWidth, 32.0f}, line1_, kFontMessage, white, false);
    AddControl(Line1Label);
    Line2Label =
        MakeLabel("Line2Label", {kTextLeft, kPanelTop + 128.0f, kTextWidth, 32.0f}, line2_, kFontMessage, white, false);
    AddControl(Line2Label);
    Line3Label =
        MakeLabel("Line3Label", {kTextLeft, kPanelTop + 168.0f, kTextWidth, 32.0f}, line3_, kFontMessage, white, false);
    AddControl(Line3Label);
    OkGuideLabel =
        MakeLabel("OkGuideLabel", {kTextLeft, kPanelTop + 240.0f, 200.0f, 32.0f}, "Enter: OK", kFontMessage, guide);
    OkGuideLabel->SetVisible(kind_ == 1 || kind_ == 2);
    AddControl(OkGuideLabel);
    CancelGuideLabel = MakeLabel("CancelGuideLabel", {kTextLeft + 240.0f, kPanelTop + 240.0f, 240.0f, 32.0f},
                                 "Esc: Cancel", kFontMessage, guide);
    CancelGuideLabel->SetVisible(kind_ == 2);
    AddControl(CancelGuideLabel);

    // A small turning square tells the player the program is alive while a message waits.
    BusyMark.reset(new korvane::mwt::CPanel("BusyMark"));
    BusyMark->SetLocation(korvane::Vector2<float>(kPanelLeft + kPanelWidth - 64.0f, kPanelTop + 28.0f));
    BusyMark->SetSize(korvane::Vector2<float>(24.0f, 24.0f));
    BusyMark->SetColor(guide);
    BusyMark->SetFocusable(false);
    SetAppearanceByName(*BusyMark, kAppearanceSolidColor);
    BusyMark->AnimationFactory = ::AnimationFactory(kAnimationRotationLoop);
    AddControl(BusyMark);

    // The window scene sends keys only to a form with a focused control, and labels never
    // take the focus: this one does, and draws nothing.
    KeySink.reset(new korvane::mwt::CControl());
    KeySink->SetName("KeySink");
    KeySink->SetLocation(korvane::Vector2<float>(kPanelLeft, kPanelTop));
    KeySink->SetSize(korvane::Vector2<float>(1.0f, 1.0f));
    SetAppearanceByName(*KeySink, kAppearanceTransparent);
    AddControl(KeySink);
}
