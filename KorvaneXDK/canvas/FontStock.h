/** @file FontStock.h The process-wide registry of the fonts canvas text is drawn with. */
#pragma once

#include <map>
#include <string>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{
class IDataLoader;
class IFont;
} // namespace korvane

namespace korvane::canvas
{

/// Names are keys lower-cased by the engine's rule; several keys may share one font. Main
/// thread only: the singleton and its map take no lock.
class CFontStock : public virtual CNonCopyable
{
public:
    /// Makes a font and loads it from the path through the loader; a failure throws and
    /// nothing is stored. The default makes a CTextureFont and calls its Load.
    using FontFactory = boost::function<boost::shared_ptr<IFont>(IDataLoader* loader, const std::string& path)>;

    CFontStock();
    ~CFontStock() override;

    /// The registry, made empty on the first call.
    static boost::shared_ptr<CFontStock> GetInstance();
    /// Drops the static reference; the next GetInstance makes a new, empty registry.
    static void ReleaseInstance();

    /// EInvalidOperation "Font not found : '<name as given>'" when absent.
    virtual boost::shared_ptr<IFont> Get(const std::string& name);
    /// Makes and loads the font, then stores it under the lower-cased name (replacing).
    virtual void LoadFont(IDataLoader* loader, const std::string& name, const std::string& path);
    /// Stores the font of `existingName` under `newName` too; throws Get's error when absent.
    virtual void AddAlias(const std::string& newName, const std::string& existingName);
    /// Every ".ini" and ".kvf" file of the folder (not recursive), each logged as "load font: "
    /// + path and named by its stem; the first failure stops the loading.
    virtual void LoadFonts(IDataLoader* loader, const std::string& directory);

    /// Replaces the font factory (tests; an empty one restores the default).
    void SetFontFactory(FontFactory factory);
    std::size_t GetFontCount() const { return fonts_.size(); }

private:
    std::map<std::string, boost::shared_ptr<IFont>> fonts_;
    FontFactory factory_;
};

} // namespace korvane::canvas
