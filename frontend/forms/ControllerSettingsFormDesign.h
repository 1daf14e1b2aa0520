/** @file ControllerSettingsFormDesign.h The layout of the controller settings menu. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "ControllerSettingsForm", in the options menu's look: one entry per device kind, then Exit.
class CControllerSettingsFormDesign : public korvane::mwt::CForm
{
public:
    CControllerSettingsFormDesign();
    ~CControllerSettingsFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image1;
    boost::shared_ptr<korvane::mwt::CButton> KeyboardButton;
    boost::shared_ptr<korvane::mwt::CButton> DirectInputButton;
    boost::shared_ptr<korvane::mwt::CButton> XInputButton;
    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CImage> Image2;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
};
