#include "core/MainData.h"

TMainData::TMainData() = default;

void TMainData::MarkDataChanged()
{
    DataChanged = 1;
    CaptionText = "Quillmarven (Changed)";
}

// ---- Messages --------------------------------------------------------------------------------

bool TMainData::SendParameter(uint8_t ah, uint8_t am, uint8_t al)
{
    auto data = ParameterChangeData(ParameterData, *this, ah, am, al);
    if (!data) return false;
    // Mutes live only on the instrument: a muted part or operator keeps its word and sends
    // the muted value (volume or level 0, formant-sequence switch off).
    const auto v = static_cast<std::size_t>(ah & 0x03);
    const auto op = static_cast<std::size_t>(am & 0x07);
    if (ah >= 0x30 && ah <= 0x33 && al == 0x0B && PartMute[v]) data->DL = 0;
    if (ah >= 0x60 && ah <= 0x63) {
        if ((al == 0x16 && OperatorMute.Voiced[v][op]) || (al == 0x2E && OperatorMute.Unvoiced[v][op])) data->DL = 0;
    }
    if (ah >= 0x40 && ah <= 0x43 && al >= 0x28 && al <= 0x2B) {
        const auto& muted = al < 0x2A ? OperatorMute.Voiced[v] : OperatorMute.Unvoiced[v];
        if (al == 0x28 || al == 0x2A) {
            if (muted[7]) data->DL = 0;
        } else {
            for (std::size_t k = 0; k < 7; ++k)
                if (muted[k]) data->DL = static_cast<uint8_t>(data->DL & ~(1u << k));
        }
    }
    const ParameterChangeMessage m{0xF0, 0x43, 0x10, 0x5E, ah, am, al, data->DH, data->DL, 0xF7};
    SendSysEx(m.data(), static_cast<int>(m.size()));
    return true;
}

void TMainData::SendParameterChange(const ParameterChangeMessage& entry, int partOrVoice, int op, int32_t value,
                                    bool twoBytes)
{
    const ParameterChangeMessage m = ComposeParameterChange(entry, partOrVoice, op, value, twoBytes);
    SendSysEx(m.data(), static_cast<int>(m.size()));
}

void TMainData::SendPerformanceName()
{
    const auto& name = ParameterData.PfmCommon.Name;
    for (int i = 0; i < 12; ++i) {
        ParameterChangeMessage m = PerformanceNameCharacterTemplate;
        m[6] = static_cast<uint8_t>(i);
        m[8] = NameCharacter(name.data(), 12, i);
        SendSysEx(m.data(), static_cast<int>(m.size()));
    }
}

void TMainData::SendVoiceName(int v)
{
    if (v < 0 || v > 3) return;
    const auto& name = ParameterData.VoiceRecords[static_cast<std::size_t>(v)].VoiceCommon.Name;
    for (int i = 0; i < 10; ++i) {
        ParameterChangeMessage m = VoiceNameCharacterTemplate;
        m[4] = static_cast<uint8_t>(m[4] + v);
        m[6] = static_cast<uint8_t>(i);
        m[8] = NameCharacter(name.data(), 10, i);
        SendSysEx(m.data(), static_cast<int>(m.size()));
    }
}

void TMainData::BeginReceive(int32_t target, bool keepMutedValues)
{
    DumpReceived = 0;
    ReceiveTarget = target;
    ReceiveKeepsMutedValues = keepMutedValues ? 1 : 0;
}

// ---- Bulk dumps ------------------------------------------------------------------------------

void TMainData::BuildPerformanceDump(int32_t kind, int32_t number)
{
    uint8_t* image = PerformanceDumpBuffer.data();
    PerformanceDumpBuffer.fill(0);
    if (kind == DumpPerformanceToMemory)
        WriteBulkDumpFrame(image, PerformanceDumpSize, 0x11, 0x00, static_cast<uint8_t>(number & 0x7F));
    else
        WriteBulkDumpFrame(image, PerformanceDumpSize, 0x10, 0x00, 0x00);
    EncodePerformancePayload(ParameterData, *this, image + BulkDumpHeaderSize);
    SealBulkDump(image, PerformanceDumpSize);
}

void TMainData::BuildVoiceDump(int32_t kind, int32_t number)
{
    const bool toMemory = kind >= DumpVoiceToMemoryPart1;
    const int part = toMemory ? kind - DumpVoiceToMemoryPart1 : kind;
    if (part < 0 || part > 3) return;
    uint8_t* image = VoiceDumpBuffer.data();
    VoiceDumpBuffer.fill(0);
    if (toMemory)
        WriteBulkDumpFrame(image, VoiceDumpSize, 0x51, 0x00, static_cast<uint8_t>(number & 0x7F));
    else
        WriteBulkDumpFrame(image, VoiceDumpSize, static_cast<uint8_t>(0x40 + part), 0x00, 0x00);
    EncodeVoicePayload(ParameterData.VoiceRecords[static_cast<std::size_t>(part)], image + BulkDumpHeaderSize);
    SealBulkDump(image, VoiceDumpSize);
}

void TMainData::BuildSystemDump()
{
    uint8_t* image = SystemDumpBuffer.data();
    SystemDumpBuffer.fill(0);
    WriteBulkDumpFrame(image, SystemDumpSize, 0x00, 0x00, 0x00);
    EncodeSystemPayload(ParameterData, image + BulkDumpHeaderSize);
    SealBulkDump(image, SystemDumpSize);
}

void TMainData::SendBulkDump(int32_t kind, int32_t number)
{
    const bool toMemory =
        kind == DumpPerformanceToMemory || (kind >= DumpVoiceToMemoryPart1 && kind <= DumpVoiceToMemoryPart1 + 3);
    // A memory number travels as one data byte; anything above 7F would end the message.
    if (toMemory && (number < 0 || number > 0x7F)) return;
    if (kind == DumpPerformance || kind == DumpPerformanceToMemory) {
        BuildPerformanceDump(kind, number);
        SendSysEx(PerformanceDumpBuffer.data(), static_cast<int>(PerformanceDumpBuffer.size()));
    } else if (kind == DumpSystem) {
        BuildSystemDump();
        SendSysEx(SystemDumpBuffer.data(), static_cast<int>(SystemDumpBuffer.size()));
    } else if ((kind >= 0 && kind <= 3) || toMemory) {
        BuildVoiceDump(kind, number);
        SendSysEx(VoiceDumpBuffer.data(), static_cast<int>(VoiceDumpBuffer.size()));
    }
}

bool IsAwaitedDump(int32_t target, const uint8_t* data, std::size_t length)
{
    if (target >= 0 && target <= 3)
        return IsBulkDumpOf(data, length, VoicePayloadSize, static_cast<uint8_t>(0x40 + target), 0x00, 0x00);
    if (target == ReceivePerformance) return IsBulkDumpOf(data, length, PerformancePayloadSize, 0x10, 0x00, 0x00);
    if (target == ReceiveSystem) return IsBulkDumpOf(data, length, SystemPayloadSize, 0x00, 0x00, 0x00);
    return false;
}

void TMainData::ReceiveBulkDump(const uint8_t* data, std::size_t length)
{
    const bool keep = ReceiveKeepsMutedValues != 0;
    if (!IsAwaitedDump(ReceiveTarget, data, length)) return;
    if (ReceiveTarget >= 0 && ReceiveTarget <= 3) {
        const auto p = static_cast<std::size_t>(ReceiveTarget);
        VoiceRecord& voice = ParameterData.VoiceRecords[p];
        const VoiceRecord before = voice;
        DecodeVoicePayload(voice, data + BulkDumpHeaderSize);
        for (std::size_t k = 0; keep && k < 8; ++k) {
            if (OperatorMute.Voiced[p][k]) {
                voice.VoicedOperators[k].OutputLvl = before.VoicedOperators[k].OutputLvl;
                voice.VoicedOperators[k].FseqSw = before.VoicedOperators[k].FseqSw;
            }
            if (OperatorMute.Unvoiced[p][k]) {
                voice.UnvoicedOperators[k].OutputLvl = before.UnvoicedOperators[k].OutputLvl;
                voice.UnvoicedOperators[k].FseqSw = before.UnvoicedOperators[k].FseqSw;
            }
        }
    } else if (ReceiveTarget == ReceivePerformance) {
        std::array<int32_t, 4> volume{};
        for (std::size_t p = 0; p < 4; ++p) volume[p] = ParameterData.PfmParts[p].Volume;
        DecodePerformancePayload(ParameterData, *this, data + BulkDumpHeaderSize);
        KeepTrailingEffectLevels(ParameterData.PfmEffect, *this, EffectKeptLevels);
        for (std::size_t p = 0; keep && p < 4; ++p)
            if (PartMute[p]) ParameterData.PfmParts[p].Volume = volume[p];
    } else {
        DecodeSystemPayload(ParameterData, data + BulkDumpHeaderSize);
    }
    DumpReceived = 1;
}

TUpdatingDisplay::TUpdatingDisplay(TMainData& data) : FData(data) { FData.UpdatingDisplay = 1; }
TUpdatingDisplay::~TUpdatingDisplay() { FData.UpdatingDisplay = 0; }
