#include "tests/support/RecordingMainData.h"

#include <utility>

RecordingMainData::RecordingMainData(bool initialize)
{
    if (!initialize) return;
    InitNameTables(*this);
    InitAll();
}

void RecordingMainData::SendSysEx(const uint8_t* data, int length)
{
    // As the real send path: a copy, with the device number added to byte 2.
    std::vector<uint8_t> copy(data, data + length);
    if (copy.size() > 2) copy[2] = static_cast<uint8_t>(copy[2] + DeviceNumber);
    Sent.push_back(std::move(copy));
    if (Instrument == nullptr) return;
    const std::vector<uint8_t> answer = Instrument->Receive(Sent.back());
    if (!answer.empty()) ReceiveBulkDump(answer.data(), answer.size());
}
