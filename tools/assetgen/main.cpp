/** @file main.cpp assetgen: draws and synthesizes the program's pictures, sounds and music into a folder. */
#include <chrono>
#include <exception>
#include <iostream>
#include <string>

#include "tools/assetgen/Effects.h"
#include "tools/assetgen/Images.h"
#include "tools/assetgen/Music.h"
#include "tools/assetgen/OutputFolder.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: assetgen OUTPUT_FOLDER\n";
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        assetgen::OutputFolder out(argv[1]);
        assetgen::MakeImages(out);
        assetgen::MakeEffects(out);
        assetgen::MakeMusic(out);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cout << "assetgen: " << out.GetNames().size() << " files (" << out.GetTotalBytes() << " bytes) in "
                  << seconds << " s\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "assetgen: " << error.what() << '\n';
        return 1;
    }
}
