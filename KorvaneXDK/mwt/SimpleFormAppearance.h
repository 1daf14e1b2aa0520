/** @file SimpleFormAppearance.h Every form's default frame, drawn from rectangles in fixed colours. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/FormAppearance.h"

namespace korvane::mwt
{

/// Named "SimpleForm" (registered as "CSimpleFormAppearance"). A framed form gets a caption band
/// as tall as the client rectangle's top (20), 2-unit side and bottom bands, the form name at
/// (8, 2) in the "default" font, its enabled caption boxes right-aligned in the caption, and
/// its client area filled in its colour when that is not fully transparent. Keeps no state.
class CSimpleFormAppearance : public CFormAppearance
{
public:
    CSimpleFormAppearance();
    ~CSimpleFormAppearance() override;

    /// A new instance (the registry's creation function and the forms' default).
    static boost::shared_ptr<IControlAppearance> Create();
    /// {2, 20, w - 4, h - 22}.
    static canvas::Rect2f GetDefaultContentRect(const CForm* form);

    /// Framed: the default content rectangle; otherwise the whole form.
    void GetClientRect(canvas::Rect2f& out, CControl* control) override;
    /// Framed only: boxes of side caption height - 4, 2 from the top, from the right edge
    /// leftwards in the order close, maximise, roll-up; a disabled box takes no place and keeps
    /// its rectangle.
    void Layout(CControl* control) override;

protected:
    void DrawFrame(CForm* form, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
