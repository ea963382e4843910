#include "performance/PerformancePage.h"

#include "core/Latin1.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int PartWordsAH = 0x30;
constexpr int RcvChPfm = 16, RcvChOff = 17;
constexpr int BankOff = 0, BankInternal = 1, BankCount = 13;

} // namespace

TPerformancePage::TPerformancePage(TComponent* owner, TMainData& data, TTabSheet* sheet,
                                   const std::filesystem::path& programFolder, TPerformanceServices services)
    : Services(std::move(services)), Pfm_TabSheet(sheet), FOwner(owner), Data(data), FProgramFolder(programFolder)
{
    FPairs.resize(PfmPairCount);
    CreateHeader();
    CreatePartPage();
    CreateFseqCtrlSystemPage();
    CreateEffectPage();
    BindHandlers();
}

TPerformancePage::~TPerformancePage()
{
    // The controls belong to the window; the page takes its own with it (children go with
    // their parents) so that no handler of a gone page stays bound.
    Pfm_TabSheet->OnShow = nullptr;
    for (auto it = FTopControls.rbegin(); it != FTopControls.rend(); ++it) delete *it;
    delete FTimerToFree;
}

void TPerformancePage::BindHandlers()
{
    auto partTab = [this](TObject* s) { Pfm_PartTabChange(s); };
    Pfm_TabSheet->OnShow = partTab;
    Pfm_Part_TabSheet->OnShow = partTab;
    Pfm_PartTab->OnChange = partTab;

    Pfm_Name->OnChange = [this](TObject* s) { Pfm_NameChange(s); };
    Pfm_Category->OnChange = [this](TObject* s) { Pfm_CategoryChange(s); };
    Pfm_Ch->OnChange = [this](TObject* s) { Pfm_ChChange(s); };
    Pfm_PanBar->OnChange = [this](TObject* s) { Pfm_PanBarChange(s); };
    Pfm_Pan->OnChange = [this](TObject* s) { Pfm_PanChange(s); };
    Pfm_PartMuteBtn[0]->OnClick = [this](TObject* s) { Pfm_PartMuteBtn1Click(s); };
    Pfm_PartMuteBtn[1]->OnClick = [this](TObject* s) { Pfm_PartMuteBtn2Click(s); };
    Pfm_PartMuteBtn[2]->OnClick = [this](TObject* s) { Pfm_PartMuteBtn3Click(s); };
    Pfm_PartMuteBtn[3]->OnClick = [this](TObject* s) { Pfm_PartMuteBtn4Click(s); };
    auto service = [this](TNotifyEvent TPerformanceServices::*event) {
        return [this, event](TObject* s) {
            if (Services.*event) (Services.*event)(s);
        };
    };
    Pfm_Data_Request_Btn->OnClick = service(&TPerformanceServices::ReceivePerformance);
    Pfm_Data_Send_Btn->OnClick = service(&TPerformanceServices::TransmitPerformance);
    Pfm_SystemRcvBtn->OnClick = service(&TPerformanceServices::ReceiveSystem);
    Pfm_SystemSendBtn->OnClick = service(&TPerformanceServices::TransmitSystem);

    Pfm_Part_BankNum->OnChange = [this](TObject* s) { Pfm_Part_BankNumChange(s); };
    Pfm_Part_PrgNum->OnChange = [this](TObject* s) { Pfm_Part_PrgNumChange(s); };
    Pfm_Part_RcvCh->OnChange = [this](TObject* s) { Pfm_Part_RcvChChange(s); };
    Pfm_Part_RcvChMax->OnChange = [this](TObject* s) { Pfm_Part_RcvChMaxChange(s); };

    // The reserve-note box: a number above a limit of 0 shows "0" (the slider cannot move).
    TValuePair* reserve = &Pair(PfmPair::Pfm_Part_ReserveNote);
    reserve->Edit->OnChange = [reserve](TObject*) {
        reserve->EditChange();
        if (reserve->Bar->Max() == 0 && ParseInteger(reserve->Edit->Text()) > 0) reserve->Edit->SetText("0");
    };
}

int TPerformancePage::CurrentPart() const { return std::clamp(Pfm_PartTab->TabIndex(), 0, 3); }

// ---- the pairs ---------------------------------------------------------------------------------

int32_t* TPerformancePage::PairWord(PfmPair id)
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    TParameterData& pd = Data.ParameterData;
    uint8_t* record = nullptr;
    switch (d.Record) {
    case PfmRecord::Common: record = reinterpret_cast<uint8_t*>(&pd.PfmCommon); break;
    case PfmRecord::Part: record = reinterpret_cast<uint8_t*>(&pd.PfmParts[static_cast<std::size_t>(CurrentPart())]); break;
    case PfmRecord::PartFixed: record = reinterpret_cast<uint8_t*>(&pd.PfmParts[static_cast<std::size_t>(d.Index)]); break;
    case PfmRecord::Fseq: record = reinterpret_cast<uint8_t*>(&pd.PfmFseq); break;
    case PfmRecord::ControlSet:
        record = reinterpret_cast<uint8_t*>(&pd.PfmControlSets[static_cast<std::size_t>(d.Index)]);
        break;
    case PfmRecord::System: record = reinterpret_cast<uint8_t*>(&pd.SystemBlock); break;
    case PfmRecord::EffectSlot: {
        const int block = Pfm_Effect_Tab->TabIndex() - 1;
        if (block < 0 || block > 2) return nullptr; // the part sends show: no block
        record = reinterpret_cast<uint8_t*>(&pd.PfmEffect.PfmEffectBlocks[static_cast<std::size_t>(block)]);
        break;
    }
    case PfmRecord::EQ: record = reinterpret_cast<uint8_t*>(&pd.PfmEffect.PfmEQ); break;
    }
    return reinterpret_cast<int32_t*>(record + d.Word);
}

const TEFXSetup& TPerformancePage::EffectSetup(int block) const
{
    const int32_t stored = Data.ParameterData.PfmEffect.PfmEffectBlocks[static_cast<std::size_t>(block)].EffectType;
    const int type = std::clamp(stored, 0, EffectTypeCount[static_cast<std::size_t>(block)] - 1);
    return Data.EffectTypeTable[static_cast<std::size_t>(type)][static_cast<std::size_t>(block)];
}

int TPerformancePage::EffectKind(int block, int row) const
{
    return std::clamp(EffectSetup(block).DisplayKind[static_cast<std::size_t>(row - 1)], 0, 58);
}

std::string TPerformancePage::PairText(PfmPair id, int position) const
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    const auto value = static_cast<std::size_t>(std::clamp(position, 0, 127));
    switch (d.Text) {
    case PfmText::Pair: break;
    case PfmText::FseqSpeed: return Tenths(position + 100);
    case PfmText::EqFrequency: return Data.EffectValueText[value][static_cast<std::size_t>(d.Index)];
    case PfmText::EqQ: return Tenths(position + 1);
    case PfmText::EffectValue: {
        const int block = Pfm_Effect_Tab->TabIndex() - 1;
        if (block < 0 || block > 2) break;
        const int kind = EffectKind(block, d.Index);
        if (kind == 26 || kind == 28) return Tenths(position + 1);
        return Data.EffectValueText[value][static_cast<std::size_t>(kind)];
    }
    }
    return FormatValue(d.PairSpec.Form, d.PairSpec.Centre, position);
}

ParameterChangeMessage TPerformancePage::PairMessage(PfmPair id, int position) const
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    int value = position + d.Offset;
    bool twoBytes = d.TwoByte;
    int part = 0;
    uint8_t al = d.AL;
    switch (d.Record) {
    case PfmRecord::Part: part = CurrentPart(); break;
    case PfmRecord::PartFixed: part = d.Index; break;
    case PfmRecord::ControlSet: al = static_cast<uint8_t>(al + d.Index); break;
    case PfmRecord::EQ:
        if (d.Text == PfmText::EqFrequency) value = position + Data.EffectValueOffset[static_cast<std::size_t>(d.Index)];
        break;
    case PfmRecord::EffectSlot: {
        // Address, display kind and offset come from the block's stored type.
        const int block = std::clamp(Pfm_Effect_Tab->TabIndex() - 1, 0, 2);
        const TEFXSetup& setup = EffectSetup(block);
        const auto slot = static_cast<std::size_t>(d.Index - 1);
        const int kind = EffectKind(block, d.Index);
        ParameterChangeMessage entry = EffectParameterTemplate;
        entry[5] = setup.AddrMid[slot];
        entry[6] = setup.AddrLow[slot];
        if (kind == 26 || kind == 28) return ComposeParameterChange(entry, 0, 0, position + 1, true);
        // The release time of the gate and compressor types travels bare in row 2.
        const int offset = d.Index == 2 && kind == 12 ? 0 : Data.EffectValueOffset[static_cast<std::size_t>(kind)];
        return ComposeParameterChange(entry, 0, 0, position + offset);
    }
    default: break;
    }
    return ComposeParameterChange(ParameterChangeTemplate(d.AH, d.AM, al), part, 0, value, twoBytes);
}

void TPerformancePage::PairBarChange(PfmPair id)
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    int32_t* word = PairWord(id);
    if (!word) return;
    TStoringRoad road;
    road.Store = [word](int position) { *word = position; };
    if (d.Text != PfmText::Pair) road.Show = [this, id] { Pair(id).Edit->SetText(PairText(id, Pair(id).Bar->Position())); };
    if (TLabel* label = RouteLabel(id)) road.AfterShow = [this, id, label] { label->SetCaption(IntToStr(Pair(id).Bar->Position())); };
    road.Compose = [this, id](int position) { return PairMessage(id, position); };
    if (d.Record == PfmRecord::EffectSlot) road.AfterSend = [this, id] { KeepTrailingLevel(id); };
    RunStoringRoad(Data, Pair(id), road);
}

TLabel* TPerformancePage::RouteLabel(PfmPair id) const
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    const auto p = static_cast<std::size_t>(std::clamp<int>(d.Index, 0, 3));
    switch (d.Route) {
    case PfmRoute::None: return nullptr;
    case PfmRoute::ReverbReturn: return Pfm_Effect_ImageRevRtn;
    case PfmRoute::VariationReturn: return Pfm_Effect_ImageVarRtn;
    case PfmRoute::DryLevel: return Pfm_Effect_ImageDryLvl[p];
    case PfmRoute::ReverbSend: return Pfm_Effect_ImageRevSend[p];
    case PfmRoute::VariationSend: return Pfm_Effect_ImageVarSend[p];
    }
    return nullptr;
}

// The trailing slots (pan, sends, dry level) of a block keep their last values across effect
// types; the routing labels show those of the variation and insertion blocks.
void TPerformancePage::KeepTrailingLevel(PfmPair id)
{
    const int block = Pfm_Effect_Tab->TabIndex() - 1;
    if (block < 0 || block > 2) return;
    const int n = PfmPairOf(id).Index;
    const int v = Pair(id).Bar->Position();
    const int count = EffectSetup(block).ParamCount;
    auto& kept = Data.EffectKeptLevels;
    const bool labels = n > 1; // row 1 is never a labelled trailing slot
    auto keep = [&](int slot, std::size_t entry, TLabel* label) {
        if (n == slot) kept[entry] = v;
        if (label && labels) label->SetCaption(IntToStr(kept[entry]));
    };
    if (block == 0) {
        keep(count, 0, nullptr);
    } else if (block == 1) {
        keep(count, 1, Pfm_Effect_ImageVarSendtoRev);
        keep(count - 1, 2, nullptr);
    } else {
        keep(count, 3, Pfm_Effect_ImageInsDryLvl);
        keep(count - 1, 4, Pfm_Effect_ImageInsSendtoVar);
        keep(count - 2, 5, Pfm_Effect_ImageInsSendtoRev);
        keep(count - 3, 6, nullptr);
    }
}

// ---- refresh and the part tab ------------------------------------------------------------------

void TPerformancePage::RefreshPerformancePages()
{
    TUpdatingDisplay run(Data);
    DisplayPerformanceCommon();
    if (Services.DisplayPerformanceFseqCtrlSystem) Services.DisplayPerformanceFseqCtrlSystem();
    DisplayPerformancePart(Pfm_PartTab->TabIndex());
}

void TPerformancePage::Pfm_PartTabChange(TObject*)
{
    if (Services.ShowOperatorMenuItems) Services.ShowOperatorMenuItems(false);
    TUpdatingDisplay run(Data);
    DisplayPerformancePart(Pfm_PartTab->TabIndex());
}

// ---- header ------------------------------------------------------------------------------------

void TPerformancePage::DisplayPerformanceCommon()
{
    const PfmCommon& c = Data.ParameterData.PfmCommon;
    Pfm_Name->SetText(FromLatin1(c.Name.data(), c.Name.size()));
    Pfm_Category->SetItemIndex(c.Category);
    Pfm_Ch->SetItemIndex(c.ControlChannel);
    for (std::size_t k = 0; k < 4; ++k) Pfm_PartMuteBtn[k]->SetDown(Data.PartMute[k] != 0);
    Pair(PfmPair::Pfm_Volume).Load(c.Volume);
    Pfm_PanBar->SetPosition(c.Pan);
    Pfm_Pan->SetItemIndex(c.Pan - 1);
    Pair(PfmPair::Pfm_ReverbRtn).Load(c.ReverbReturn);
    Pair(PfmPair::Pfm_VariationRtn).Load(c.VariationReturn);
    Pair(PfmPair::Pfm_Noteshift).Load(c.NoteShift);
}

void TPerformancePage::Pfm_NameChange(TObject*)
{
    if (Data.UpdatingDisplay) return;
    // Up to 12 bytes and the NUL after them (in the spare word for a full name); the bytes
    // after the NUL keep what they held. A character with no 8-bit form is a blank, as the
    // instrument gets it.
    std::string bytes = ToLatin1(Pfm_Name->Text(), ' ');
    if (bytes.size() > 12) bytes.resize(12);
    PfmCommon& c = Data.ParameterData.PfmCommon;
    std::memcpy(c.Name.data(), bytes.data(), bytes.size());
    if (bytes.size() < c.Name.size())
        c.Name[bytes.size()] = 0;
    else
        c.NameSpare[0] = 0;
    Data.SendPerformanceName();
    Data.MarkDataChanged();
}

void TPerformancePage::Pfm_CategoryChange(TObject*)
{
    if (Data.UpdatingDisplay) return;
    const int i = Pfm_Category->ItemIndex();
    if (i < 0) return;
    Data.ParameterData.PfmCommon.Category = i;
    Data.SendParameterChange(ParameterChangeTemplate(0x10, 0x00, 0x0E), 0, 0, i);
    Data.MarkDataChanged();
}

void TPerformancePage::Pfm_ChChange(TObject*)
{
    if (Data.UpdatingDisplay) return;
    const int i = Pfm_Ch->ItemIndex();
    if (i < 0) return;
    Data.ParameterData.PfmCommon.ControlChannel = i;
    Data.SendParameterChange(ParameterChangeTemplate(0x00, 0x00, 0x09), 0, 0, i == 17 ? 0x7F : i);
    Data.MarkDataChanged();
}

void TPerformancePage::Pfm_PanBarChange(TObject*)
{
    if (Data.UpdatingDisplay) return;
    const int position = Pfm_PanBar->Position();
    Data.ParameterData.PfmCommon.Pan = position;
    Pfm_Pan->SetItemIndex(position - 1);
    const ParameterChangeMessage m = ComposeParameterChange(ParameterChangeTemplate(0x10, 0x00, 0x11), 0, 0, position);
    if (!Pfm_Pan->Focused()) Pfm_Pan->SetFocus();
    Data.SendSysEx(m.data(), static_cast<int>(m.size()));
    Data.MarkDataChanged();
}

void TPerformancePage::Pfm_PanChange(TObject*)
{
    if (Data.UpdatingDisplay) return;
    if (Pfm_Pan->ItemIndex() >= 0) Pfm_PanBar->SetPosition(Pfm_Pan->ItemIndex() + 1);
}

// A mute silences the part on the instrument only: the stored volume stays, is what an unmute
// sends, and the data are not marked changed.
void TPerformancePage::PartMuteClick(int p)
{
    const auto sp = static_cast<std::size_t>(p);
    const bool muted = Pfm_PartMuteBtn[sp]->Down();
    Data.PartMute[sp] = muted ? 1 : 0;
    const int volume = Data.ParameterData.PfmParts[sp].Volume;
    if (Pfm_PartTab->TabIndex() == p) {
        TValuePair& row = Pair(PfmPair::Pfm_Part_Volume);
        {
            TUpdatingDisplay run(Data);
            row.Bar->SetPosition(muted ? 0 : volume);
            row.Edit->SetText(muted ? "0" : IntToStr(volume));
        }
        row.SetEnabled(!muted);
    }
    SendPart(0x0B, p, muted ? 0 : volume);
}

void TPerformancePage::SendPart(uint8_t al, int p, int value)
{
    Data.SendParameterChange(ParameterChangeTemplate(PartWordsAH, 0x00, al), p, 0, value);
}

// ---- part page -----------------------------------------------------------------------------------

void TPerformancePage::FillProgramList(int bank)
{
    std::vector<std::string> names;
    if (bank >= BankInternal && bank < BankCount) {
        const int column = bank == BankInternal ? (Data.ParameterData.SystemBlock.MemoryMode == 1 ? 12 : 11) : bank - 2;
        names.reserve(128);
        for (const auto& row : Data.VoiceNameTable) names.push_back(row[static_cast<std::size_t>(column)]);
    }
    Pfm_Part_PrgNum->Items.Clear();
    Pfm_Part_PrgNum->Items.AddStrings(names);
}

void TPerformancePage::DisplayPerformancePart(int p)
{
    using P = PfmPair;
    if (p < 0 || p > 3) return;
    const auto sp = static_cast<std::size_t>(p);
    const PfmPart& part = Data.ParameterData.PfmParts[sp];
    auto load = [this](P id, int32_t word) { Pair(id).Load(word); };

    // 1. The enables the steps below may take away.
    Pfm_Part_PrgNum->SetEnabled(true);
    for (TControl* c : {static_cast<TControl*>(Pfm_Part_RcvChMaxText), static_cast<TControl*>(Pfm_Part_RcvChMax)}) {
        c->SetVisible(true);
        c->SetEnabled(true);
    }
    for (P id : {P::Pfm_Part_Volume, P::Pfm_Part_DryLevel, P::Pfm_Part_ReverbSend, P::Pfm_Part_VariationSend})
        SetPairEnabled(id, true);

    // 2. Voice: a bank outside the list shows none and no programs.
    Pfm_Part_BankNum->SetItemIndex(part.BankNum);
    const int bank = Pfm_Part_BankNum->ItemIndex();
    FillProgramList(bank);
    if (bank <= BankOff) Pfm_Part_PrgNum->SetEnabled(false);
    Pfm_Part_PrgNum->SetItemIndex(part.PrgNum);

    // 3. Receive channels: parts 3 and 4 have no range.
    Pfm_Part_RcvCh->SetItemIndex(part.RcvCh);
    Pfm_Part_RcvChMax->SetItemIndex(part.RcvChMax);
    if (p >= 2) {
        Pfm_Part_RcvChMaxText->SetVisible(false);
        Pfm_Part_RcvChMax->SetVisible(false);
    } else if (part.RcvCh > 15) {
        Pfm_Part_RcvChMaxText->SetEnabled(false);
        Pfm_Part_RcvChMax->SetEnabled(false);
    }

    // 4. Volume, 0 and disabled while the part is muted.
    if (Data.PartMute[sp]) {
        TValuePair& row = Pair(P::Pfm_Part_Volume);
        row.Bar->SetPosition(0);
        row.Edit->SetText("0");
        row.SetEnabled(false);
    } else {
        load(P::Pfm_Part_Volume, part.Volume);
    }

    // 5. Insertion switch and the levels it takes over.
    Pfm_Part_InsEffectSw->SetItemIndex(part.InsEffectSw);
    load(P::Pfm_Part_DryLevel, part.DryLevel);
    load(P::Pfm_Part_ReverbSend, part.ReverbSend);
    load(P::Pfm_Part_VariationSend, part.VariationSend);
    if (Pfm_Part_InsEffectSw->ItemIndex() == 1)
        for (P id : {P::Pfm_Part_DryLevel, P::Pfm_Part_ReverbSend, P::Pfm_Part_VariationSend}) SetPairEnabled(id, false);

    // 6. Tone and LFO1.
    load(P::Pfm_Part_Formant, part.Formant);
    load(P::Pfm_Part_Fm, part.Fm);
    load(P::Pfm_Part_VNBalance, part.VNBalance);
    load(P::Pfm_Part_LFO1Speed, part.LFO1Speed);
    load(P::Pfm_Part_LFO1Pmod, part.LFO1Pmod);
    load(P::Pfm_Part_LFO1Delay, part.LFO1Delay);

    // 7. Filter switch and the rows it enables.
    const P filterRows[] = {P::Pfm_Part_FilterFreq, P::Pfm_Part_FilterReso, P::Pfm_Part_FilterEGDepth,
                            P::Pfm_Part_LFO2Speed, P::Pfm_Part_LFO2FltMod};
    for (P id : filterRows) SetPairEnabled(id, true);
    Pfm_Part_FilterSw->SetItemIndex(part.FilterSw);
    load(P::Pfm_Part_FilterFreq, part.FilterFreq);
    load(P::Pfm_Part_FilterReso, part.FilterReso);
    load(P::Pfm_Part_FilterEGDepth, part.FilterEGDepth);
    load(P::Pfm_Part_LFO2Speed, part.LFO2Speed);
    load(P::Pfm_Part_LFO2FltMod, part.LFO2FltMod);
    if (Pfm_Part_FilterSw->ItemIndex() == 0)
        for (P id : filterRows) SetPairEnabled(id, false);

    // 8. Envelopes.
    load(P::Pfm_Part_EGAtkTime, part.EGAtkTime);
    load(P::Pfm_Part_EGDecayTime, part.EGDecayTime);
    load(P::Pfm_Part_EGReleaseTime, part.EGReleaseTime);
    load(P::Pfm_Part_PEGInitLvl, part.PEGInitLvl);
    load(P::Pfm_Part_PEGAtkTime, part.PEGAtkTime);
    load(P::Pfm_Part_PEGRelLvl, part.PEGRelLvl);
    load(P::Pfm_Part_PEGRelTime, part.PEGRelTime);

    // 9. Pitch and portamento.
    Pfm_Part_PortaMode->SetEnabled(true);
    SetPairEnabled(P::Pfm_Part_PortaTime, true);
    load(P::Pfm_Part_Detune, part.Detune);
    load(P::Pfm_Part_NoteShift, part.NoteShift);
    load(P::Pfm_Part_PBRange, part.PBRange);
    load(P::Pfm_Part_PBRangeLo, part.PBRangeLo);
    Pfm_Part_PortaSw->SetItemIndex(part.PortaSw);
    Pfm_Part_PortaMode->SetItemIndex(part.PortaMode);
    load(P::Pfm_Part_PortaTime, part.PortaTime);
    if (Pfm_Part_PortaSw->ItemIndex() == 0) {
        Pfm_Part_PortaMode->SetEnabled(false);
        SetPairEnabled(P::Pfm_Part_PortaTime, false);
    }

    // 10. Play mode.
    Pfm_Part_MonoPriority->SetEnabled(true);
    Pfm_Part_MonoPoly->SetItemIndex(part.MonoPoly);
    Pfm_Part_MonoPriority->SetItemIndex(part.MonoPriority);
    Pfm_Part_SustainRcvSw->SetItemIndex(part.SustainRcvSw);
    if (Pfm_Part_MonoPoly->ItemIndex() == 1) Pfm_Part_MonoPriority->SetEnabled(false);

    // 11. Note reserve within the limit the budget gives this part now.
    if (Services.UpdateNoteReserveLimits) Services.UpdateNoteReserveLimits();
    Pfm_Part_ReserveNoteBar->SetMax(std::clamp(part.ReserveNoteMax, 0, 32));
    Pfm_Part_ReserveNoteBar->SetPosition(part.ReserveNote);
    Pfm_Part_ReserveNoteEdit->SetText(IntToStr(part.ReserveNote));

    // 12..15. Limits, velocity, pan.
    Pfm_Part_NoteLimitLow->SetItemIndex(part.NoteLimitLow);
    Pfm_Part_NoteLimitHigh->SetItemIndex(part.NoteLimitHigh);
    load(P::Pfm_Part_VelLimitLow, part.VelLimitLow);
    load(P::Pfm_Part_VelLimitHigh, part.VelLimitHigh);
    load(P::Pfm_Part_VelSensDepth, part.VelSensDepth);
    load(P::Pfm_Part_VelSensOffset, part.VelSensOffset);
    load(P::Pfm_Part_ExpLimitLo, part.ExpLimitLo);
    Pfm_Part_PanBar->SetPosition(part.Pan);
    Pfm_Part_Pan->SetItemIndex(part.Pan);
    load(P::Pfm_Part_PanScale, part.PanScale);
    load(P::Pfm_Part_PanMod, part.PanMod);
}

// ---- voice selection and receive channels ------------------------------------------------------

void TPerformancePage::Pfm_Part_BankNumChange(TObject* Sender)
{
    if (Data.UpdatingDisplay) return;
    const int bank = Pfm_Part_BankNum->ItemIndex();
    if (bank < 0) return;
    const int p = CurrentPart();
    PfmPart& part = Data.ParameterData.PfmParts[static_cast<std::size_t>(p)];
    part.BankNum = bank;
    SendPart(0x01, p, bank);
    FillProgramList(bank);
    if (bank == BankOff) {
        // No voice to play: no program to send and nothing to fetch.
        Pfm_Part_PrgNum->SetEnabled(false);
        Data.MarkDataChanged();
        return;
    }
    Pfm_Part_PrgNum->SetEnabled(true);
    Pfm_Part_PrgNum->SetItemIndex(std::clamp(part.PrgNum, 0, 127));
    Pfm_Part_PrgNumChange(Sender);
}

void TPerformancePage::Pfm_Part_PrgNumChange(TObject*)
{
    if (Data.UpdatingDisplay) return;
    const int program = Pfm_Part_PrgNum->ItemIndex();
    if (program < 0) return;
    const int p = CurrentPart();
    Data.ParameterData.PfmParts[static_cast<std::size_t>(p)].PrgNum = program;
    SendPart(0x02, p, program);
    if (Services.StartVoiceFetch) Services.StartVoiceFetch(p);
    Data.MarkDataChanged();
}

// Channels the other parts listen on: a part's range for parts 1 and 2 (wrapping past 16),
// one channel for parts 3 and 4 and for "pfm", none for "off".
int TPerformancePage::OccupiedChannels(int exceptPart) const
{
    int used = 0;
    for (int q = 0; q < 4; ++q) {
        if (q == exceptPart) continue;
        const PfmPart& part = Data.ParameterData.PfmParts[static_cast<std::size_t>(q)];
        const int c = part.RcvCh;
        if (c == RcvChPfm || (c >= 0 && c <= 15 && q >= 2)) {
            used += 1;
        } else if (c >= 0 && c <= 15) {
            const int m = std::clamp(part.RcvChMax, 0, 15);
            used += m >= c ? m - c + 1 : m - c + 17;
        }
    }
    return used;
}

void TPerformancePage::Pfm_Part_RcvChChange(TObject*)
{
    if (Data.UpdatingDisplay) return;
    int channel = Pfm_Part_RcvCh->ItemIndex();
    if (channel < 0) return;
    const int p = CurrentPart();
    PfmPart& part = Data.ParameterData.PfmParts[static_cast<std::size_t>(p)];
    part.RcvCh = channel;
    // No channel is left when the others already take all 16 (or more, from foreign data).
    if (channel != RcvChOff && OccupiedChannels(p) >= 16) {
        Pfm_Part_RcvCh->SetItemIndex(RcvChOff);
        part.RcvCh = channel = RcvChOff;
    }
    const bool hasRange = channel < RcvChPfm;
    Pfm_Part_RcvChMaxText->SetEnabled(hasRange);
    Pfm_Part_RcvChMax->SetEnabled(hasRange);
    if (hasRange) {
        // The range shrinks to this one channel; the maximum is not sent.
        Pfm_Part_RcvChMax->SetItemIndex(channel);
        part.RcvChMax = channel;
    }
    SendPart(0x04, p, channel == RcvChOff ? 0x7F : channel);
    Data.MarkDataChanged();
}

void TPerformancePage::Pfm_Part_RcvChMaxChange(TObject*)
{
    if (Data.UpdatingDisplay) return;
    const int chosen = Pfm_Part_RcvChMax->ItemIndex();
    if (chosen < 0) return;
    const int p = CurrentPart();
    PfmPart& part = Data.ParameterData.PfmParts[static_cast<std::size_t>(p)];
    part.RcvChMax = chosen;
    if (p < 2 && part.RcvCh >= 0 && part.RcvCh <= 15) {
        // Channels 1..16: a = the part's channel, x = the chosen maximum, free = what the others
        // leave. The range a..x may wrap past 16 back to 1 but must stay within `free` channels.
        const int a = part.RcvCh + 1, x = chosen + 1;
        const int free = 16 - OccupiedChannels(p);
        int corrected = x;
        if (free < 1)
            corrected = a; // nothing left: the part keeps its own channel alone
        else if (a + free - 1 > 16) {
            if (x < a && x > a + free - 17) corrected = a + free - 17;
        } else if (x > a + free - 1) {
            corrected = a + free - 1;
        } else if (x < a) {
            corrected = a;
        }
        if (corrected != x) {
            Pfm_Part_RcvChMax->SetItemIndex(corrected - 1);
            part.RcvChMax = corrected - 1;
        }
    }
    SendPart(0x03, p, Pfm_Part_RcvChMax->ItemIndex());
    Data.MarkDataChanged();
}
