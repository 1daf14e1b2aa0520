/** @file RecordingConfDlg.cpp A dialog library for tests: keeps a copy of the block it was shown and
 * answers with a scripted result. */
#include <cstring>

#include "os/confdlg/ConfDlg.h"

namespace
{

ConfigDialogBlock gBlock;
ConfigDialogResult gResult = {0, 0, 0, 1, 1, 24, 1};
int gVersion = kConfDlgVersion;
int gShowAnswer = 1;
int gShowCalls = 0;
int gPreviousCalls = 0;

} // namespace

extern "C"
{

    __attribute__((visibility("default"))) int ConfDlgGetVersion()
    {
        return gVersion;
    }

    __attribute__((visibility("default"))) int ShowConfigDialog(ConfigDialogBlock* block, ConfigDialogResult* result)
    {
        ++gShowCalls;
        std::memcpy(&gBlock, block, sizeof gBlock);
        *result = gResult;
        return gShowAnswer;
    }

    __attribute__((visibility("default"))) int GetPreviousConfig(ConfigDialogBlock* block, ConfigDialogResult* result)
    {
        ++gPreviousCalls;
        std::memcpy(&gBlock, block, sizeof gBlock);
        *result = gResult;
        return 0;
    }

    /// Sets what the next calls answer: the result record, ShowConfigDialog's return value and the version.
    __attribute__((visibility("default"))) void RecordingConfDlgScript(const ConfigDialogResult* result, int showAnswer,
                                                                       int version)
    {
        gResult = *result;
        gShowAnswer = showAnswer;
        gVersion = version;
        gShowCalls = 0;
        gPreviousCalls = 0;
        std::memset(&gBlock, 0xCD, sizeof gBlock);
    }

    /// The block of the last call, and how often each entry point ran since the last script.
    __attribute__((visibility("default"))) const ConfigDialogBlock* RecordingConfDlgBlock(int* showCalls,
                                                                                          int* previousCalls)
    {
        *showCalls = gShowCalls;
        *previousCalls = gPreviousCalls;
        return &gBlock;
    }

} // extern "C"
