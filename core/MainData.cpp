#include "core/MainData.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <utility>

TMainData::TMainData() = default;

void TMainData::MarkDataChanged()
{
    DataChanged = 1;
    CaptionText = "Quillmarven (Changed)";
}

// ---- Messages --------------------------------------------------------------------------------

std::size_t TMainData::PlaceOf(const void* word) const
{
    const auto* at = static_cast<const uint8_t*>(word);
    if (at < ParameterData.Bytes() || at >= ParameterData.Bytes() + sizeof(TParameterData))
        throw std::logic_error("a word outside the edit buffer");
    return static_cast<std::size_t>(at - ParameterData.Bytes());
}

std::vector<std::size_t> TMainData::MutedWords() const
{
    std::vector<std::size_t> words;
    for (int p = 0; p < 4; ++p)
        if (PartMute[std::size_t(p)]) words.push_back(PartAt(p) + AT(PfmPart, Volume));
    for (int v = 0; v < 4; ++v)
        for (int k = 0; k < 8; ++k) {
            const auto at = [&](std::size_t op, std::size_t level, std::size_t fseq) {
                words.push_back(VoiceAt(v) + op + level);
                words.push_back(VoiceAt(v) + op + fseq);
            };
            if (OperatorMute.Voiced[std::size_t(v)][std::size_t(k)])
                at(VoicedOffset(k), AT(VoicedOperator, OutputLvl), AT(VoicedOperator, FseqSw));
            if (OperatorMute.Unvoiced[std::size_t(v)][std::size_t(k)])
                at(UnvoicedOffset(k), AT(UnvoicedOperator, OutputLvl), AT(UnvoicedOperator, FseqSw));
        }
    return words;
}

ParameterChangeMessage TMainData::WordMessage(std::size_t offset, std::optional<int32_t> value, TMutes mutes) const
{
    if (offset + sizeof(int32_t) > sizeof(TParameterData)) throw std::logic_error("a word outside the edit buffer");
    // The words as the instrument is to have them: the value in its place, the muted ones silent.
    auto words = std::make_unique<TParameterData>(ParameterData);
    uint8_t* bytes = words->Bytes();
    if (value) std::memcpy(bytes + offset, &*value, sizeof *value);
    if (mutes == TMutes::Applied)
        for (std::size_t muted : MutedWords()) std::memset(bytes + muted, 0, sizeof(int32_t));

    std::optional<TWordChange> change;
    int voice = 0;
    if (offset >= VoiceAt(0)) {
        voice = static_cast<int>((offset - VoiceAt(0)) / sizeof(VoiceRecord));
        change = VoiceWordChange(words->VoiceRecords[std::size_t(voice)], offset - VoiceAt(voice));
    } else {
        change = PerformanceWordChange(*words, offset);
    }
    if (!change) throw std::logic_error("no parameter change carries the word at " + std::to_string(offset));
    return {0xF0,
            0x43,
            0x10,
            0x5E,
            static_cast<uint8_t>(change->AH + voice),
            change->AM,
            change->AL,
            change->Data.DH,
            change->Data.DL,
            0xF7};
}

void TMainData::SendWordAt(std::size_t offset, std::optional<int32_t> value, TMutes mutes)
{
    const ParameterChangeMessage m = WordMessage(offset, value, mutes);
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

void TMainData::SendFseqDump(std::vector<uint8_t> file, std::optional<int> memory)
{
    AddressFseqDump(file, memory);
    file[2] = 0x00; // the send adds the device number
    SendSysEx(file.data(), static_cast<int>(file.size()));
}

void TMainData::BeginReceive(int32_t target, bool keepMutedValues)
{
    DumpReceived = 0;
    ReceiveTarget = target;
    ReceiveKeepsMutedValues = keepMutedValues ? 1 : 0;
    MutedWordsTaken.clear();
}

void TMainData::SilenceMutedWordsTaken()
{
    const std::vector<std::size_t> words = std::exchange(MutedWordsTaken, {});
    // Operators 1..7 share their switch byte: one message serves all of them.
    std::vector<ParameterChangeMessage> sent;
    for (std::size_t word : words) {
        const ParameterChangeMessage m = WordMessage(word);
        if (std::find(sent.begin(), sent.end(), m) != sent.end()) continue;
        sent.push_back(m);
        SendSysEx(m.data(), static_cast<int>(m.size()));
    }
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
    image[BulkDumpHeaderSize + SystemReceiveSwitchPosition] = SysExReceiveSwitch & 0x7F;
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
    if (!IsAwaitedDump(ReceiveTarget, data, length)) return;
    // The muted words this block carries: the parts' volumes, or one voice's operators.
    std::size_t from = 0, to = 0;
    if (ReceiveTarget == ReceivePerformance) {
        to = VoiceAt(0);
    } else if (ReceiveTarget >= 0 && ReceiveTarget <= 3) {
        from = VoiceAt(ReceiveTarget);
        to = from + sizeof(VoiceRecord);
    }
    std::vector<std::size_t> muted = MutedWords();
    std::erase_if(muted, [&](std::size_t word) { return word < from || word >= to; });
    std::vector<int32_t> kept(muted.size());
    for (std::size_t i = 0; i < muted.size(); ++i) std::memcpy(&kept[i], ParameterData.Bytes() + muted[i], 4);
    if (ReceiveTarget >= 0 && ReceiveTarget <= 3) {
        DecodeVoicePayload(ParameterData.VoiceRecords[static_cast<std::size_t>(ReceiveTarget)],
                           data + BulkDumpHeaderSize);
    } else if (ReceiveTarget == ReceivePerformance) {
        DecodePerformancePayload(ParameterData, *this, data + BulkDumpHeaderSize);
        KeepTrailingEffectLevels(ParameterData.PfmEffect, *this, EffectKeptLevels);
    } else {
        DecodeSystemPayload(ParameterData, data + BulkDumpHeaderSize);
        SysExReceiveSwitch = data[BulkDumpHeaderSize + SystemReceiveSwitchPosition];
    }
    // A muted word that comes as the mute's 0 is the editor's own silence: the stored value
    // stays. Any other value means the instrument holds another block than the one muted (or,
    // for a fetched voice, a new one): that value is taken, and the word silenced again.
    for (std::size_t i = 0; i < muted.size(); ++i) {
        int32_t received;
        std::memcpy(&received, ParameterData.Bytes() + muted[i], 4);
        if (ReceiveKeepsMutedValues && received == 0)
            std::memcpy(ParameterData.Bytes() + muted[i], &kept[i], 4);
        else if (received != 0)
            MutedWordsTaken.push_back(muted[i]);
    }
    DumpReceived = 1;
}

TUpdatingDisplay::TUpdatingDisplay(TMainData& data) : FData(data) { FData.UpdatingDisplay = 1; }
TUpdatingDisplay::~TUpdatingDisplay() { FData.UpdatingDisplay = 0; }
