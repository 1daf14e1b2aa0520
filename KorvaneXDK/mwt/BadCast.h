/** @file BadCast.h The error an appearance raises for a control of a class it cannot draw. */
#pragma once

#include <typeinfo>

namespace korvane::mwt
{

/// A std::bad_cast whose what() is "bad cast" on every standard library.
class EBadCast : public std::bad_cast
{
public:
    const char* what() const noexcept override { return "bad cast"; }
};

} // namespace korvane::mwt
