#include "tests/support/SimulatedInstrument.h"

#include <algorithm>

namespace {

uint8_t Checksum(const uint8_t* m, std::size_t n)
{
    unsigned sum = 0;
    for (std::size_t i = 4; i + 2 < n; ++i) sum += m[i];
    return static_cast<uint8_t>((0u - sum) & 0x7F);
}

// Performance positions whose parameter change carries two data bytes (DH at the position,
// DL at the next): formant-sequence speed and steps, controller source masks, and the wide
// effect fields.
bool PerformancePair(int pos)
{
    if (pos == 0x18 || pos == 0x1A || pos == 0x1C || pos == 0x1E) return true;
    if (pos % 2 != 0) return false;
    return (pos >= 0x30 && pos <= 0x3E) || (pos >= 0x50 && pos < 0x60) || (pos >= 0x68 && pos <= 0x7E) ||
           (pos >= 0x80 && pos <= 0xA6);
}

} // namespace

std::vector<uint8_t> SimulatedInstrument::Receive(const uint8_t* data, std::size_t length)
{
    std::vector<uint8_t> answers;
    std::size_t i = 0;
    while (i < length) {
        if (data[i] != 0xF0) {
            ++i; // channel messages and stray bytes are not ours to answer
            continue;
        }
        std::size_t end = i + 1;
        while (end < length && data[end] != 0xF7 && data[end] != 0xF0) ++end;
        if (end < length && data[end] == 0xF7)
            Take(data + i, end - i + 1, answers);
        else
            ++MessagesIgnored; // unterminated
        i = end < length && data[end] == 0xF7 ? end + 1 : end;
    }
    return answers;
}

void SimulatedInstrument::Take(const uint8_t* m, std::size_t n, std::vector<uint8_t>& answers)
{
    if (n < 8 || m[1] != 0x43 || m[3] != 0x5E || (m[2] & 0x0F) != DeviceNumber) {
        ++MessagesIgnored;
        return;
    }
    const int group = m[2] >> 4;
    if ((group == 0 || group == 1) && System[0x10] == 0) {
        ++MessagesIgnored;
    } else if (group == 1 && n == 10) {
        TakeParameterChange(m);
    } else if (group == 2 && n == 8) {
        std::vector<uint8_t> dump = BulkDumpOf(m[4], m[5], m[6]);
        if (dump.empty() || AnswerMode == Answer::Nothing) return;
        if (AnswerMode == Answer::Truncated) dump.resize(dump.size() / 2);
        if (AnswerMode == Answer::BadChecksum)
            dump[dump.size() - 2] = static_cast<uint8_t>((dump[dump.size() - 2] + 1) & 0x7F);
        answers.insert(answers.end(), dump.begin(), dump.end());
    } else if (group == 0) {
        TakeBulkDump(m, n);
    } else {
        ++MessagesIgnored;
    }
}

uint8_t* SimulatedInstrument::Locate(uint8_t ah, uint8_t am, uint8_t al, bool& twoBytes)
{
    twoBytes = false;
    if (ah == 0x00 && am == 0x00 && al < SystemBytes) return &System[al];
    if (ah == 0x10 && am <= 1 && (am == 0 || al < 0x40) && al < 0x80) {
        const int pos = 0x80 * am + al;
        twoBytes = PerformancePair(pos);
        return &Performance[static_cast<std::size_t>(pos)];
    }
    if (ah >= 0x30 && ah <= 0x33 && am == 0x00 && al < 0x34) return &Performance[0xC0u + 0x34u * (ah - 0x30u) + al];
    if (ah >= 0x40 && ah <= 0x43 && am == 0x00 && al < 0x70) return &Voices[ah - 0x40u][al];
    if (ah >= 0x60 && ah <= 0x63 && am < 8 && al < 0x3E) return &Voices[ah - 0x60u][0x70u + 0x3Eu * am + al];
    return nullptr;
}

void SimulatedInstrument::TakeParameterChange(const uint8_t* m)
{
    bool twoBytes = false;
    uint8_t* at = Locate(m[4], m[5], m[6], twoBytes);
    if (at == nullptr) {
        ++MessagesIgnored;
        return;
    }
    if (twoBytes) {
        at[0] = m[7];
        at[1] = m[8];
    } else {
        at[0] = m[8];
    }
    ++ParameterChangesTaken;
}

void SimulatedInstrument::TakeBulkDump(const uint8_t* m, std::size_t n)
{
    const std::size_t count = m[4] * 128u + m[5];
    if (n != count + 11 || m[n - 2] != Checksum(m, n)) {
        ++MessagesIgnored;
        return;
    }
    const uint8_t ah = m[6], am = m[7], al = m[8];
    const uint8_t* payload = m + 9;
    auto into = [&](uint8_t* target, std::size_t size) {
        if (count != size) return false;
        std::copy(payload, payload + size, target);
        return true;
    };
    bool taken = false;
    if (ah == 0x10 && am == 0 && al == 0) {
        taken = into(Performance.data(), PerformanceBytes);
    } else if (ah >= 0x40 && ah <= 0x43 && am == 0 && al == 0) {
        taken = into(Voices[ah - 0x40u].data(), VoiceBytes);
    } else if (ah == 0x00 && am == 0 && al == 0) {
        taken = into(System.data(), SystemBytes);
    } else if (ah == 0x11 && am == 0 && count == PerformanceBytes) {
        StoredPerformances[al].assign(payload, payload + count);
        taken = true;
    } else if (ah == 0x51 && am == 0 && count == VoiceBytes) {
        StoredVoices[al].assign(payload, payload + count);
        taken = true;
    }
    if (taken)
        ++BulkDumpsTaken;
    else
        ++MessagesIgnored;
}

std::vector<uint8_t> SimulatedInstrument::BulkDumpOf(uint8_t ah, uint8_t am, uint8_t al) const
{
    const uint8_t* payload = nullptr;
    std::size_t size = 0;
    if (ah == 0x10 && am == 0 && al == 0) {
        payload = Performance.data();
        size = PerformanceBytes;
    } else if (ah >= 0x40 && ah <= 0x43 && am == 0 && al == 0) {
        payload = Voices[ah - 0x40u].data();
        size = VoiceBytes;
    } else if (ah == 0x00 && am == 0 && al == 0) {
        payload = System.data();
        size = SystemBytes;
    } else {
        return {};
    }
    std::vector<uint8_t> dump{0xF0,
                              0x43,
                              static_cast<uint8_t>(DeviceNumber & 0x0F),
                              0x5E,
                              static_cast<uint8_t>(size >> 7),
                              static_cast<uint8_t>(size & 0x7F),
                              ah,
                              am,
                              al};
    dump.insert(dump.end(), payload, payload + size);
    dump.push_back(0);
    dump.push_back(0xF7);
    dump[dump.size() - 2] = Checksum(dump.data(), dump.size());
    return dump;
}
