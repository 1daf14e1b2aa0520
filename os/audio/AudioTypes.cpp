/** @file AudioTypes.cpp Result texts and the PCM format check. */
#include "os/audio/AudioTypes.h"

namespace os::audio {

namespace {

struct ResultText
{
    Result result;
    const char* name;
    const char* description;
};

constexpr ResultText kResultTexts[] = {
    {kOk, "DS_OK", "The request completed successfully."},
    {kErrGeneric, "E_FAIL", "An undetermined error occurred."},
    {kErrInvalidParam, "E_INVALIDARG", "An invalid parameter was passed to the returning function."},
    {kErrOutOfMemory, "E_OUTOFMEMORY", "Not enough memory was available to complete the request."},
    {kErrNoInterface, "E_NOINTERFACE", "The requested interface is not supported."},
    {kErrAllocated, "DSERR_ALLOCATED", "The request failed because resources were already in use."},
    {kErrControlUnavail, "DSERR_CONTROLUNAVAIL",
     "The buffer control (volume, pan, and so on) requested by the caller is not available."},
    {kErrInvalidCall, "DSERR_INVALIDCALL", "This function is not valid for the current state of this object."},
    {kErrPrioLevelNeeded, "DSERR_PRIOLEVELNEEDED",
     "The caller does not have the priority level required for the function to succeed."},
    {kErrBadFormat, "DSERR_BADFORMAT", "The specified wave format is not supported."},
    {kErrNoDriver, "DSERR_NODRIVER", "No sound driver is available for use."},
    {kErrBufferLost, "DSERR_BUFFERLOST", "The buffer memory has been lost and must be restored."},
};

const ResultText* Find(Result result)
{
    for (const ResultText& text : kResultTexts)
    {
        if (text.result == result)
            return &text;
    }
    return nullptr;
}

} // namespace

const char* GetResultName(Result result)
{
    const ResultText* text = Find(result);
    return text != nullptr ? text->name : "Unknown";
}

const char* GetResultDescription(Result result)
{
    const ResultText* text = Find(result);
    return text != nullptr ? text->description : "n/a";
}

bool IsValidPcmFormat(const WaveFormatEx& format)
{
    if (format.formatTag != kWaveFormatPcm)
        return false;
    if (format.channels < 1 || format.channels > 2)
        return false;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        return false;
    if (format.samplesPerSec < kFrequencyMin || format.samplesPerSec > kFrequencyMax)
        return false;
    const std::uint32_t blockAlign = format.channels * format.bitsPerSample / 8u;
    if (format.blockAlign != blockAlign)
        return false;
    return format.avgBytesPerSec == blockAlign * format.samplesPerSec;
}

} // namespace os::audio
