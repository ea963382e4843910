// The descriptor tables of the Voice page: one row per slider pair and one per list or radio
// group that only stores and sends. Private to voice/.
#pragma once

#include "voice/VoicePage.h"

#include <cstring>
#include <span>

// Which record a row edits, and so which message address it takes.
enum class TVoiceRecordKind : uint8_t {
    Common,   // VoiceCommon of voice v: 40+v 00 AL
    Voiced,   // VoicedOperator t (voiced tabs only): 60+v t AL
    Unvoiced, // UnvoicedOperator t-8 (unvoiced tabs only): 60+v t-8 AL
    Operator, // the shared operator rows: voiced t with AL, or unvoiced t-8 with UAL
    OpAtt,    // VoicedOperator t's attenuation, sent in the common block: 40+v 00 AL+t
};

// How the data byte is built from the slider position p and, for a packed byte, the positions
// of the partner controls at that moment (never the record).
enum class TVoiceConv : uint8_t {
    Position,       // p
    Inverted99,     // 99 - p: envelope times, holds and operator EG levels
    Inverted100,    // 100 - p: filter and pitch EG levels
    FilterEGScale,  // attack-time velocity sensitivity x 8 + time scaling (6E)
    VoicedByte05,   // FSEQ track + skirt x 8 + frequency mode x 64
    VoicedByte00,   // transpose + 40 hex with key sync on
    WidthBias,      // voiced: form + width bias x 8 (04); unvoiced: width bias alone (28)
    FreqBias,       // voiced: pitch modulation + frequency bias x 8 (1F); unvoiced: alone (3A)
    PitchMod,       // pitch modulation + frequency bias x 8 (1F, voiced only)
    FreqVelMod,     // frequency velocity + frequency modulation x 16 (20 / 3B)
    AmpVelMod,      // amplitude velocity + amplitude modulation x 16 (21 / 3C)
    UnvoicedByte29, // skirt + resonance x 8
    Destination,    // a control set's parameter x 16 + operator (choices only)
};

// The graph a row redraws: the common envelopes after the box shows the value, the operator
// amplitude envelope likewise, the frequency envelope after the message has gone out.
enum class TVoiceGraph : uint8_t { None, FilterEG, PitchEG, OperatorEG, FrequencyEG };

// The group a row's controls stand in.
enum class TVoiceParent : uint8_t {
    LFO1, LFO2, Filter, FilterEG, PitchEG, Frmt1, Frmt2, Frmt3, Frmt4, Frmt5, Fm1, Fm2, Fm3, Fm4, Fm5,
    General, VoicedOsc, UnvoicedOsc, OperatorEG, FrequencyEG, Sensitivity, Modulation,
};

struct TVoicePairRow {
    TPairSpec PairSpec;
    TScrollBar* TVoicePage::*Bar;
    TEdit* TVoicePage::*Edit;
    const char* Handlers; // the handler names, as they are looked up
    TVoiceRecordKind Record;
    int Word;  // word of the common or voiced record
    int UWord; // word of the unvoiced record (Operator rows)
    uint8_t AL;
    uint8_t UAL;
    TVoiceConv Conv;
    TVoiceGraph Graph;
    TVoiceParent Parent;
    TPairPlace Place;
};

struct TVoiceChoiceRow {
    TComboBox* TVoicePage::*Combo; // one of the two
    TRadioGroup* TVoicePage::*Radio;
    const char* Handler;
    TVoiceRecordKind Record;
    int Word;
    uint8_t AL;
    TVoiceConv Conv;
    int Set; // Destination: the control set 0..9
};

std::span<const TVoicePairRow> VoicePairRows();
std::span<const TVoiceChoiceRow> VoiceChoiceRows();

// The int32 word w of a record (records are runs of int32 words; words past the record are
// never touched).
template <class Record> int32_t GetWord(const Record& r, int w)
{
    int32_t value = 0;
    if (w >= 0 && static_cast<size_t>(w + 1) * 4 <= sizeof(Record))
        std::memcpy(&value, reinterpret_cast<const uint8_t*>(&r) + 4 * w, 4);
    return value;
}
template <class Record> void SetWord(Record& r, int w, int32_t value)
{
    if (w >= 0 && static_cast<size_t>(w + 1) * 4 <= sizeof(Record))
        std::memcpy(reinterpret_cast<uint8_t*>(&r) + 4 * w, &value, 4);
}
