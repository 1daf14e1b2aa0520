/** @file LogoSplashForm.h The start-up logo splash (a plain stand-in until the menus' own). */
#pragma once

#include "KorvaneXDK/mwt/Form.h"

/// A focusable full-screen form that takes the focus when it opens.
class CLogoSplashForm : public korvane::mwt::CForm
{
public:
    CLogoSplashForm();
    ~CLogoSplashForm() override;
};
