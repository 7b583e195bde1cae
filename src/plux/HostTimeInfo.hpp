#pragma once

namespace plux
{

// What the DSP side asks of the host's transport.
struct HostTimeInfo
{
    double tempo = 0.0;      // beats per minute, when want_tempo is still set after the query
    bool failed = false;     // the host gave no time information
    bool want_tempo = false; // in: ask for the tempo; out: cleared when the host's tempo is invalid
};

} // namespace plux
