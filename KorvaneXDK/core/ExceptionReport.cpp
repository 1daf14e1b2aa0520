/** @file ExceptionReport.cpp Turning caught exceptions into log lines and error boxes. */
#include "KorvaneXDK/core/ExceptionReport.h"

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/core/TypeName.h"
#include "os/system/System.h"

namespace korvane
{

namespace
{

std::string OrUnknown(const std::string& text)
{
    return text.empty() ? std::string("unknown") : text;
}

// The caller holds the log lock, so the four lines stay together.
void WriteReportLines(const std::string& detail, const std::string& exception, const std::string& where)
{
    LogRawF("ERROR: Exception occurred.");
    LogRawF("  Detail: %s", detail.c_str());
    LogRawF("  Exception: %s", exception.c_str());
    LogRawF("  Where: %s", where.c_str());
}

void Report(const std::string& rawDetail, const std::string& rawException, const std::string& rawWhere,
            void* ownerWindow)
{
    const std::string detail = OrUnknown(rawDetail);
    const std::string exception = OrUnknown(rawException);
    const std::string where = OrUnknown(rawWhere);
    {
        // Held for the lines only, never while the box is open.
        CScopedLock lock(GetLogLock());
        WriteReportLines(detail, exception, where);
    }
    const std::string caption = ReplaceExtension(GetFileName(GetModuleFilePath()), "");
    os::system::ShowErrorMessageBox(caption, FormatExceptionReportText(detail, exception, where), ownerWindow);
}

} // namespace

std::string FormatExceptionReportText(const std::string& detail, const std::string& exception, const std::string& where)
{
    return "Exception occurred.\n\n[Detail] " + detail + "\n\n[Exception] " + exception + "\n[Where] " + where;
}

void LogEngineException(const EException& e)
{
    CScopedLock lock(GetLogLock());
    WriteReportLines(OrUnknown(e.GetMessage()), OrUnknown(GetRuntimeClassName(e)), OrUnknown(e.GetWhere()));
}

void ShowEngineException(const EException& e, void* ownerWindow)
{
    Report(e.GetMessage(), GetRuntimeClassName(e), e.GetWhere(), ownerWindow);
}

void ShowStdException(const std::exception& e, void* ownerWindow)
{
    // A what() of null (a careless subclass) reads as an empty Detail, not as a new failure.
    const char* what = e.what();
    Report(what ? what : "", GetRuntimeClassName(e), std::string(), ownerWindow);
}

void ShowUnknownException(const std::string& detail, const std::string& exception, const std::string& where,
                          void* ownerWindow)
{
    Report(detail, exception, where, ownerWindow);
}

} // namespace korvane
