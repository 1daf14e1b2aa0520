/** @file FontStock.cpp The font registry. */
#include "KorvaneXDK/canvas/FontStock.h"

#include <vector>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"

namespace korvane::canvas
{
namespace
{

boost::shared_ptr<CFontStock>& Instance()
{
    static boost::shared_ptr<CFontStock> instance;
    return instance;
}

boost::shared_ptr<IFont> MakeTextureFont(IDataLoader* loader, const std::string& path)
{
    boost::shared_ptr<CTextureFont> font(new CTextureFont());
    font->Load(loader, path);
    return font;
}

} // namespace

CFontStock::CFontStock() : factory_(&MakeTextureFont) {}

CFontStock::~CFontStock() = default;

boost::shared_ptr<CFontStock> CFontStock::GetInstance()
{
    boost::shared_ptr<CFontStock>& instance = Instance();
    if (!instance) {
        instance.reset(new CFontStock());
    }
    return instance;
}

void CFontStock::ReleaseInstance()
{
    Instance().reset();
}

boost::shared_ptr<IFont> CFontStock::Get(const std::string& name)
{
    const auto found = fonts_.find(ToLowerString(name));
    if (found == fonts_.end()) {
        throw EInvalidOperation(this, "Font not found : '" + name + "'");
    }
    return found->second;
}

void CFontStock::LoadFont(IDataLoader* loader, const std::string& name, const std::string& path)
{
    // Stored only once the font has loaded: a damaged file leaves the registry as it was.
    boost::shared_ptr<IFont> font = factory_(loader, path);
    fonts_[ToLowerString(name)] = font;
}

void CFontStock::AddAlias(const std::string& newName, const std::string& existingName)
{
    boost::shared_ptr<IFont> font = Get(existingName);
    fonts_[ToLowerString(newName)] = font;
}

void CFontStock::LoadFonts(IDataLoader* loader, const std::string& directory)
{
    if (loader == nullptr) {
        throw EInvalidParameter(this, "loader is null.");
    }
    std::vector<std::string> files;
    loader->EnumerateFiles(directory, false, files);
    for (const std::string& path : files) {
        const std::string extension = ToLowerString(GetExtension(path));
        if (extension != ".ini" && extension != ".kvf") {
            continue;
        }
        LogInfo("load font: " + path);
        LoadFont(loader, ReplaceExtension(GetFileName(path), ""), path);
    }
}

void CFontStock::SetFontFactory(FontFactory factory)
{
    factory_ = factory ? factory : FontFactory(&MakeTextureFont);
}

} // namespace korvane::canvas
