#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

namespace plux
{

class RegSettings;

// The two per-user registry values of MIDI control: "NRPN Compatibility" below the product's key
// (0 selects the old erroneous NRPN number order) and "Autobind Mode" below the maker's key
// (1 keeps auto-bind armed after a binding). Reads and writes run on the user-interface thread
// or the thread that starts the plug-in; the values themselves are read from any thread, the
// audio thread included.
class MidiRegSettings
{
public:
    static constexpr int def_nrpn_compat = 1;
    static constexpr int def_autobind_mode = 1;

    // maker: the maker's key below "Software".
    explicit MidiRegSettings(std::string maker = "Tarvex");
    ~MidiRegSettings();
    MidiRegSettings(const MidiRegSettings&) = delete;
    MidiRegSettings& operator=(const MidiRegSettings&) = delete;

    // Sets the sub-path (maker/plugin name) and reads both values: a stored "0" or "1" is taken,
    // anything else leaves the default and writes it back. Registry failures leave the defaults.
    void init(const std::string& plugin_name);

    // Store 1 for any non-zero value, else 0. The value changes only when the registry took it:
    // 0, or -1 (also before init()).
    int set_nrpn_compat(int value);
    int set_autobind_mode(int value);

    int get_nrpn_compat() const noexcept { return nrpn_compat_.load(std::memory_order_relaxed); }
    int get_autobind_mode() const noexcept
    {
        return autobind_mode_.load(std::memory_order_relaxed);
    }
    // Empty before init().
    std::string get_sub_path() const;

private:
    const std::string maker_;
    mutable std::mutex mutex_;
    std::unique_ptr<RegSettings> reg_;
    std::atomic<int> nrpn_compat_{def_nrpn_compat};
    std::atomic<int> autobind_mode_{def_autobind_mode};
};

} // namespace plux
