/** @file ResultText.cpp The one table of result code names and descriptions. */
#include "os/system/ResultText.h"

namespace os::system
{

namespace
{

struct ResultText
{
    std::uint32_t code;
    const char* name;
    const char* description;
};

// Where several names share one value the generic one is listed, so every code has one entry.
constexpr ResultText kTexts[] = {
    {0x00000000u, "S_OK", "The operation completed successfully."},
    {0x00000001u, "S_FALSE", "The operation completed without effect."},
    {0x80004001u, "E_NOTIMPL", "The function is not implemented."},
    {0x80004002u, "E_NOINTERFACE", "The requested interface is not supported."},
    {0x80004005u, "E_FAIL", "An undetermined error occurred."},
    {0x80070002u, "DIERR_OBJECTNOTFOUND", "The requested object does not exist."},
    {0x80070005u, "E_ACCESSDENIED", "Access is denied."},
    {0x8007000Cu, "DIERR_NOTACQUIRED", "The operation cannot be performed unless the device is acquired."},
    {0x8007000Eu, "E_OUTOFMEMORY", "Not enough memory is available to complete the operation."},
    {0x8007001Eu, "DIERR_INPUTLOST", "Access to the input device has been lost; it must be re-acquired."},
    {0x80070057u, "E_INVALIDARG", "An invalid parameter was passed to the function."},
    {0x800700AAu, "DIERR_ACQUIRED", "The operation cannot be performed while the device is acquired."},
    {0x8007048Fu, "ERROR_DEVICE_NOT_CONNECTED", "The device is not connected."},
    {0x80040154u, "DIERR_DEVICENOTREG", "The device or device instance is not registered."},
    {0x80040209u, "DIERR_UNPLUGGED", "The device has been unplugged."},
    {0x88760818u, "D3DERR_WRONGTEXTUREFORMAT", "The pixel format of the texture surface is not valid."},
    {0x8876017Cu, "D3DERR_OUTOFVIDEOMEMORY", "Not enough display memory is available to perform the operation."},
    {0x88760866u, "D3DERR_NOTFOUND", "The requested item was not found."},
    {0x88760867u, "D3DERR_MOREDATA", "More data is available than the given buffer can hold."},
    {0x88760868u, "D3DERR_DEVICELOST", "The device has been lost but cannot be reset at this time."},
    {0x88760869u, "D3DERR_DEVICENOTRESET", "The device has been lost but can be reset at this time."},
    {0x8876086Au, "D3DERR_NOTAVAILABLE", "The queried technique or format is not supported."},
    {0x8876086Cu, "D3DERR_INVALIDCALL", "The method call is invalid, for example a parameter has an invalid value."},
    {0x88760B59u, "D3DXERR_INVALIDDATA", "The data is invalid."},
    {0x8878000Au, "DSERR_ALLOCATED", "The request failed because resources were already in use."},
    {0x8878001Eu, "DSERR_CONTROLUNAVAIL", "The buffer control requested is not available."},
    {0x88780032u, "DSERR_INVALIDCALL", "This function is not valid for the current state of this object."},
    {0x88780046u, "DSERR_PRIOLEVELNEEDED", "The caller does not have the priority level required."},
    {0x88780064u, "DSERR_BADFORMAT", "The wave format is not supported."},
    {0x88780078u, "DSERR_NODRIVER", "No sound driver is available for use."},
    {0x88780096u, "DSERR_BUFFERLOST", "The buffer memory has been lost and must be restored."},
};

const ResultText* Find(std::int32_t result)
{
    const auto code = static_cast<std::uint32_t>(result);
    for (const ResultText& text : kTexts)
        if (text.code == code)
            return &text;
    return nullptr;
}

} // namespace

const char* GetResultName(std::int32_t result)
{
    const ResultText* text = Find(result);
    return text != nullptr ? text->name : "Unknown";
}

const char* GetResultDescription(std::int32_t result)
{
    const ResultText* text = Find(result);
    return text != nullptr ? text->description : "n/a";
}

} // namespace os::system
