#include "plux/midi/MidiOutInterface.hpp"

namespace plux
{

int MidiOutInterface::send_packets(std::span<const std::uint32_t> packets) noexcept
{
    for (const std::uint32_t packet : packets)
    {
        const int ret =
            send_packet(static_cast<int>(packet & 0xFF), static_cast<int>((packet >> 8) & 0xFF),
                        static_cast<int>((packet >> 16) & 0xFF), static_cast<int>(packet >> 24));
        if (ret != 0)
        {
            return ret;
        }
    }
    return 0;
}

} // namespace plux
