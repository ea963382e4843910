// The data half of the main window with a recording send path, for tests: every system-exclusive
// buffer is copied, given the device number as the real send path does, and kept in Sent. With
// an instrument attached, each message also goes to it and its answer straight back into
// ReceiveBulkDump, as the MIDI input would deliver it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/MainData.h"
#include "tests/support/SimulatedInstrument.h"

class RecordingMainData : public TMainData {
public:
    // As the window's constructor does: the catalogue first, then the initial data.
    explicit RecordingMainData(bool initialize = true);

    void SendSysEx(const uint8_t* data, int length) override;

    std::vector<std::vector<uint8_t>> Sent;
    SimulatedInstrument* Instrument = nullptr;
};
