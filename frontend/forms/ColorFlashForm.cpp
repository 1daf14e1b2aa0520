/** @file ColorFlashForm.cpp A white flash that removes itself. */
#include "frontend/forms/ColorFlashForm.h"

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "frontend/forms/FormSceneLink.h"

CColorFlashForm::CColorFlashForm()
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    UpdateEvent = [this](korvane::mwt::CComponent* sender, float seconds) { OnUpdate(sender, seconds); };
}

CColorFlashForm::~CColorFlashForm() = default;

void CColorFlashForm::OnInitialized(korvane::mwt::CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
}

void CColorFlashForm::OnUpdate(korvane::mwt::CComponent*, float)
{
    if (IsClosing()) {
        return;
    }
    const boost::shared_ptr<korvane::mwt::CAnimationComponent> animation = GetAnimation();
    if (!animation || animation->IsCompleted()) {
        Close();
    }
}
