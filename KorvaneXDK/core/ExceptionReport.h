/** @file ExceptionReport.h Turning caught exceptions into log lines and error boxes. */
#pragma once

#include <exception>
#include <string>

#include "KorvaneXDK/core/Exception.h"

namespace korvane
{

/// Writes the four report lines under the log lock; shows nothing.
void LogEngineException(const EException& e);
/// Writes the four report lines, then shows the report in a modal error box.
void ShowEngineException(const EException& e, void* ownerWindow);
void ShowStdException(const std::exception& e, void* ownerWindow);
void ShowUnknownException(const std::string& detail, const std::string& exception, const std::string& where,
                          void* ownerWindow);

/// The report box text for the three parts (empty parts already replaced by "unknown").
std::string FormatExceptionReportText(const std::string& detail, const std::string& exception,
                                      const std::string& where);

} // namespace korvane
