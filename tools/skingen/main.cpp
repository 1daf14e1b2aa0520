/** @file main.cpp skingen: draws the skin's pictures into a folder and checks the skin definitions against them.
 *
 * Usage: skingen OUTPUT_FOLDER DEFINITION_FOLDER
 * The pictures go to OUTPUT_FOLDER/skin. The run fails (and so does the build) when a picture's
 * side is not a power of two or a definition names a picture that is not drawn here. */
#include <cstdio>
#include <exception>
#include <set>
#include <string>

#include "tools/assetgen/ImageFiles.h"
#include "tools/assetgen/OutputFolder.h"
#include "tools/assetgen/Raster.h"
#include "tools/skingen/DefinitionCheck.h"
#include "tools/skingen/SkinImages.h"

namespace
{

bool PowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: skingen OUTPUT_FOLDER DEFINITION_FOLDER\n");
        return 2;
    }
    try {
        assetgen::OutputFolder output(argv[1]);
        std::set<std::string> names;
        for (const skingen::SkinImage& image : skingen::SkinImages()) {
            if (!PowerOfTwo(image.width) || !PowerOfTwo(image.height)) {
                std::fprintf(stderr, "skingen: %s is %dx%d, not a power of two\n", image.name.c_str(), image.width,
                             image.height);
                return 1;
            }
            assetgen::Raster picture(image.width, image.height);
            image.draw(picture);
            output.Write("skin\\" + image.name, assetgen::EncodePng(picture, true));
            names.insert(image.name);
        }
        const auto problems = skingen::CheckDefinitions(argv[2], names);
        for (const std::string& problem : problems) {
            std::fprintf(stderr, "skingen: %s\n", problem.c_str());
        }
        return problems.empty() ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skingen: %s\n", error.what());
        return 1;
    }
}
