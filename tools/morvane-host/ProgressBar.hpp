#pragma once

#include <ostream>
#include <string>

namespace morvane_host
{

// A one-line progress bar redrawn in place, "label [#####.....]  50%". Draws only when enabled
// (standard error is a terminal) and only when the shown percentage changes; finish() clears the
// line so that what follows starts on a clean one.
class ProgressBar
{
public:
    ProgressBar(std::ostream& out, bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void set_label(std::string text);
    // fraction from 0 to 1.
    void show(double fraction);
    void finish();

private:
    std::ostream& out;
    bool enabled;
    std::string label;
    int shown = -1;
};

} // namespace morvane_host
