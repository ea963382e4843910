// The data half of the main window: the edit buffer and the state beside it, the initial data,
// the bulk dump builders and the receiver. The window class TMainForm derives from it, so every
// name here is a member of the main window; nothing here touches a control or a MIDI port.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/DumpLayout.h"
#include "core/FseqFile.h"
#include "core/ParameterData.h"
#include "core/SysExMessages.h"
#include "tables/NameTables.h"

// Operators muted on the instrument by their mute buttons, [part][operator]; 1 = muted.
struct TOperatorMute {
    std::array<std::array<uint8_t, 8>, 4> Voiced{};
    std::array<std::array<uint8_t, 8>, 4> Unvoiced{};
};

// SendBulkDump kinds.
inline constexpr int32_t DumpVoicePart1 = 0; // .. 3: the voice of part kind + 1
inline constexpr int32_t DumpPerformance = 4;
inline constexpr int32_t DumpPerformanceToMemory = 6;
inline constexpr int32_t DumpSystem = 7;
inline constexpr int32_t DumpVoiceToMemoryPart1 = 50; // .. 53

// The controller numbers the system assigns at first and by the Default button, as list indexes
// of KN1, KN2, KN3, KN4, MC1, MC2, MC3, MC4, FC, BC, Frm, FM: controllers 16..22, 13, 4, 2, 80, 81.
inline constexpr std::array<int32_t, 12> DefaultControllerAssign = {15, 16, 17, 18, 19, 20, 21, 12, 3, 1, 78, 79};

struct TMainData;

// True when the message is exactly the bulk dump a receive for `target` (ReceiveTarget) waits
// for; ReceiveBulkDump stores nothing else. It reads nothing but its arguments, so the MIDI
// input's thread may ask it.
bool IsAwaitedDump(int32_t target, const uint8_t* data, std::size_t length);

// Raises UpdatingDisplay for a display run and lowers it on every way out, exceptions included:
// a failed display must not leave every storing handler silenced.
class TUpdatingDisplay {
public:
    explicit TUpdatingDisplay(TMainData& data);
    ~TUpdatingDisplay();
    TUpdatingDisplay(const TUpdatingDisplay&) = delete;
    TUpdatingDisplay& operator=(const TUpdatingDisplay&) = delete;

private:
    TMainData& FData;
};

struct TMainData : TNameTables {
    TMainData();
    virtual ~TMainData() = default;
    TMainData(const TMainData&) = delete;
    TMainData& operator=(const TMainData&) = delete;

    // ---- State ----------------------------------------------------------------------------
    TParameterData ParameterData{};
    std::array<int32_t, 7> EffectKeptLevels{};
    std::array<uint8_t, 4> PartMute{};
    TOperatorMute OperatorMute{};
    std::array<FseqMemorySlot, 6> FseqIntInfo{};
    std::array<uint8_t, PerformanceDumpSize> PerformanceDumpBuffer{};
    std::array<uint8_t, VoiceDumpSize> VoiceDumpBuffer{};
    std::array<uint8_t, SystemDumpSize> SystemDumpBuffer{};

    int32_t ReceiveTarget = 0; // 0..3 voice of part 1..4, 4 performance, 9 system
    uint8_t DumpReceived = 0;
    // 1 while the pending request is an explicit receive (the receive commands and buttons,
    // receive-all): where the dump carries a muted word as the mute's 0, the instrument still
    // holds the muted block and the stored value is kept. 0 for the voice fetched after a
    // program change, a new voice: every word is taken as it comes.
    uint8_t ReceiveKeepsMutedValues = 1;
    // Muted words whose value a receive took from the instrument (it held another block, or a
    // new voice): the instrument sounds them now. SilenceMutedWordsTaken silences them again.
    std::vector<std::size_t> MutedWordsTaken;
    int32_t DeviceNumber = 0;
    uint8_t UpdatingDisplay = 0;
    uint8_t DataChanged = 0;
    std::string CaptionText = "Quillmarven";
    std::string CurrentFileName;
    // 1 from construction until the first receive-all that completes (start-up's, or the first
    // one after it failed): that receive-all leaves the data unchanged (unless they are a file's
    // by then: CurrentFileName is set), and the clearing of the formant-sequence memory list at
    // its end chooses no memory. Outside a receive-all the formant-sequence choices are edits
    // whatever it holds.
    uint8_t SilentReceiveAll = 1;
    uint8_t SaveAsCancelled = 0;
    // The instrument's system-exclusive receive switch as its last system dump carried it, and
    // on (1) until one arrives: every system dump carries it back, so that a dump never turns
    // off the instrument's ear for the editor. Not part of the edit buffer or the save file.
    uint8_t SysExReceiveSwitch = 1;

    // ---- Services the window provides -----------------------------------------------------
    // Sends one system-exclusive buffer; adds DeviceNumber to byte 2 of its own copy.
    virtual void SendSysEx(const uint8_t* data, int length) = 0;
    // Sets DataChanged and the caption text; the window also shows the caption.
    virtual void MarkDataChanged();

    // ---- Messages -------------------------------------------------------------------------
    // The one road of a parameter change: the message that carries a word of the edit buffer,
    // named by its place (a reference into ParameterData, or its byte offset there), with `value`
    // in the word's place when given. The address is the word's field in the dump layout (its
    // part, voice and operator from where the word lies), the data bytes are converted as the
    // dump converts them, and a byte the word shares with other words is built whole from them as
    // stored. The editor's mutes apply to the words (TMutes::Applied): a muted part's volume and a
    // muted operator's output level and formant-sequence switch travel as 0, while the edit buffer
    // keeps them; with TMutes::Stored every word travels as stored, as when the mutes are lifted.
    // Throws std::logic_error for a place no parameter change carries.
    enum class TMutes : uint8_t { Applied, Stored };
    ParameterChangeMessage WordMessage(std::size_t offset, std::optional<int32_t> value = std::nullopt,
                                       TMutes mutes = TMutes::Applied) const;
    void SendWordAt(std::size_t offset, std::optional<int32_t> value = std::nullopt, TMutes mutes = TMutes::Applied);
    void SendWord(const int32_t& word, TMutes mutes = TMutes::Applied) { SendWordAt(PlaceOf(&word), {}, mutes); }
    void SendWord(const int32_t& word, int32_t value) { SendWordAt(PlaceOf(&word), value); }
    void SendWord(const uint8_t& byte) { SendWordAt(PlaceOf(&byte)); } // a controller set's switch
    // The byte offset in ParameterData of a word that lies there.
    std::size_t PlaceOf(const void* word) const;
    // The words the editor's mutes hold silent on the instrument, as offsets in ParameterData:
    // each muted part's volume, each muted operator's output level and formant-sequence switch.
    std::vector<std::size_t> MutedWords() const;
    // One message per name position: 12 for the performance, 10 for the voice of part v.
    void SendPerformanceName();
    void SendVoiceName(int v);
    // A checked formant-sequence file sent to internal memory `memory` (0..5), or to the edit
    // buffer when there is none: addressed, with the device number of this editor.
    void SendFseqDump(std::vector<uint8_t> file, std::optional<int> memory);
    // Clears DumpReceived and names the block the next dump request asks for.
    void BeginReceive(int32_t target, bool keepMutedValues);
    // Sends the mute's 0 for every word of MutedWordsTaken, once per message, so that each mute
    // holds on the instrument again; un-muting then sends the value taken. Empties the list first.
    void SilenceMutedWordsTaken();

    // ---- Bulk dumps -----------------------------------------------------------------------
    void BuildPerformanceDump(int32_t kind, int32_t number);
    void BuildVoiceDump(int32_t kind, int32_t number);
    void BuildSystemDump();
    // Kinds 0..3 voice of part kind + 1, 4 performance, 6 performance into internal memory
    // `number`, 7 system, 50..53 voice of part kind - 49 into internal memory `number`;
    // any other kind (and a memory number outside 0..127) sends nothing.
    void SendBulkDump(int32_t kind, int32_t number);
    // Stores a received bulk dump of the block ReceiveTarget asks for and sets DumpReceived.
    // Anything else (another message, another block, a short or over-long message, a wrong
    // checksum, no F7) is ignored. The muted words of the block are kept or taken as
    // ReceiveKeepsMutedValues says; those taken with a value other than 0 go to MutedWordsTaken.
    void ReceiveBulkDump(const uint8_t* data, std::size_t length);

    // ---- Initial data ---------------------------------------------------------------------
    // The catalogue (InitNameTables) must be filled first: effect defaults and the first
    // formant-sequence preset come from it.
    void InitAll();
    void InitPerformance();
    void InitPerformanceCommon();
    void InitPerformancePart(int p);
    void InitFseqAndControlSets();
    // A preset formant sequence's settings (0..89), with speed velocity 0 and level velocity 64.
    FseqMemorySlot FseqPresetSettings(int preset) const;
    // Every internal formant-sequence memory as a free one: the first preset sequence's settings.
    void ForgetFseqMemories();
    void InitEffects();
    void InitSystem();
    void InitAllVoices();
    void InitVoice(int v);
    void InitVoiceCommon(int v);
    void InitVoicedOperators(int v, int op);
    void InitUnvoicedOperators(int v, int op);
};
