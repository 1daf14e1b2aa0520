/** @file StringUtilityRegressionTest.cpp Number parsing that must not follow the process's locale. */
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "KorvaneXDK/core/StringUtility.h"
#include "support/TempDir.h"

namespace korvane
{
namespace
{

/// A decimal-comma locale built for the test and selected for numbers; "C" again when done.
class DecimalCommaNumbers
{
public:
    DecimalCommaNumbers()
    {
        const std::string command = "localedef -i de_DE -f UTF-8 '" + dir_.File("de_DE.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) > 1) // 1: built with warnings
            return;
        setenv("LOCPATH", dir_.Path().c_str(), 1);
        active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr &&
                  std::string(std::localeconv()->decimal_point) == ",";
    }
    ~DecimalCommaNumbers()
    {
        std::setlocale(LC_NUMERIC, "C");
        unsetenv("LOCPATH");
    }
    DecimalCommaNumbers(const DecimalCommaNumbers&) = delete;
    DecimalCommaNumbers& operator=(const DecimalCommaNumbers&) = delete;

    bool IsActive() const { return active_; }

private:
    test::TempDir dir_;
    bool active_ = false;
};

TEST(StringUtilityRegressionTest, StringToFloatReadsADecimalPointInADecimalCommaLocale)
{
    DecimalCommaNumbers locale;
    if (!locale.IsActive())
        GTEST_SKIP() << "no decimal-comma locale can be built here";
    const struct
    {
        const char* text;
        float want;
    } rows[] = {{"0.5", 0.5f}, {" -2.25x", -2.25f}, {"1,5", 1.0f}, {"abc", 0.0f}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(StringToFloat(row.text), row.want);
    }
    // The process's own locale is left as it was.
    EXPECT_EQ(std::string(std::localeconv()->decimal_point), ",");
}

} // namespace
} // namespace korvane
