/** @file FormAppearance.h What the two form appearances share: the style switch of their drawing. */
#pragma once

#include <string>

#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/Form.h"

namespace korvane::mwt
{

/// The form's style chooses what is drawn: 0 nothing, 1 the client rectangle filled in the
/// form's colour, 2 and 3 (the framed styles) the frame of the derived class; any other value
/// draws nothing and counts as not framed. Only forms are accepted ("bad cast").
class CFormAppearance : public TControlAppearance<CForm>
{
public:
    explicit CFormAppearance(const std::string& name) : TControlAppearance<CForm>(name) {}
    ~CFormAppearance() override = default;

    /// Pushes a brush and a font, draws by style, pops both.
    void Draw(CControl* control, canvas::CCanvas* canvas) override;

    /// Styles 2 and 3.
    static bool IsFramed(const CForm* form);

protected:
    /// The frame of a framed form, between the pushes and pops of Draw.
    virtual void DrawFrame(CForm* form, canvas::CCanvas* canvas) = 0;
};

} // namespace korvane::mwt
