// What an open editor costs a Linux host: Morvane built into this program, its editor opened in
// a real X11 window (an X server is needed: run under xvfb-run) and left alone while the host
// calls effEditIdle at 30 Hz, as hosts do. Reports the time effEditOpen takes with the first
// paint, and the process's CPU time (every thread of the plug-in's included) while idle, as a
// share of one core.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "plux/EffectFactoryInterface.hpp"
#include "plux/vst2/Vst2Entry.hpp"
#include "ravik/x11/X11Host.hpp"
#include "vst2host/Host.hpp"

namespace
{

vst2::AEffect* morvane_entry(vst2::HostCallback host)
{
    return plux::vst2_entry(host, plux::use_effect_factory());
}

double cpu_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

} // namespace

int main()
{
    using Clock = std::chrono::steady_clock;
    constexpr int nbr_opens = 10;
    constexpr auto idle_period = std::chrono::microseconds(33333);
    constexpr double idle_seconds = 6.0;

    vst2host::Host host;
    if (!host.load_entry(&morvane_entry) || !host.start(48000.0f, 256))
    {
        std::fprintf(stderr, "Morvane does not start\n");
        return 1;
    }
    const auto idle = [&] { host.dispatch(vst2::effEditIdle); };
    test::X11Host x11(idle, test::X11Host::Dispatch::idle);

    double open_ms = 0.0;
    double worst_ms = 0.0;
    for (int i = 0; i < nbr_opens; ++i)
    {
        const auto start = Clock::now();
        if (host.dispatch(vst2::effEditOpen, 0, 0, x11.get_parent()) != 1)
        {
            std::fprintf(stderr, "the editor does not open\n");
            return 1;
        }
        // The first idle paints what the server exposed.
        idle();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        open_ms += ms / nbr_opens;
        worst_ms = ms > worst_ms ? ms : worst_ms;
        if (i + 1 < nbr_opens)
        {
            host.dispatch(vst2::effEditClose);
        }
    }

    // Settles what the opening started (fades, the first exposures) before measuring.
    auto next = Clock::now();
    for (int i = 0; i < 30; ++i)
    {
        idle();
        std::this_thread::sleep_until(next += idle_period);
    }
    const double cpu_before = cpu_seconds();
    const auto wall_before = Clock::now();
    const int nbr_idles = static_cast<int>(idle_seconds / 0.0333333);
    for (int i = 0; i < nbr_idles; ++i)
    {
        idle();
        std::this_thread::sleep_until(next += idle_period);
    }
    const double wall = std::chrono::duration<double>(Clock::now() - wall_before).count();
    const double cpu = cpu_seconds() - cpu_before;
    host.dispatch(vst2::effEditClose);
    host.stop();

    std::printf("editor open with its first paint: %.2f ms on average, %.2f ms at worst (%d opens; "
                "target < 50 ms)\n",
                open_ms, worst_ms, nbr_opens);
    std::printf("idle open editor, effEditIdle at 30 Hz: %.3f %% of one core over %.1f s (target "
                "< 1 %%)\n",
                100.0 * cpu / wall, wall);
    return 0;
}
