#pragma once
// The JACK server that scripts/test starts for the tests over real MIDI ports (with jackd's dummy
// driver), named in QM_JACK_SERVER.

#include <cstdlib>

// Points RtMidi and the program at that server; false when none runs.
inline bool UseTestJackServer()
{
    const char* server = std::getenv("QM_JACK_SERVER");
    if (!server || !*server)
        return false;
    setenv("JACK_DEFAULT_SERVER", server, 1);
    setenv("QUILLMARVEN_MIDI_API", "jack", 1);
    return true;
}

inline constexpr const char* NoTestJackServer =
    "QM_JACK_SERVER is not set: no JACK server runs for this test (scripts/test starts one with jackd's dummy "
    "driver where jackd is installed and can start)";
