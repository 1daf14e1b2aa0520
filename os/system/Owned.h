/** @file Owned.h Sole ownership of a C library's object, freed by the library's own call. */
#pragma once

#include <memory>

namespace os::system
{

/// The deleter of Owned: calls `Free` on a non-null pointer.
template <auto Free>
struct FreeWith
{
    template <typename T>
    void operator()(T* object) const
    {
        Free(object);
    }
};

/// A pointer to a platform object (window, joystick, surface ...) that frees itself:
/// `Owned<SDL_Surface, SDL_FreeSurface>`.
template <typename T, auto Free>
using Owned = std::unique_ptr<T, FreeWith<Free>>;

} // namespace os::system
