/** @file ControlAppearanceStock.cpp The appearance registry and the loading of definition files. */
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/CheckBox.h"
#include "KorvaneXDK/mwt/ComboBox.h"
#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/CropSkinProgressBarAppearance.h"
#include "KorvaneXDK/mwt/Edit.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/HorizontalSkinAppearance.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Knob.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/mwt/ListBox.h"
#include "KorvaneXDK/mwt/Pager.h"
#include "KorvaneXDK/mwt/Panel.h"
#include "KorvaneXDK/mwt/ProgressBar.h"
#include "KorvaneXDK/mwt/RadioButton.h"
#include "KorvaneXDK/mwt/ScrollBar.h"
#include "KorvaneXDK/mwt/SimpleButtonAppearance.h"
#include "KorvaneXDK/mwt/SimpleCheckBoxAppearance.h"
#include "KorvaneXDK/mwt/SimpleComboBoxAppearance.h"
#include "KorvaneXDK/mwt/SimpleFormAppearance.h"
#include "KorvaneXDK/mwt/SimpleKnobAppearance.h"
#include "KorvaneXDK/mwt/SimpleProgressBarAppearance.h"
#include "KorvaneXDK/mwt/SimpleRadioButtonAppearance.h"
#include "KorvaneXDK/mwt/SimpleScrollBarAppearance.h"
#include "KorvaneXDK/mwt/SimpleTrackBarAppearance.h"
#include "KorvaneXDK/mwt/SingleBorderAppearance.h"
#include "KorvaneXDK/mwt/SkinAppearance.h"
#include "KorvaneXDK/mwt/SkinButtonAppearance.h"
#include "KorvaneXDK/mwt/SkinCheckBoxAppearance.h"
#include "KorvaneXDK/mwt/SkinComboBoxAppearance.h"
#include "KorvaneXDK/mwt/SkinFormAppearance.h"
#include "KorvaneXDK/mwt/SkinKnobAppearance.h"
#include "KorvaneXDK/mwt/SkinProgressBarAppearance.h"
#include "KorvaneXDK/mwt/SkinRadioButtonAppearance.h"
#include "KorvaneXDK/mwt/SkinScrollBarAppearance.h"
#include "KorvaneXDK/mwt/SkinTrackBarAppearance.h"
#include "KorvaneXDK/mwt/SolidColorAppearance.h"
#include "KorvaneXDK/mwt/TrackBar.h"
#include "KorvaneXDK/mwt/TransparentAppearance.h"
#include "KorvaneXDK/mwt/VerticalSkinAppearance.h"

namespace korvane::mwt
{

CControlAppearanceStock::CControlAppearanceStock() = default;

CControlAppearanceStock::~CControlAppearanceStock() = default;

boost::shared_ptr<CControlAppearanceStock> CControlAppearanceStock::GetInstance()
{
    static boost::shared_ptr<CControlAppearanceStock> instance;
    if (!instance) {
        instance.reset(new CControlAppearanceStock());
        instance->RegisterDefaultAppearances();
    }
    return instance;
}

void CControlAppearanceStock::RegisterDefaultAppearances()
{
    if (defaultsRegistered_) {
        return;
    }
    RegisterControlClass<CControl>("CControl");
    RegisterControlClass<CForm>("CForm");
    RegisterControlClass<CPanel>("CPanel");
    RegisterControlClass<CLabel>("CLabel");
    RegisterControlClass<CButton>("CButton");
    RegisterControlClass<CImage>("CImage");
    RegisterControlClass<CPager>("CPager");
    RegisterControlClass<CListBox>("CListBox");
    RegisterControlClass<CEdit>("CEdit");
    RegisterControlClass<CScrollBar>("CScrollBar");
    RegisterControlClass<CTrackBar>("CTrackBar");
    RegisterControlClass<CCheckBox>("CCheckBox");
    RegisterControlClass<CRadioButton>("CRadioButton");
    RegisterControlClass<CComboBox>("CComboBox");
    RegisterControlClass<CProgressBar>("CProgressBar");
    RegisterControlClass<CKnob>("CKnob");
    RegisterControlClass<CHorizontalSelector>("CHorizontalSelector");

    RegisterAppearanceClass<CTransparentAppearance>("CTransparentApperance");
    RegisterAppearanceClass<CSolidColorAppearance>("CSolidColorAppearance");
    RegisterAppearanceClass<CSingleBorderAppearance>("CSingleBorderAppearance");
    RegisterAppearanceClass<CSimpleFormAppearance>("CSimpleFormAppearance");
    RegisterAppearanceClass<CSimpleButtonAppearance>("CSimpleButtonAppearance");
    RegisterAppearanceClass<CSimpleScrollBarAppearance>("CSimpleScrollBarAppearance");
    RegisterAppearanceClass<CSimpleTrackBarAppearance>("CSimpleTrackBarAppearance");
    RegisterAppearanceClass<CSimpleCheckBoxAppearance>("CSimpleCheckBoxAppearance");
    RegisterAppearanceClass<CSimpleRadioButtonAppearance>("CSimpleRadioButtonAppearance");
    RegisterAppearanceType("CSimpleComboBoxAppearance", &CreateSimpleComboBoxAppearance);
    RegisterAppearanceClass<CSimpleProgressBarAppearance>("CSimpleProgressBarAppearance");
    RegisterAppearanceClass<CSimpleKnobAppearance>("CSimpleKnobAppearance");
    RegisterAppearanceClass<CSkinAppearance>("CSkinAppearance");
    RegisterAppearanceClass<CHorizontalSkinAppearance>("CHorizontalSkinAppearance");
    RegisterAppearanceClass<CVerticalSkinAppearance>("CVerticalSkinAppearance");
    RegisterAppearanceClass<CSkinFormAppearance>("CSkinFormAppearance");
    RegisterAppearanceClass<CSkinButtonAppearance>("CSkinButtonAppearance");
    RegisterAppearanceClass<CSkinScrollBarAppearance>("CSkinScrollBarAppearance");
    RegisterAppearanceClass<CSkinTrackBarAppearance>("CSkinTrackBarAppearance");
    RegisterAppearanceClass<CSkinCheckBoxAppearance>("CSkinCheckBoxAppearance");
    RegisterAppearanceClass<CSkinRadioButtonAppearance>("CSkinRadioButtonAppearance");
    RegisterAppearanceClass<CSkinComboBoxAppearance>("CSkinComboBoxAppearance");
    RegisterAppearanceClass<CSkinProgressBarAppearance>("CSkinProgressBarAppearance");
    RegisterAppearanceClass<CCropSkinProgressBarAppearance>("CCropSkinProgressBarAppearance");
    RegisterAppearanceClass<CSkinKnobAppearance>("CSkinKnobAppearance");

    Add<CControl>(CTransparentAppearance::Create());
    Add<CControl>(CSolidColorAppearance::Create());
    Add<CControl>(CSingleBorderAppearance::Create());
    Add<CForm>(CSimpleFormAppearance::Create());
    Add<CButton>(CSimpleButtonAppearance::Create());
    Add<CScrollBar>(CSimpleScrollBarAppearance::Create());
    Add<CTrackBar>(CSimpleTrackBarAppearance::Create());
    Add<CCheckBox>(CSimpleCheckBoxAppearance::Create());
    Add<CRadioButton>(CSimpleRadioButtonAppearance::Create());
    Add<CComboBox>(CreateSimpleComboBoxAppearance());
    Add<CProgressBar>(CSimpleProgressBarAppearance::Create());
    Add<CKnob>(CSimpleKnobAppearance::Create());
    defaultsRegistered_ = true;
}

void CControlAppearanceStock::LoadAppearances(IDataLoader* loader, const std::string& directory,
                                              TextureResolver resolver)
{
    if (loader == nullptr) {
        throw EInvalidParameter(this, "loader is null.");
    }
    std::vector<std::string> files;
    loader->EnumerateFiles(directory, false, files);
    for (const std::string& file : files) {
        if (ToLowerString(GetExtension(file)) != ".ini") {
            continue;
        }
        LogInfoF("load appearance: %s", file.c_str());
        boost::shared_ptr<IKorvaneStream> stream = loader->OpenShared(file);
        AppearanceProperties properties;
        properties.LoadFromStream(*stream);
        LoadAppearance(properties, resolver);
    }
}

void CControlAppearanceStock::Get(boost::shared_ptr<IControlAppearance>& out, const std::string& name)
{
    const auto found = appearances_.find(name);
    if (found == appearances_.end()) {
        throw EInvalidOperation(this, "Appearance not found : '" + name + "'");
    }
    out = found->second.appearance;
}

CControlAppearanceStock::Factory CControlAppearanceStock::GetFactory(const std::string& name)
{
    boost::shared_ptr<IControlAppearance> now;
    Get(now, name);
    return [this, name]() {
        boost::shared_ptr<IControlAppearance> appearance;
        Get(appearance, name);
        return appearance;
    };
}

std::vector<std::string> CControlAppearanceStock::GetAppearanceNames(const std::string& controlClass)
{
    std::vector<std::string> names;
    GetAppearanceNames(controlClass, names);
    return names;
}

void CControlAppearanceStock::GetAppearanceNames(const std::string& controlClass, std::vector<std::string>& out)
{
    const std::type_index type = FindControlClass(controlClass);
    const std::type_index any(typeid(CControl));
    for (const auto& [name, entry] : appearances_) {
        if (entry.controlType == type || entry.controlType == any) {
            out.push_back(name);
        }
    }
}

void CControlAppearanceStock::Add(std::type_index controlType, boost::shared_ptr<IControlAppearance> appearance)
{
    const std::string& name = appearance->GetName();
    if (appearances_.count(name) != 0) {
        throw EInvalidParameter(this, "Add(): appearance name '" + name + "' already exists.");
    }
    appearances_.emplace(name, Entry{appearance, controlType});
}

void CControlAppearanceStock::RegisterAlias(const std::string& newName, const std::string& existingName)
{
    const auto found = appearances_.find(existingName);
    if (found == appearances_.end()) {
        throw EInvalidOperation(this, "Appearance not found : '" + existingName + "'");
    }
    const Entry entry = found->second;
    appearances_.erase(newName);
    appearances_.emplace(newName, entry);
}

CControlAppearanceStock::Factory CControlAppearanceStock::FindAppearanceClass(const std::string& name)
{
    const auto found = appearanceClasses_.find(name);
    if (found == appearanceClasses_.end()) {
        throw EInvalidParameter(this, "appearance class '" + name + "' not found");
    }
    return found->second;
}

std::type_index CControlAppearanceStock::FindControlClass(const std::string& name)
{
    const auto found = controlClasses_.find(name);
    if (found == controlClasses_.end()) {
        throw EInvalidParameter(this, "control '" + name + "' not found");
    }
    return found->second;
}

void CControlAppearanceStock::LoadAppearance(const AppearanceProperties& properties, TextureResolver resolver)
{
    const std::string name = properties.Get("Name", "");
    const std::string className = properties.Get("Appearance", "");
    boost::shared_ptr<IControlAppearance> appearance = FindAppearanceClass(className)();
    appearance->SetName(name);
    appearance->LoadProperties(properties, resolver);
    const std::string control = properties.Get("Control", "");
    // Filed under "Control" whatever class the appearance draws: a control of another class
    // fails with a bad cast when it first uses it.
    Add(FindControlClass(control), appearance);
}

void CControlAppearanceStock::RegisterControlType(const std::string& name, const std::type_info& type)
{
    if (controlClasses_.count(name) != 0) {
        throw EInvalidParameter(this, "RegisterControlClass(): class name '" + name + "' already exists.");
    }
    controlClasses_.emplace(name, std::type_index(type));
}

void CControlAppearanceStock::RegisterAppearanceType(const std::string& name, const Factory& create)
{
    if (appearanceClasses_.count(name) != 0) {
        throw EInvalidParameter(this, "RegisterAppearanceClass(): class name '" + name + "' already exists.");
    }
    appearanceClasses_.emplace(name, create);
}

} // namespace korvane::mwt
