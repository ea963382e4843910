// Re-silencing the editor's mutes after a bulk dump, and the note budget the four parts share.
#include "mainform/MainForm.h"
#include "performance/PerformancePage.h"

#include <algorithm>
#include <array>

namespace {

constexpr int GroupNotes = 16; // each filter group's share once any filter is on
constexpr int AllNotes = 32;   // what the parts share while no filter is on

// One filter group of BalanceNoteReserve: the reserves are cut to the group's even share, and
// when the cut notes cover the group's spare, the spare goes back to the cut parts in passes.
void BalanceGroup(std::array<int, 4>& r, const std::array<bool, 4>& inGroup, int groupSize)
{
    if (groupSize == 0) return;
    const int share = GroupNotes / groupSize;
    std::array<int, 4> excess{};
    int spare = GroupNotes % groupSize;
    int totalExcess = 0;
    for (std::size_t p = 0; p < 4; ++p) {
        if (!inGroup[p]) continue;
        if (r[p] > share) {
            excess[p] = r[p] - share;
            totalExcess += excess[p];
            r[p] = share;
        } else {
            spare += share - r[p];
        }
    }
    if (spare <= 0 || totalExcess < spare) return;
    while (spare > 0) {
        const int q = spare / groupSize;
        int given = 0;
        for (std::size_t p = 0; p < 4; ++p) {
            if (!inGroup[p] || excess[p] <= 0) continue;
            int notes;
            if (q >= excess[p])
                notes = excess[p];
            else if (groupSize > spare)
                notes = given < spare ? 1 : 0;
            else
                notes = q;
            r[p] += notes;
            excess[p] -= notes;
            given += notes;
        }
        if (given == 0) break; // cannot happen while the excess covers the spare; never spin
        spare -= given;
    }
}

} // namespace

// The mutes travel as the words they silence (SendWord): a muted part's volume and a muted
// operator's level and switch go as 0; with TMutes::Stored the same words go as stored, which
// lifts the mutes on the instrument.
void TMainForm::SendPartMuteVolumes(TMutes mutes)
{
    for (std::size_t p = 0; p < 4; ++p)
        if (PartMute[p]) SendWord(ParameterData.PfmParts[p].Volume, mutes);
}

void TMainForm::SendOperatorMutes(int p, TMutes mutes)
{
    if (p < 0 || p > 3) return;
    const auto v = static_cast<std::size_t>(p);
    VoiceRecord& voice = ParameterData.VoiceRecords[v];
    // Voiced then unvoiced: output levels of the muted operators, the switch mask of operators
    // 1..7 (always), and operator 8's own switch when it is muted.
    auto send = [this, mutes](const std::array<uint8_t, 8>& muted, auto& operators) {
        for (std::size_t op = 0; op < 8; ++op)
            if (muted[op]) SendWord(operators[op].OutputLvl, mutes);
        SendWord(operators[0].FseqSw, mutes);
        if (muted[7]) SendWord(operators[7].FseqSw, mutes);
    };
    send(OperatorMute.Voiced[v], voice.VoicedOperators);
    send(OperatorMute.Unvoiced[v], voice.UnvoicedOperators);
}

void TMainForm::SendMutesOnInstrument(TMutes mutes)
{
    SendPartMuteVolumes(mutes);
    for (int v = 0; v < 4; ++v) {
        const auto& voiced = OperatorMute.Voiced[std::size_t(v)];
        const auto& unvoiced = OperatorMute.Unvoiced[std::size_t(v)];
        const auto on = [](uint8_t m) { return m != 0; };
        if (std::any_of(voiced.begin(), voiced.end(), on) || std::any_of(unvoiced.begin(), unvoiced.end(), on))
            SendOperatorMutes(v, mutes);
    }
}

void TMainForm::BalanceNoteReserve()
{
    auto& parts = ParameterData.PfmParts;
    std::array<bool, 4> filterOn{};
    int onCount = 0;
    std::array<int, 4> r{};
    for (std::size_t p = 0; p < 4; ++p) {
        filterOn[p] = parts[p].FilterSw == 1;
        onCount += filterOn[p] ? 1 : 0;
        // A reserve from a file or a dump may lie outside the slider's range.
        r[p] = std::clamp(parts[p].ReserveNote, 0, GroupNotes);
    }
    // Only a filter switch turned on calls this; with none on there is nothing to share out.
    if (onCount == 0) return;
    std::array<bool, 4> filterOff{};
    for (std::size_t p = 0; p < 4; ++p) filterOff[p] = !filterOn[p];
    BalanceGroup(r, filterOn, onCount);
    BalanceGroup(r, filterOff, 4 - onCount);

    TUpdatingDisplay updating(*this);
    if (PerformancePage) {
        TScrollBar* bar = PerformancePage->Pfm_Part_ReserveNoteBar;
        bar->SetPosition(r[static_cast<std::size_t>(ShownPart())]);
        PerformancePage->Pfm_Part_ReserveNoteEdit->SetText(std::to_string(bar->Position()));
    }
    for (std::size_t p = 0; p < 4; ++p) {
        parts[p].ReserveNote = r[p];
        SendWord(parts[p].ReserveNote);
        // The instrument needs the pause between reserve changes.
        Application->Sleep(25);
    }
}

void TMainForm::UpdateNoteReserveLimits()
{
    auto& parts = ParameterData.PfmParts;
    const bool anyFilter =
        std::any_of(parts.begin(), parts.end(), [](const PfmPart& part) { return part.FilterSw == 1; });
    const int start = anyFilter ? GroupNotes : AllNotes;
    std::array<int, 4> r{};
    std::array<int, 4> limit{};
    for (std::size_t p = 0; p < 4; ++p) {
        r[p] = std::clamp(parts[p].ReserveNote, 0, start);
        limit[p] = start;
    }
    for (std::size_t p = 0; p < 4; ++p) {
        for (std::size_t q = 0; q < 4; ++q)
            if (q != p && (parts[q].FilterSw == 1) == (parts[p].FilterSw == 1)) limit[p] -= r[q];
        // The others may already hold more than the group has (data from a file or the
        // instrument): the part gets no notes, never a negative limit or reserve.
        limit[p] = std::max(limit[p], 0);
        r[p] = std::min(r[p], limit[p]);
    }
    for (std::size_t p = 0; p < 4; ++p) {
        parts[p].ReserveNote = r[p];
        parts[p].ReserveNoteMax = limit[p];
    }
    if (PerformancePage) PerformancePage->Pfm_Part_ReserveNoteBar->SetMax(limit[static_cast<std::size_t>(ShownPart())]);
}

void TMainForm::SetPartFilterSwitch(int part, int32_t on, bool reserveSliderSends)
{
    if (part < 0 || part > 3) return;
    const auto p = static_cast<std::size_t>(part);
    ParameterData.PfmParts[p].FilterSw = on;
    ParameterData.VoiceRecords[p].VoiceCommon.FilterSw = on;
    if (on == 1) BalanceNoteReserve();
    if (reserveSliderSends) {
        UpdateNoteReserveLimits();
    } else {
        TUpdatingDisplay updating(*this);
        UpdateNoteReserveLimits();
    }
    SendWord(ParameterData.PfmParts[p].FilterSw);
    MarkDataChanged();
}
