/** @file KeepLibrariesLoaded.cpp Linked into the programs of AddressSanitizer builds only (the test programs and the
 * game the whole-program tests start): libraries loaded at run time stay loaded until the process ends.
 *
 * SDL and the GL stack load libraries of their own (Mesa's driver and LLVM, libudev for the controllers) and unload
 * them again when they shut down. LeakSanitizer checks at exit: what such a library set up once and kept in its
 * globals would show then as a leak from "<unknown module>", which no suppression can name, on some machines and not
 * on others. Kept loaded, that memory stays reachable, and whatever a library really leaks is reported under its
 * file name, which tests/lsan.supp can excuse. The program's own allocations stay checked as before. */

extern "C" int dlclose(void*)
{
    return 0;
}
