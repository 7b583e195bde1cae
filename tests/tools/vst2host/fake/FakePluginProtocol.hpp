// What the tests' stand-in plug-in offers beyond the interface: its identifiers, the
// effVendorSpecific requests through which tests make it call its host, and the faults it can be
// told to have.
#pragma once

#include "plux/vst2/Vst2Abi.hpp"

namespace fake_plugin
{

// Two plug-ins behind one library, as a shell lists them; the entry builds the one whose identifier
// the host gives as audioMasterCurrentId, the gain for any other.
constexpr vst2::VstInt32 gain_id = vst2::fourcc('F', 'k', 'G', 'n');
constexpr vst2::VstInt32 trim_id = vst2::fourcc('F', 'k', 'T', 'r');

// A host that answers 1 to this capability gets a record without the 'VstP' magic.
constexpr const char* bad_magic_capability = "fakeAnswerBadMagic";

// Read at the entry, for the programs that load the plug-in themselves: "no_effect" (the entry
// answers none), "nan" (the right output is NaN from its 4000th frame on), "crash" (the first
// block writes to a wild address).
constexpr const char* fault_variable = "FAKE_PLUGIN_FAULT";

// effVendorSpecific index: call the host with *static_cast<HostCall*>(ptr); value is a HostThread.
constexpr vst2::VstInt32 call_host = vst2::fourcc('c', 'a', 'l', 'l');
// effVendorSpecific index: fill *static_cast<Seen*>(ptr).
constexpr vst2::VstInt32 get_seen = vst2::fourcc('s', 'e', 'e', 'n');

enum HostThread : vst2::VstIntPtr
{
    same_thread = 0,
    joined_thread = 1,  // a thread of the plug-in's own, joined before effVendorSpecific returns
    running_thread = 2, // a thread of the plug-in's own, joined at effClose
};

struct HostCall
{
    vst2::VstInt32 opcode = 0;
    vst2::VstInt32 index = 0;
    vst2::VstIntPtr value = 0;
    void* ptr = nullptr;
    vst2::VstIntPtr answer = -1; // not written for a running thread
};

// The time information audioMasterGetTime answered at the last block.
struct Seen
{
    bool time_given = false; // a record at all
    vst2::VstInt32 time_flags = 0;
    double tempo = 0.0;
    double sample_pos = 0.0;
    double sample_rate = 0.0;
};

} // namespace fake_plugin
