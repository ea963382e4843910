// Edit > Copy, Paste, Undo, Op Copy and Op Paste: one part, voice or operator of the edit
// buffer copied into the program's own clipboards and pasted onto another, sent to the
// instrument at once as a bulk dump, with one undo level for parts and one for voices.
#include "mainform/MainForm.h"

#include "core/DumpLayout.h"
#include "core/Latin1.h"
#include "core/WordRanges.h"
#include "mainform/SmfExport.h"
#include "performance/PerformancePage.h"
#include "voice/VoicePage.h"

#include <algorithm>
#include <cstring>

namespace {

// Words of the target part that a part paste or undo leaves as they are: each part keeps its
// own receive channels and its share of the notes.
constexpr std::array<int32_t PfmPart::*, 3> PasteKeptFields{&PfmPart::RcvCh, &PfmPart::RcvChMax, &PfmPart::ReserveNote};

// The words both kinds of operator have, from the envelope hold on.
template <class To, class From>
void CopySharedOperatorWords(To& to, const From& from)
{
    std::memcpy(&to.EGHold, &from.EGHold, SharedOperatorWords * sizeof(int32_t));
}

constexpr unsigned DumpSettleMs = 1000; // the instrument digests a bulk dump before more messages

bool VoicePageShowing(const TMainForm& form) { return form.FS1R_PageControl->ActivePage() == form.Vc_TabSheet; }

// The voice dump does not carry the filter switch; the part dump does. The voice's copy
// follows the part so that the voice page shows what the instrument has.
void MatchVoiceFilterToPart(TParameterData& data, std::size_t p)
{
    data.VoiceRecords[p].VoiceCommon.FilterSw = data.PfmParts[p].FilterSw;
}

// Part p takes `with` except its kept words, is shown and sent, and gets its mute back.
void ReplacePart(TMainForm& form, int p, const PfmPart& with)
{
    const auto i = static_cast<std::size_t>(p);
    PfmPart& part = form.ParameterData.PfmParts[i];
    for (std::size_t k = 0; k < PasteKeptFields.size(); ++k) form.PasteKeptWords[k] = part.*PasteKeptFields[k];
    part = with;
    for (std::size_t k = 0; k < PasteKeptFields.size(); ++k) part.*PasteKeptFields[k] = form.PasteKeptWords[k];
    MatchVoiceFilterToPart(form.ParameterData, i);
    {
        TUpdatingDisplay updating(form);
        form.DisplayPerformancePart(p);
    }
    form.SendBulkDump(DumpPerformance, 0);
    Application->Sleep(DumpSettleMs);
    form.ReapplyPartMutes();
}

// The voice of part v, the one shown, was replaced and shown: it goes to the instrument with its
// mutes.
void SendReplacedVoice(TMainForm& form, int v)
{
    form.SendBulkDump(DumpVoicePart1 + v, 0);
    Application->Sleep(DumpSettleMs);
    form.ReapplyOperatorMutes();
}

} // namespace

void TMainForm::CreateEditCommandItems()
{
    EditE1 = MenuBarTitle("EditE1", "&Edit");
    struct Item {
        TMenuItem* TMainForm::*Field;
        const char* Name;
        const char* Caption;
        TShortCut Keys;
        bool Enabled;
        bool Visible;
        void (TMainForm::*Handler)(TObject*);
    };
    const Item items[] = {
        {&TMainForm::Undo, "Undo", "&Undo", ShortCut('Z', {ssCtrl}), false, true, &TMainForm::UndoClick},
        {nullptr, "N1", "-", scNone, true, true, nullptr},
        {&TMainForm::CopyC1, "CopyC1", "&Copy", ShortCut('C', {ssCtrl}), true, true, &TMainForm::CopyC1Click},
        {&TMainForm::Paste, "Paste", "&Paste", ShortCut('V', {ssCtrl}), false, true, &TMainForm::PasteClick},
        {&TMainForm::N9, "N9", "-", scNone, true, false, nullptr},
        {&TMainForm::OPCopy, "OPCopy", "Op Copy", ShortCut('C', {ssCtrl, ssShift}), true, false,
         &TMainForm::OPCopyClick},
        {&TMainForm::OPPaste, "OPPaste", "Op Paste", ShortCut('V', {ssCtrl, ssShift}), false, false,
         &TMainForm::OPPasteClick},
    };
    for (const Item& item : items) {
        TNotifyEvent onClick;
        if (item.Handler) onClick = [this, handler = item.Handler](TObject* s) { (this->*handler)(s); };
        TMenuItem* menuItem = NewItem(EditE1, item.Name, item.Caption, item.Keys, onClick);
        menuItem->SetEnabled(item.Enabled);
        menuItem->SetVisible(item.Visible);
        if (item.Field) this->*item.Field = menuItem;
    }
    CreateStoreItems();
    CreateMidiFileItems();
}

void TMainForm::CreateMidiFileItems()
{
    SaveSMFDialog = new TSaveDialog(this);
    SaveSMFDialog->Name = "SaveSMFDialog";
    SaveSMFDialog->Title = "Quillmarven MIDI File SaveDialog";
    SaveSMFDialog->Filter = "MIDI File(SMF Format0)(*.mid)|*.mid";
    SaveSMFDialog->DefaultExt = "mid";
    SaveSMFDialog->InitialDir = "data";
    SaveSMFDialog->OverwritePrompt = true;

    if (!Pfm_Fseq_SyxOpenDialog) {
        Pfm_Fseq_SyxOpenDialog = new TOpenDialog(this);
        Pfm_Fseq_SyxOpenDialog->Name = "Pfm_Fseq_SyxOpenDialog";
        Pfm_Fseq_SyxOpenDialog->Title = "Select FSEQ File (syx)";
        Pfm_Fseq_SyxOpenDialog->Filter = "FSEQ Sysex file (*.syx)|*.syx";
        Pfm_Fseq_SyxOpenDialog->InitialDir = "syx";
    }

    // Above File > Exit.
    ExportSMF =
        NewItem(nullptr, "ExportSMF", "&Export MIDI File...", scNone, [this](TObject* s) { ExportSMFClick(s); });
    CnvSyx2SMF = NewItem(nullptr, "CnvSyx2SMF", "&Convert Syx to MIDI File...", scNone,
                         [this](TObject* s) { CnvSyx2SMFClick(s); });
    for (TMenuItem* item : {ExportSMF, CnvSyx2SMF}) {
        item->Hint = "SMF format0";
        File1->Insert(std::max(0, File1->IndexOf(FileExitItem)), item);
    }
}

// ---- the commands ----------------------------------------------------------------------------

void TMainForm::CopyC1Click(TObject*)
{
    Paste->SetEnabled(true);
    if (PartPageShown()) {
        CopySourcePart = ShownPart();
        PartClipboard = ParameterData.PfmParts[static_cast<std::size_t>(CopySourcePart)];
        PartCopied = 1;
    }
    if (VoicePageShowing(*this)) {
        CopySourceVoice = ShownVoice();
        VoiceClipboard = ParameterData.VoiceRecords[static_cast<std::size_t>(CopySourceVoice)];
        VoiceCopied = 1;
    }
}

void TMainForm::PasteClick(TObject*)
{
    Undo->SetEnabled(true);
    if (PartPageShown() && PartCopied && ShownPart() != CopySourcePart) {
        const int p = ShownPart();
        PartUndoBuffer = ParameterData.PfmParts[static_cast<std::size_t>(p)];
        UndoPart = p;
        PartUndoHeld = 1;
        ReplacePart(*this, p, PartClipboard);
    }
    if (VoicePageShowing(*this) && VoiceCopied && ShownVoice() != CopySourceVoice) {
        const int v = ShownVoice();
        const auto i = static_cast<std::size_t>(v);
        VoiceUndoBuffer = ParameterData.VoiceRecords[i];
        UndoVoice = v;
        VoiceUndoHeld = 1;
        ParameterData.VoiceRecords[i] = VoiceClipboard;
        MatchVoiceFilterToPart(ParameterData, i);
        {
            TUpdatingDisplay updating(*this);
            RefreshVoicePages(v);
            // A part whose bank is off plays no voice: the pasted voice is heard from Int.
            PfmPart& part = ParameterData.PfmParts[i];
            PasteBankSwitched = part.BankNum == 0 ? 1 : 0;
            if (PasteBankSwitched) {
                part.BankNum = 1;
                SendWord(part.BankNum);
            }
        }
        SendReplacedVoice(*this, v);
    }
    MarkDataChanged();
}

void TMainForm::OPCopyClick(TObject*)
{
    OPPaste->SetEnabled(true);
    const auto v = static_cast<std::size_t>(ShownVoice());
    const int t = ShownOperator();
    VoiceRecord& voice = ParameterData.VoiceRecords[v];
    if (t >= 8)
        UnvoicedOpClipboard = voice.UnvoicedOperators[static_cast<std::size_t>(t - 8)];
    else
        VoicedOpClipboard = voice.VoicedOperators[static_cast<std::size_t>(t)];
    CopySourceOperator = t;
    OperatorCopied = 1;
}

void TMainForm::OPPasteClick(TObject*)
{
    Undo->SetEnabled(true);
    if (!OperatorCopied) return;
    const int v = ShownVoice();
    const int t = ShownOperator();
    const bool fromUnvoiced = CopySourceOperator >= 8;
    VoiceRecord& voice = ParameterData.VoiceRecords[static_cast<std::size_t>(v)];
    VoiceUndoBuffer = voice;
    UndoVoice = v;
    VoiceUndoHeld = 1;
    PasteBankSwitched = 0;
    // The whole operator within a kind; across kinds only the words both kinds have, each brought
    // into the range the editor keeps it in (a frequency or width bias the unvoiced operator holds
    // up to 127 becomes at most +7, what a voiced operator takes and its slider shows), so that
    // the window, the instrument and a saved file agree.
    const std::size_t at = VoiceAt(v) + (t >= 8 ? UnvoicedOffset(t - 8) : VoicedOffset(t));
    if (t >= 8) {
        UnvoicedOperator& target = voice.UnvoicedOperators[static_cast<std::size_t>(t - 8)];
        if (fromUnvoiced)
            target = UnvoicedOpClipboard;
        else
            CopySharedOperatorWords(target, VoicedOpClipboard);
    } else {
        VoicedOperator& target = voice.VoicedOperators[static_cast<std::size_t>(t)];
        if (fromUnvoiced)
            CopySharedOperatorWords(target, UnvoicedOpClipboard);
        else
            target = VoicedOpClipboard;
    }
    BringWordsIntoRange(ParameterData, *this, at, t >= 8 ? sizeof(UnvoicedOperator) : sizeof(VoicedOperator));
    {
        TUpdatingDisplay updating(*this);
        RefreshVoicePages(v);
    }
    SendReplacedVoice(*this, v);
    MarkDataChanged();
}

void TMainForm::UndoClick(TObject*)
{
    if (PartPageShown() && PartUndoHeld && ShownPart() == UndoPart) {
        PartUndoHeld = 0;
        ReplacePart(*this, UndoPart, PartUndoBuffer);
        Undo->SetEnabled(false);
        MarkDataChanged();
    }
    if (VoicePageShowing(*this) && VoiceUndoHeld && ShownVoice() == UndoVoice) {
        const int v = UndoVoice;
        const auto i = static_cast<std::size_t>(v);
        VoiceUndoHeld = 0;
        ParameterData.VoiceRecords[i] = VoiceUndoBuffer;
        MatchVoiceFilterToPart(ParameterData, i);
        {
            TUpdatingDisplay updating(*this);
            RefreshVoicePages(v);
            if (PasteBankSwitched) {
                ParameterData.PfmParts[i].BankNum = 0;
                SendWord(ParameterData.PfmParts[i].BankNum);
                PasteBankSwitched = 0;
            }
        }
        SendReplacedVoice(*this, v);
        Undo->SetEnabled(false);
        MarkDataChanged();
    }
}

// ---- what these commands need of the pages -----------------------------------------------------

bool TMainForm::PartPageShown() const
{
    // The part sheet of the performance page: the effect and sequence sheets hold no part.
    return FS1R_PageControl->ActivePage() == Pfm_TabSheet &&
           PerformancePage->Pfm_PageControl->ActivePage() == PerformancePage->Pfm_Part_TabSheet;
}

int TMainForm::ShownOperator() const
{
    // The voice page shows the operator tab it remembers for the shown voice tab.
    return std::clamp(OperatorTabMemory[static_cast<std::size_t>(ShownVoice())], 0, 15);
}

std::string TMainForm::PerformanceNameText() const
{
    const auto& name = ParameterData.PfmCommon.Name;
    return FromLatin1(name.data(), name.size());
}

void TMainForm::ReapplyPartMutes()
{
    // What the four part-mute buttons send: each part's volume, 0 for a muted part.
    for (const PfmPart& part : ParameterData.PfmParts) SendWord(part.Volume);
}

void TMainForm::ReapplyOperatorMutes() { VoicePage->RunOperatorMuteHandlers(); }

void TMainForm::SetOperatorEditItemsVisible(bool visible)
{
    for (TMenuItem* item : {N9, OPCopy, OPPaste}) item->SetVisible(visible);
}
