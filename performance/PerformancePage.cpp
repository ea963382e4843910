// The frame of the performance sheet, its header, the refresh and the storing road all the
// pairs share. The sheets' own handlers and displays live beside it: PerformancePartPage.cpp,
// PerformanceFseqPage.cpp, PerformanceEffectPage.cpp.
#include "performance/PerformancePage.h"

#include "core/Latin1.h"

#include <algorithm>
#include <cstring>

TPerformancePage::TPerformancePage(TComponent* owner, TMainData& data, TTabSheet* sheet,
                                   const std::filesystem::path& programFolder, TPerformanceServices services)
    : Services(std::move(services)), Pfm_TabSheet(sheet), FOwner(owner), FData(data), FProgramFolder(programFolder)
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
}

void TPerformancePage::BindHandlers()
{
    BindChoices();
    BindHeader();
    BindPartPage();
    BindFseqCtrlSystemPage();
    BindEffectPage();
}

TNotifyEvent TPerformancePage::ServiceHandler(TNotifyEvent TPerformanceServices::*service)
{
    return [this, service](TObject* s) {
        if (Services.*service) (Services.*service)(s);
    };
}

void TPerformancePage::BindHeader()
{
    auto partTab = [this](TObject* s) { Pfm_PartTabChange(s); };
    Pfm_TabSheet->OnShow = partTab;
    Pfm_Part_TabSheet->OnShow = partTab;
    Pfm_PartTab->OnChange = partTab;

    Pfm_Name->OnChange = [this](TObject* s) { Pfm_NameChange(s); };
    Pfm_PanBar->OnChange = [this](TObject* s) { Pfm_PanBarChange(s); };
    Pfm_Pan->OnChange = [this](TObject* s) { Pfm_PanChange(s); };
    Pfm_PartMuteBtn[0]->OnClick = [this](TObject* s) { Pfm_PartMuteBtn1Click(s); };
    Pfm_PartMuteBtn[1]->OnClick = [this](TObject* s) { Pfm_PartMuteBtn2Click(s); };
    Pfm_PartMuteBtn[2]->OnClick = [this](TObject* s) { Pfm_PartMuteBtn3Click(s); };
    Pfm_PartMuteBtn[3]->OnClick = [this](TObject* s) { Pfm_PartMuteBtn4Click(s); };
    Pfm_Data_Request_Btn->OnClick = ServiceHandler(&TPerformanceServices::ReceivePerformance);
    Pfm_Data_Send_Btn->OnClick = ServiceHandler(&TPerformanceServices::TransmitPerformance);
}

// ---- the pairs ---------------------------------------------------------------------------------

int32_t* TPerformancePage::WordOf(PfmRecord record, int index, std::size_t word)
{
    std::size_t at = 0;
    switch (record) {
    case PfmRecord::Part: at = PartAt(CurrentPart()); break;
    case PfmRecord::PartFixed: at = PartAt(index); break;
    case PfmRecord::ControlSet: at = ControlSetAt(index); break;
    case PfmRecord::EffectSlot: {
        const int block = ShownEffectBlock();
        if (block < 0) return nullptr; // the part sends show: no block
        at = EffectBlockAt(block);
        break;
    }
    default: at = RecordAt(record); break;
    }
    return reinterpret_cast<int32_t*>(FData.ParameterData.Bytes() + at + word);
}

int32_t* TPerformancePage::PairWord(PfmPair id)
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    return WordOf(d.Record, d.Index, d.Word);
}

std::string TPerformancePage::PairText(PfmPair id, int position) const
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    const auto value = static_cast<std::size_t>(std::clamp(position, 0, 127));
    switch (d.Text) {
    case PfmText::Pair: break;
    case PfmText::FseqSpeed: return Tenths(position + 100);
    case PfmText::EqFrequency: return FData.EffectValueText[value][static_cast<std::size_t>(d.Index)];
    case PfmText::EqQ: return Tenths(position + 1);
    case PfmText::EffectValue:
        if (ShownEffectBlock() < 0) break;
        return EffectRowText(d, position);
    }
    return FormatValue(d.PairForm.Form, d.PairForm.Centre, position);
}

// The message of the row's word (the part or controller set the row shows) with the position in
// its place; the effect parameter rows follow the shown block's type.
ParameterChangeMessage TPerformancePage::PairMessage(PfmPair id, int position)
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    if (d.Record == PfmRecord::EffectSlot)
        return EffectSlotChange(FData, FData.ParameterData.PfmEffect, std::max(ShownEffectBlock(), 0), d.Index - 1,
                                position);
    return FData.WordMessage(FData.PlaceOf(PairWord(id)), position);
}

void TPerformancePage::PairBarChange(PfmPair id)
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    int32_t* word = PairWord(id);
    if (!word) return;
    TStoringRoad road;
    road.Store = [word](int position) { *word = position; };
    if (TLabel* label = RouteLabel(id))
        road.AfterShow = [this, id, label] { label->SetCaption(IntToStr(Pair(id).Bar->Position())); };
    road.Compose = [this, id](int position) { return PairMessage(id, position); };
    if (d.Record == PfmRecord::EffectSlot) road.AfterSend = [this, id] { KeepTrailingLevel(id); };
    RunStoringRoad(FData, Pair(id), road);
}

// ---- the choices -------------------------------------------------------------------------------

void TPerformancePage::BindChoices()
{
    for (const PfmChoiceDescriptor& d : PfmChoices()) {
        FChoices.emplace_back(FOwner, d.Name);
        FChoices.back().OnChoose([this, id = d.Id](TObject*) { ChoiceChange(id); });
    }
}

void TPerformancePage::LoadChoice(PfmChoice id)
{
    const PfmChoiceDescriptor& d = PfmChoiceOf(id);
    Choice(id).SetItemIndex(*WordOf(d.Record, d.Index, d.Word) - d.Offset);
}

void TPerformancePage::ChoiceChange(PfmChoice id)
{
    if (FData.UpdatingDisplay) return;
    const PfmChoiceDescriptor& d = PfmChoiceOf(id);
    const int index = Choice(id).ItemIndex();
    if (index < 0) return;
    int32_t& word = *WordOf(d.Record, d.Index, d.Word);
    word = index + d.Offset;
    ChoiceFollows(d, index);
    FData.SendWord(word);
    FData.MarkDataChanged();
}

void TPerformancePage::ChoiceFollows(const PfmChoiceDescriptor& d, int index)
{
    switch (d.Follow) {
    case PfmFollow::None: break;
    case PfmFollow::PartSendRows: RestPartSendRows(index == 1); break;
    case PfmFollow::Portamento:
        Pfm_Part_PortaMode->SetEnabled(index == 1);
        SetPairEnabled(PfmPair::Pfm_Part_PortaTime, index == 1);
        break;
    case PfmFollow::MonoPriority: Pfm_Part_MonoPriority->SetEnabled(index == 0); break;
    case PfmFollow::FseqMode: SetFseqModeEnables(); break;
    case PfmFollow::ControlSet: SetControlSetEnables(d.Index); break;
    case PfmFollow::BankSelect: SetBankSelectEnable(); break;
    case PfmFollow::PartRouting:
        ShowPartRouting(d.Index);
        DrawInsertionRoutingImage();
        break;
    case PfmFollow::IndividualOutput: DrawIndividualOutputImage(); break;
    case PfmFollow::EqShape:
        // The Q of a shelving band has no meaning: its row rests.
        SetPairEnabled(d.Id == PfmChoice::Pfm_Effect_EQ_HighShape ? PfmPair::Pfm_Effect_EQ_HighQ
                                                                  : PfmPair::Pfm_Effect_EQ_LowQ,
                       index == 1);
        LoadEqPicture();
        break;
    }
}

// ---- refresh and the part tab ------------------------------------------------------------------

void TPerformancePage::RefreshPerformancePages()
{
    TUpdatingDisplay run(FData);
    DisplayPerformanceCommon();
    DisplayEffectPage();
    DisplayPerformanceFseqCtrlSystem();
    DisplayPerformancePart(Pfm_PartTab->TabIndex());
    DisplayEqPage();
    // The routing overlays follow the switches just loaded, also while the effect sheet shows.
    DrawInsertionRoutingImage();
    DrawIndividualOutputImage();
}

void TPerformancePage::Pfm_PartTabChange(TObject*)
{
    if (Services.ShowOperatorMenuItems) Services.ShowOperatorMenuItems(false);
    TUpdatingDisplay run(FData);
    DisplayPerformancePart(Pfm_PartTab->TabIndex());
}

// ---- header ------------------------------------------------------------------------------------

void TPerformancePage::DisplayPerformanceCommon()
{
    const PfmCommon& c = FData.ParameterData.PfmCommon;
    Pfm_Name->SetText(FromLatin1(c.Name.data(), c.Name.size()));
    LoadChoice(PfmChoice::Pfm_Category);
    LoadChoice(PfmChoice::Pfm_Ch);
    for (std::size_t k = 0; k < 4; ++k) Pfm_PartMuteBtn[k]->SetDown(FData.PartMute[k] != 0);
    Pair(PfmPair::Pfm_Volume).Load(c.Volume);
    Pfm_PanBar->SetPosition(c.Pan);
    Pfm_Pan->SetItemIndex(c.Pan - 1);
    Pair(PfmPair::Pfm_ReverbRtn).Load(c.ReverbReturn);
    Pair(PfmPair::Pfm_VariationRtn).Load(c.VariationReturn);
    Pair(PfmPair::Pfm_Noteshift).Load(c.NoteShift);
}

void TPerformancePage::Pfm_NameChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    // Up to 12 bytes and the NUL after them (in the spare word for a full name); the bytes
    // after the NUL keep what they held. A character with no 8-bit form is a blank, as the
    // instrument gets it.
    std::string bytes = ToLatin1(Pfm_Name->Text(), ' ');
    if (bytes.size() > 12) bytes.resize(12);
    PfmCommon& c = FData.ParameterData.PfmCommon;
    std::memcpy(c.Name.data(), bytes.data(), bytes.size());
    if (bytes.size() < c.Name.size())
        c.Name[bytes.size()] = 0;
    else
        c.NameSpare[0] = 0;
    FData.SendPerformanceName();
    FData.MarkDataChanged();
}

void TPerformancePage::Pfm_PanBarChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int position = Pfm_PanBar->Position();
    FData.ParameterData.PfmCommon.Pan = position;
    Pfm_Pan->SetItemIndex(position - 1);
    const ParameterChangeMessage m = FData.WordMessage(FData.PlaceOf(&FData.ParameterData.PfmCommon.Pan));
    if (!Pfm_Pan->Focused()) Pfm_Pan->SetFocus();
    FData.SendSysEx(m.data(), static_cast<int>(m.size()));
    FData.MarkDataChanged();
}

void TPerformancePage::Pfm_PanChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    if (Pfm_Pan->ItemIndex() >= 0) Pfm_PanBar->SetPosition(Pfm_Pan->ItemIndex() + 1);
}

// A mute silences the part on the instrument only: the stored volume stays, is what an unmute
// sends (the word send applies the mute), and the data are not marked changed.
void TPerformancePage::PartMuteClick(int p)
{
    const auto sp = static_cast<std::size_t>(p);
    const bool muted = Pfm_PartMuteBtn[sp]->Down();
    FData.PartMute[sp] = muted ? 1 : 0;
    const int volume = FData.ParameterData.PfmParts[sp].Volume;
    if (Pfm_PartTab->TabIndex() == p) {
        TValuePair& row = Pair(PfmPair::Pfm_Part_Volume);
        {
            TUpdatingDisplay run(FData);
            row.Bar->SetPosition(muted ? 0 : volume);
            row.Edit->SetText(muted ? "0" : IntToStr(volume));
        }
        row.SetEnabled(!muted);
    }
    FData.SendWord(FData.ParameterData.PfmParts[sp].Volume);
}
