#include "morvane-host/ProgressBar.hpp"

#include <algorithm>
#include <cmath>

namespace morvane_host
{

namespace
{

constexpr int bar_width = 30;

} // namespace

ProgressBar::ProgressBar(std::ostream& out, bool enabled)
    : out(out)
    , enabled(enabled)
{
}

ProgressBar::~ProgressBar()
{
    finish();
}

void ProgressBar::set_label(std::string text)
{
    label = std::move(text);
    shown = -1;
}

void ProgressBar::show(double fraction)
{
    if (!enabled)
        return;
    const int percent = static_cast<int>(std::floor(std::clamp(fraction, 0.0, 1.0) * 100.0));
    if (percent == shown)
        return;
    shown = percent;
    const int filled = percent * bar_width / 100;
    out << '\r' << label << " [" << std::string(static_cast<std::size_t>(filled), '#')
        << std::string(static_cast<std::size_t>(bar_width - filled), '.') << "] "
        << (percent < 10    ? "  "
            : percent < 100 ? " "
                            : "")
        << percent << '%' << std::flush;
}

void ProgressBar::finish()
{
    if (!enabled || shown < 0)
        return;
    const std::size_t width = label.size() + bar_width + 8;
    out << '\r' << std::string(width, ' ') << '\r' << std::flush;
    shown = -1;
}

} // namespace morvane_host
