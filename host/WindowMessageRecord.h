/** @file WindowMessageRecord.h A window message held for the next frame's toolkit pass. */
#pragma once

#include <cstdint>

/// What the window scene keeps of a message it queues: the toolkit only needs these three.
struct WindowMessageRecord
{
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::int32_t lParam = 0;
};
