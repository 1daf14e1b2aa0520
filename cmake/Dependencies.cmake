# The outside libraries the engine, the program, the tools and the tests build against (Debian
# packages), looked up once for the main build and the fuzz build alike.
find_package(SDL2 REQUIRED CONFIG)
find_package(Boost 1.74 REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(Freetype REQUIRED)
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(EPOXY     REQUIRED IMPORTED_TARGET epoxy)
pkg_check_modules(CRYPTOPP  REQUIRED IMPORTED_TARGET libcrypto++)
pkg_check_modules(VORBIS    REQUIRED IMPORTED_TARGET vorbisfile vorbis ogg)
pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc)   # the tools' Ogg encoder
