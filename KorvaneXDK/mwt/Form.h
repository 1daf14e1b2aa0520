/** @file Form.h The window-like container every screen of the program derives from (its data so far). */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ContainerControl.h"

namespace korvane::mwt
{

/// A form answers the layout-edit question for every control below it with its own flag, and
/// focus chains inside it stop at it (CControl::IsFocusedInForm, CControl::SetFocus). The
/// opening and closing life cycle, caption boxes, frame dragging and its default appearance
/// come with the form's own behaviour; until then a form is visible from construction and
/// draws as a container.
class CForm : public CContainerControl
{
public:
    /// Window states.
    static constexpr std::int32_t kStateNormal = 0;
    static constexpr std::int32_t kStateRolledUp = 1;
    static constexpr std::int32_t kStateMaximized = 2;

    explicit CForm(const std::string& name = std::string());
    ~CForm() override;

    /// The form's own flag, never its parent's.
    bool IsLayoutEditMode() const override;

    virtual const std::string& GetFormName() const;
    virtual void SetFormName(const std::string& name);
    virtual std::int32_t GetCaptionHeight() const;
    virtual void SetCaptionHeight(std::int32_t height);
    /// The caption font, by reference: the name may be assigned through it.
    virtual canvas::CFont& GetFont();
    /// Copies the font's name.
    virtual void SetFont(const canvas::CFont& font);
    /// 2 and 3 are the framed styles with caption boxes.
    virtual std::int32_t GetFormStyle() const;
    virtual void SetFormStyle(std::int32_t style);
    virtual bool IsMaximizeBoxEnabled() const;
    virtual void SetMaximizeBoxEnabled(bool enabled);
    virtual canvas::Rect2f& GetMaximizeBoxRect();
    virtual void SetMaximizeBoxRect(const canvas::Rect2f& rect);
    virtual bool IsRollUpBoxEnabled() const;
    virtual void SetRollUpBoxEnabled(bool enabled);
    virtual canvas::Rect2f& GetRollUpBoxRect();
    virtual void SetRollUpBoxRect(const canvas::Rect2f& rect);
    virtual bool IsCloseBoxEnabled() const;
    virtual void SetCloseBoxEnabled(bool enabled);
    virtual canvas::Rect2f& GetCloseBoxRect();
    virtual void SetCloseBoxRect(const canvas::Rect2f& rect);
    virtual bool IsTopMost() const;
    virtual void SetTopMost(bool topMost);
    /// kStateNormal, kStateRolledUp or kStateMaximized.
    virtual std::int32_t GetWindowState() const;
    virtual bool IsActivateOnClick() const;
    virtual void SetActivateOnClick(bool activate);
    virtual bool IsClosing() const;
    /// Stores only; controls see it at their next mouse event or drawing.
    virtual void SetLayoutEditMode(bool editMode);
    virtual bool IsInitialized() const;

private:
    std::string formName_;
    std::int32_t captionHeight_ = 20;
    bool initialized_ = false;
    bool maximizeBoxEnabled_ = false;
    bool rollUpBoxEnabled_ = false;
    bool closeBoxEnabled_ = false;
    canvas::Rect2f maximizeBoxRect_;
    canvas::Rect2f rollUpBoxRect_;
    canvas::Rect2f closeBoxRect_;
    bool topMost_ = false;
    std::int32_t windowState_ = kStateNormal;
    bool activateOnClick_ = true;
    bool closing_ = false;
    std::int32_t formStyle_ = 2;
    canvas::CFont font_;
    bool layoutEditMode_ = false;
};

} // namespace korvane::mwt
