/** @file MainFormDesign.h The layout of the form a game runs in. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/mwt/Panel.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "MainForm": a full-screen skinned form in the keyed group with the side-message label and an
/// invisible focusable panel, so that the form always has a control to hold the focus.
class CMainFormDesign : public korvane::mwt::CForm
{
public:
    CMainFormDesign();
    ~CMainFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CLabel> MessageLabel;
    boost::shared_ptr<korvane::mwt::CPanel> DummyFocusablePanel;
};
