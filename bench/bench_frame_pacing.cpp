/** @file bench_frame_pacing.cpp Runs the real loop and frame-rate keeper at 75 frames a second for 10 s. */
#include <sys/resource.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <vector>

#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/GameApplication.h"
#include "os/system/System.h"
#include "os/window/MessageQueue.h"

namespace
{

constexpr int kFrameRate = 75;
constexpr double kSeconds = 10.0;

double ProcessCpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// Records when each frame pass ran and how long after the tick it was waiting for, and ends
// the loop after the measured span.
class FrameLog : public korvane::IFrameTimerListener
{
public:
    explicit FrameLog(std::int64_t firstDue) : due_(firstDue) {}

    void OnFrame(korvane::CFrameRateKeeper* keeper, int frames) override
    {
        const auto now = static_cast<std::int64_t>(os::system::MonotonicNanoseconds());
        times.push_back(now);
        counts.push_back(frames);
        // A pass more than one interval late is late by all of it, not by the remainder.
        lateness.push_back(static_cast<double>(now - due_) / 1e6);
        due_ = keeper->GetNextDue();
        if (!quitting && static_cast<double>(now - times.front()) >= kSeconds * 1e9) {
            quitting = true;
            os::window::PostQuitMessage(0);
        }
    }
    std::vector<std::int64_t> times;
    std::vector<int> counts;
    std::vector<double> lateness;
    bool quitting = false;

private:
    std::int64_t due_;
};

} // namespace

int main()
{
    korvane::CFrameRateKeeper keeper;
    keeper.SetFrameRate(kFrameRate);
    keeper.maxFrames = 2;
    FrameLog log(keeper.GetNextDue());
    log.times.reserve(2000);
    log.lateness.reserve(2000);
    keeper.frameListener = &log;
    korvane::CGameApplication application(nullptr);
    application.SetListener(&keeper);

    const double cpuBefore = ProcessCpuMilliseconds();
    const auto wallBefore = static_cast<std::int64_t>(os::system::MonotonicNanoseconds());
    application.Run();
    const auto wallAfter = static_cast<std::int64_t>(os::system::MonotonicNanoseconds());
    const double cpuAfter = ProcessCpuMilliseconds();

    const std::size_t n = log.times.size();
    std::vector<double> lateness = log.lateness;
    std::sort(lateness.begin(), lateness.end());
    const double p99 = lateness.empty() ? 0.0 : lateness[std::min(lateness.size() - 1, lateness.size() * 99 / 100)];
    const double p50 = lateness.empty() ? 0.0 : lateness[lateness.size() / 2];
    const double worst = lateness.empty() ? 0.0 : lateness.back();
    const double meanPeriod =
        n > 1 ? static_cast<double>(log.times.back() - log.times.front()) / 1e6 / static_cast<double>(n - 1) : 0.0;
    int multi = 0;
    for (int c : log.counts)
        multi += c > 1 ? 1 : 0;
    const double wallSeconds = static_cast<double>(wallAfter - wallBefore) / 1e9;

    std::printf("frames=%zu passes_counting_more_than_one=%d measured_rate=%.3f\n", n, multi, keeper.measuredFrameRate);
    std::printf("p50_lateness_ms=%.4f max_lateness_ms=%.4f\n", p50, worst);
    std::printf("mean_period_ms=%.4f\n", meanPeriod);
    std::printf("p99_lateness_ms=%.4f\n", p99);
    std::printf("cpu_ms_per_s=%.2f\n", (cpuAfter - cpuBefore) / wallSeconds);
    return 0;
}
