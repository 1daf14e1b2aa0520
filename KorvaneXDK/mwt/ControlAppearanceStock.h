/** @file ControlAppearanceStock.h The process-wide registry of control classes, appearance classes and named appearances. */
#pragma once

#include <map>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/mwt/ControlAppearanceInterface.h"

namespace korvane
{
class IDataLoader;
} // namespace korvane

namespace korvane::mwt
{

/// Knows the control classes and the appearance classes by name and holds the named appearance
/// objects controls share: the built-in plain ones from the start, then one more per definition
/// file the window scene loads. Named appearances are shared (every control using a name holds
/// the same object) and never removed. Every error's where text is this class's name. Main
/// thread only.
///
/// A definition is filed under the control class it names, whatever control class its
/// appearance class draws: a control of another class using it fails with a bad cast on first
/// use. Appearances filed under CControl are offered for every control class.
class CControlAppearanceStock : public virtual CNonCopyable
{
public:
    using Factory = boost::function<boost::shared_ptr<IControlAppearance>()>;

    /// A registry without defaults; GetInstance's one also has them.
    CControlAppearanceStock();
    ~CControlAppearanceStock() override;

    /// Created with its defaults on the first call; there is no release.
    static boost::shared_ptr<CControlAppearanceStock> GetInstance();

    /// Once: the control classes, the appearance classes and the built-in appearances.
    virtual void RegisterDefaultAppearances();
    /// Every file of the folder (not of sub-folders) whose extension is ".ini" in any letter case,
    /// in the loader's order, each logged as "load appearance: <file>". The first failure ends
    /// the loading; what earlier files added stays. A null loader is EInvalidParameter "loader is null.".
    virtual void LoadAppearances(IDataLoader* loader, const std::string& directory, TextureResolver resolver);
    /// The shared object; EInvalidOperation "Appearance not found : '<name>'".
    virtual void Get(boost::shared_ptr<IControlAppearance>& out, const std::string& name);
    /// Checks the name now; the factory then looks it up on every call, so it follows
    /// RegisterAlias. The registry must outlive the factory.
    virtual Factory GetFactory(const std::string& name);
    virtual std::vector<std::string> GetAppearanceNames(const std::string& controlClass);
    /// Appends, ascending, the names filed under the class and those filed under CControl.
    virtual void GetAppearanceNames(const std::string& controlClass, std::vector<std::string>& out);
    /// Files the appearance under its own name; a taken name changes nothing and throws.
    virtual void Add(std::type_index controlType, boost::shared_ptr<IControlAppearance> appearance);
    /// The existing entry also under the new name (replacing what was there).
    virtual void RegisterAlias(const std::string& newName, const std::string& existingName);

    template <typename TControl>
    void RegisterControlClass(const std::string& name)
    {
        RegisterControlType(name, typeid(TControl));
    }

    /// TAppearance is default-constructible.
    template <typename TAppearance>
    void RegisterAppearanceClass(const std::string& name)
    {
        RegisterAppearanceType(name, &CreateAppearance<TAppearance>);
    }

    template <typename TControl>
    void Add(boost::shared_ptr<IControlAppearance> appearance)
    {
        Add(std::type_index(typeid(TControl)), appearance);
    }

    /// The creation function; EInvalidParameter "appearance class '<name>' not found".
    Factory FindAppearanceClass(const std::string& name);
    /// EInvalidParameter "control '<name>' not found".
    std::type_index FindControlClass(const std::string& name);
    /// "Name", "Appearance" (created, renamed, its keys loaded), "Control", then filed. A failure
    /// leaves nothing behind.
    void LoadAppearance(const AppearanceProperties& properties, TextureResolver resolver);

private:
    struct Entry
    {
        boost::shared_ptr<IControlAppearance> appearance;
        std::type_index controlType;
    };

    template <typename TAppearance>
    static boost::shared_ptr<IControlAppearance> CreateAppearance()
    {
        return boost::shared_ptr<IControlAppearance>(new TAppearance());
    }

    void RegisterControlType(const std::string& name, const std::type_info& type);
    void RegisterAppearanceType(const std::string& name, const Factory& create);

    std::map<std::string, std::type_index> controlClasses_;
    std::map<std::string, Factory> appearanceClasses_;
    std::map<std::string, Entry> appearances_;
    bool defaultsRegistered_ = false;
};

} // namespace korvane::mwt
