/** @file fuzz_archive_raw.cpp The archive reader on raw bytes: header, enciphered table and entries. */
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = fuzz::ScratchFile("raw.kva");
    fuzz::WriteFile(path, data, size);
    fuzz::ReadArchive(path);
    return 0;
}
