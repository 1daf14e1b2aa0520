/** @file Object.h The three roots every engine class hangs under. */
#pragma once

namespace korvane
{

/// Common root of engine objects; lets any object name its own run-time class.
class CObject
{
public:
    virtual ~CObject() = default;
};

/// Root of classes that must not be copied.
class CNonCopyable : public virtual CObject
{
public:
    CNonCopyable() = default;
    CNonCopyable(const CNonCopyable&) = delete;
    CNonCopyable& operator=(const CNonCopyable&) = delete;
};

/// Root of every interface: a virtual destructor only.
class IInterface
{
public:
    virtual ~IInterface() = default;
};

} // namespace korvane
