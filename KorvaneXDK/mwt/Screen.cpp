/** @file Screen.cpp The root container: top-most ordering, cascade placement and the active form. */
#include "KorvaneXDK/mwt/Screen.h"

#include <algorithm>

#include "KorvaneXDK/mwt/Form.h"

namespace korvane::mwt
{
namespace
{

bool IsTopMostForm(const CComponent* component)
{
    const CForm* form = dynamic_cast<const CForm*>(component);
    return form && form->IsTopMost();
}

} // namespace

CScreen::CScreen(const std::string& name) : CContainerControl(name) {}

CScreen::~CScreen() = default;

bool CScreen::IsFocused() const
{
    return true;
}

void CScreen::InsertByTopMostRule(const boost::shared_ptr<CComponent>& component)
{
    ControlList& children = GetChildList();
    const CForm* form = dynamic_cast<const CForm*>(component.get());
    if (form && form->IsTopMost() && !form->IsLayoutEditMode()) {
        children.push_back(component);
        return;
    }
    auto position = children.end();
    while (position != children.begin() && IsTopMostForm(std::prev(position)->get())) {
        --position;
    }
    children.insert(position, component);
}

void CScreen::AddControl(boost::shared_ptr<CComponent> component)
{
    if (!component || FindControl(component.get())) {
        return;
    }
    InsertByTopMostRule(component);
    component->SetParent(this);
    component->Initialize();
    UpdateLayoutFor(component.get());
}

void CScreen::BringControlToFront(CControl* control)
{
    const boost::shared_ptr<CComponent> held = FindControl(control);
    if (!held) {
        return;
    }
    ControlList& children = GetChildList();
    children.erase(std::find(children.begin(), children.end(), held));
    InsertByTopMostRule(held);
    UpdateLayoutFor(control);
}

void CScreen::AddFormCascaded(boost::shared_ptr<CComponent> component)
{
    AddControl(component);
    CControl* control = dynamic_cast<CControl*>(component.get());
    if (!control) {
        return;
    }
    const Vector2<float> size = control->GetSize();
    const Vector2<float> screen = GetSize();
    if (size.x + nextCascadePosition_.x >= screen.x || size.y + nextCascadePosition_.y >= screen.y) {
        nextCascadePosition_ = Vector2<float>(0.0f, 0.0f);
    }
    control->SetLocation(nextCascadePosition_);
    nextCascadePosition_ = nextCascadePosition_ + Vector2<float>(kCascadeStepX, kCascadeStepY);
}

boost::shared_ptr<CForm> CScreen::GetActiveForm() const
{
    return boost::dynamic_pointer_cast<CForm>(GetFocusedControl());
}

} // namespace korvane::mwt
