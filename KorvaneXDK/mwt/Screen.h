/** @file Screen.h The root container of the widget tree: the forms live on it. */
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Vector2.h"
#include "KorvaneXDK/mwt/ContainerControl.h"

namespace korvane::mwt
{

class CForm;

/// The root of every focus chain; its children are the open forms, first drawn lowest.
/// Top-most forms (CForm::IsTopMost, outside layout edit mode) stay above all others whenever a
/// child is added or brought to the front; among them the newest or last activated is highest.
/// Main thread only.
class CScreen : public CContainerControl
{
public:
    /// The cascade step of AddFormCascaded.
    static constexpr float kCascadeStepX = 24.0f;
    static constexpr float kCascadeStepY = 16.0f;

    explicit CScreen(const std::string& name = std::string());
    ~CScreen() override;

    /// Always true.
    bool IsFocused() const override;
    /// Nothing for a child; else inserted by the top-most rule, parented, initialised (a form
    /// opens) and laid out. Unlike other containers the screen does not focus it.
    void AddControl(boost::shared_ptr<CComponent> component) override;
    /// Re-inserted by the top-most rule and laid out; not initialised again. Nothing for a
    /// control that is not a child.
    void BringControlToFront(CControl* control) override;

    /// AddControl, then the location at the next cascade position, which moves on by
    /// (24, 16); a control that would reach the screen's right or bottom edge there goes to
    /// (0, 0) instead.
    virtual void AddFormCascaded(boost::shared_ptr<CComponent> component);
    /// The focused child as a form; null when nothing has focus or it is not a form.
    virtual boost::shared_ptr<CForm> GetActiveForm() const;

    /// Where the next cascaded form goes; (0, 0) at construction.
    Vector2<float> GetNextCascadePosition() const { return nextCascadePosition_; }

protected:
    void SetNextCascadePosition(const Vector2<float>& position) { nextCascadePosition_ = position; }

private:
    /// Into the child list: at the end for a top-most form outside layout edit mode, else
    /// below the run of top-most forms that ends the list.
    void InsertByTopMostRule(const boost::shared_ptr<CComponent>& component);

    Vector2<float> nextCascadePosition_;
};

} // namespace korvane::mwt
