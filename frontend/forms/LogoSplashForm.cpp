/** @file LogoSplashForm.cpp The start-up logo splash. */
#include "frontend/forms/LogoSplashForm.h"

CLogoSplashForm::CLogoSplashForm() : korvane::mwt::CForm("LogoSplashForm")
{
    SetSize(korvane::Vector2<float>(1920.0f, 1080.0f));
    SetFocusable(true);
    OpenedEvent = [](korvane::mwt::CForm* form) { form->SetFocus(); };
}

CLogoSplashForm::~CLogoSplashForm() = default;
