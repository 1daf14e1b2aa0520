/** @file DialogFormDesign.h The layout of the message and confirmation dialogs. */
#pragma once

#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/mwt/Panel.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "DialogForm": a translucent full-screen layer (group 1000) with a framed panel in the middle
/// holding the caption, three lines, the key guides the kind calls for and a small turning mark.
/// Kind 0 shows no guide, kind 1 "Enter: OK", kind 2 both "Enter: OK" and "Esc: Cancel".
class CDialogFormDesign : public korvane::mwt::CForm
{
public:
    CDialogFormDesign(std::int32_t kind, const std::string& caption, const std::string& line1, const std::string& line2,
                      const std::string& line3);
    ~CDialogFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

    std::int32_t GetKind() const { return kind_; }

protected:
    korvane::CTextureCache textureCache_;
    std::int32_t kind_;
    std::string caption_;
    std::string line1_;
    std::string line2_;
    std::string line3_;

public:
    boost::shared_ptr<korvane::mwt::CPanel> Panel1;
    boost::shared_ptr<korvane::mwt::CLabel> CaptionLabel;
    boost::shared_ptr<korvane::mwt::CLabel> Line1Label;
    boost::shared_ptr<korvane::mwt::CLabel> Line2Label;
    boost::shared_ptr<korvane::mwt::CLabel> Line3Label;
    boost::shared_ptr<korvane::mwt::CLabel> OkGuideLabel;
    boost::shared_ptr<korvane::mwt::CLabel> CancelGuideLabel;
    boost::shared_ptr<korvane::mwt::CPanel> BusyMark;
};
