/** @file main.cpp The kvatool command: packs, lists and extracts data archives. */
#include <iostream>
#include <string>
#include <vector>

#include "tools/kvatool/Packer.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return kvatool::RunCommand(args, std::cout, std::cerr);
}
