/** @file Exception.h The engine's exception family, rooted at EException. */
#pragma once

#include <string>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// Root of every engine failure. Not a std::exception: it carries a message and the
/// run-time class name of the object that threw ("where"), or an empty where.
class EException
{
public:
    EException(const CObject* sender, const std::string& message);
    virtual ~EException() = default;

    virtual std::string GetMessage() const { return message_; }
    virtual std::string GetWhere() const { return where_; }

private:
    std::string message_;
    std::string where_;
};

#define KORVANE_DECLARE_EXCEPTION(Name, Base)                                                                          \
    class Name : public Base                                                                                           \
    {                                                                                                                  \
    public:                                                                                                            \
        Name(const CObject* sender, const std::string& message) : Base(sender, message) {}                             \
    };

class EIOError : public EException
{
public:
    EIOError(const CObject* sender, const std::string& message) : EException(sender, message) {}
    explicit EIOError(const std::string& message) : EException(nullptr, message) {}
};

KORVANE_DECLARE_EXCEPTION(EFileOpenError, EIOError)
KORVANE_DECLARE_EXCEPTION(EReadError, EIOError)
KORVANE_DECLARE_EXCEPTION(EWriteError, EIOError)
KORVANE_DECLARE_EXCEPTION(EInvalidFileFormat, EIOError)
KORVANE_DECLARE_EXCEPTION(ENotImplemented, EException)
KORVANE_DECLARE_EXCEPTION(EInvalidParameter, EException)
KORVANE_DECLARE_EXCEPTION(EInvalidOperation, EException)

#undef KORVANE_DECLARE_EXCEPTION

} // namespace korvane
