// Whole-block transfers: the single-block receives and sends of the Tools menu and the page
// buttons, send-all and receive-all with their progress window. Each timed transfer counts its
// steps in its timer's Tag; the dump requested at one step arrives as MIDI input between ticks.
//
// Only one transfer runs at a time: a command refuses while another runs, and the windows are
// locked (and the keyboard thru cut) by the command itself, so no second request can overwrite
// the pending one's target before its first tick.
#include "mainform/MainForm.h"
#include "mainform/dialogs/BulkDump.h"
#include "mainform/keyboard/midikey.h"

#include <algorithm>

namespace {

constexpr int MidiCableFlags = MB_OK | MB_ICONEXCLAMATION;

// The single-block receives and receive-all caption their box differently, as the program
// always has: "LQuillmarven : ..." for the former.
constexpr const char* SingleReceiveCaption = "LQuillmarven : MIDI setting error";
constexpr const char* ReceiveAllCaption = "Quillmarven : MIDI setting error";

// What a transfer says when it finds no device to talk through (after the setup dialog was
// cancelled, for instance): it names the command that chooses them.
constexpr const char* NoMidiDeviceText =
    "No MIDI device is open. Choose the MIDI devices with Options > MIDI Interface Setting.";

void ShowMidiCableMessage(const char* caption)
{
    Application->MessageBox("Please connect MIDI cable!", caption, MidiCableFlags);
}

// How often a block whose answer may have been lost with a late cycle is asked for again.
constexpr int AsksAgainAtMost = 3;

// A transfer through which the MIDI system lost cycles, or could not tell that what was sent got
// through.
constexpr const char* CyclesLostText =
    "The MIDI system fell behind during this transfer (the JACK server reported late cycles), so the "
    "instrument may have missed some of the messages sent to it.";
constexpr const char* CrossingUnknownText =
    "The MIDI system could not show that the messages of this transfer reached the instrument.";
constexpr const char* LostCyclesHelpText =
    " Repeat the transfer to be sure. A JACK server started in synchronous mode (jackd -S) waits for a late "
    "program instead of losing its messages.";

// Send-all: one bulk dump every five ticks; the bar steps at every tick but the first.
struct TSendAllStep {
    intptr_t Tag;
    int32_t Kind;
    const char* Text;
};
constexpr TSendAllStep SendAllSteps[] = {
    {0, DumpPerformance, "Now Sending Performance Data!"}, {5, DumpVoicePart1 + 0, "Now Sending Voice1 Data!"},
    {10, DumpVoicePart1 + 1, "Now Sending Voice2 Data!"},  {15, DumpVoicePart1 + 2, "Now Sending Voice3 Data!"},
    {20, DumpVoicePart1 + 3, "Now Sending Voice4 Data!"},  {25, DumpSystem, "Now Sending System Data!"},
};
constexpr intptr_t SendAllLastTag = 28;

// A formant sequence has gone out whole before the first tick; the lock and the bar cover the
// time the instrument takes to store it: ticks 0..10, 200 ms for each memory it fills.
constexpr unsigned FseqTickMs = 200;
constexpr intptr_t FseqLastTag = 10;
constexpr int FseqBarStep = 27;

// What a receive shows of the block that has just arrived.
enum class TShowBlock { Nothing, Performance, ShownVoice, System };

// Receive-all: at each of these ticks the block asked for at the previous one must have
// arrived; it is shown and the next block is requested. Five ticks per block, three for the
// system block.
constexpr int32_t NoBlock = -1;
struct TReceiveAllStep {
    intptr_t Tag;
    TShowBlock Show;
    int32_t Next;
    const char* Text;
    bool StepBar;
};
constexpr TReceiveAllStep ReceiveAllSteps[] = {
    {0, TShowBlock::Nothing, ReceivePerformance, "Now Receiving Performance Data!", false},
    {5, TShowBlock::Performance, 0, "Now Receiving Voice1 Data!", true},
    {10, TShowBlock::Nothing, 1, "Now Receiving Voice2 Data!", true},
    {15, TShowBlock::Nothing, 2, "Now Receiving Voice3 Data!", true},
    {20, TShowBlock::Nothing, 3, "Now Receiving Voice4 Data!", true},
    {25, TShowBlock::ShownVoice, ReceiveSystem, "Now Receiving System Data!", false},
    {28, TShowBlock::System, NoBlock, nullptr, false},
};

void ShowBlock(TMainForm& f, TShowBlock show, int voice)
{
    switch (show) {
    case TShowBlock::Nothing: break;
    case TShowBlock::Performance: f.RefreshPerformancePages(); break;
    case TShowBlock::ShownVoice: f.RefreshVoicePages(voice); break;
    case TShowBlock::System: {
        TUpdatingDisplay updating(f);
        f.DisplayPerformanceFseqCtrlSystem();
        break;
    }
    }
}

// Unlocks the windows when the last step leaves, also by an exception.
struct TUnlockAtEnd {
    TMainForm& Form;
    ~TUnlockAtEnd() { Form.UnlockWindows(); }
};

template <class Rows>
auto FindRow(const Rows& rows, intptr_t tag) -> decltype(&rows[0])
{
    const auto* row = std::find_if(std::begin(rows), std::end(rows), [tag](const auto& r) { return r.Tag == tag; });
    return row == std::end(rows) ? nullptr : row;
}

} // namespace

// ---- controls ----------------------------------------------------------------------------------

void TMainForm::CreateTransferControls()
{
    struct TTimerRow {
        TTimer* TMainForm::*Timer;
        const char* Name;
        unsigned Interval;
        void (TMainForm::*Handler)(TObject*);
    };
    static constexpr TTimerRow Timers[] = {
        {&TMainForm::Pfm_Timer, "Pfm_Timer", 1000, &TMainForm::Pfm_TimerTimer},
        {&TMainForm::Vc_Timer, "Vc_Timer", 1000, &TMainForm::Vc_TimerTimer},
        {&TMainForm::Sys_Timer, "Sys_Timer", 800, &TMainForm::Sys_TimerTimer},
        {&TMainForm::AllSendTimer, "AllSendTimer", 500, &TMainForm::AllSendTimerTimer},
        {&TMainForm::AllRcvTimer, "AllRcvTimer", 1200, &TMainForm::AllRcvTimerTimer},
        {&TMainForm::FSEQTimer, "FSEQTimer", FseqTickMs, &TMainForm::FSEQTimerTimer},
    };
    for (const TTimerRow& row : Timers) {
        auto* timer = new TTimer(this);
        timer->SetEnabled(false);
        timer->Name = row.Name;
        timer->SetInterval(row.Interval);
        timer->OnTimer = [this, handler = row.Handler](TObject* s) { (this->*handler)(s); };
        this->*row.Timer = timer;
    }

    Tools1 = MenuBarTitle("Tools1", "&Tools");

    struct TItemRow {
        TMenuItem* TMainForm::*Item;
        const char* Name;
        const char* Caption;
        void (TMainForm::*Handler)(TObject*);
    };
    static constexpr TItemRow ReceiveItems[] = {
        {&TMainForm::DataRcvPfm, "DataRcvPfm", "&Performance", &TMainForm::Pfm_Data_Request_BtnClick},
        {&TMainForm::DataRcvVc1, "DataRcvVc1", "Voice&1", &TMainForm::DataRcvVc1Click},
        {&TMainForm::DataRcvVc2, "DataRcvVc2", "Voice&2", &TMainForm::DataRcvVc2Click},
        {&TMainForm::DataRcvVc3, "DataRcvVc3", "Voice&3", &TMainForm::DataRcvVc3Click},
        {&TMainForm::DataRcvVc4, "DataRcvVc4", "Voice&4", &TMainForm::DataRcvVc4Click},
        {&TMainForm::DataRcvSys, "DataRcvSys", "&System", &TMainForm::DataRcvSysClick},
        {&TMainForm::DataRcvAll, "DataRcvAll", "&ALL", &TMainForm::DataRcvAllClick},
    };
    static constexpr TItemRow SendItems[] = {
        {&TMainForm::DataSendPfm, "DataSendPfm", "&Performance", &TMainForm::Pfm_Data_Send_BtnClick},
        {&TMainForm::DataSendVc1, "DataSendVc1", "Voice&1", &TMainForm::DataSendVc1Click},
        {&TMainForm::DataSendVc2, "DataSendVc2", "Voice&2", &TMainForm::DataSendVc2Click},
        {&TMainForm::DataSendVc3, "DataSendVc3", "Voice&3", &TMainForm::DataSendVc3Click},
        {&TMainForm::DataSendVc4, "DataSendVc4", "Voice&4", &TMainForm::DataSendVc4Click},
        {&TMainForm::DataSendSys, "DataSendSys", "&System", &TMainForm::DataSendSysClick},
        {&TMainForm::DataSendAll, "DataSendAll", "&ALL", &TMainForm::DataSendAllClick},
    };
    auto addItems = [this](TMenuItem* parent, const auto& rows) {
        for (const TItemRow& row : rows)
            this->*row.Item = NewItem(parent, row.Name, row.Caption, scNone,
                                      [this, handler = row.Handler](TObject* s) { (this->*handler)(s); });
    };
    DataRcv = NewItem(Tools1, "DataRcv", "Data &Receive");
    addItems(DataRcv, ReceiveItems);
    DataSend = NewItem(Tools1, "DataSend", "Data &Send");
    addItems(DataSend, SendItems);
}

// ---- devices -----------------------------------------------------------------------------------

bool TMainForm::MidiDevicesOpen(bool receives) const
{
    return Midi.IsMidiOutOpen() && (!receives || Midi.IsMidiInOpen());
}

bool TMainForm::MidiReadyForTransfer(bool receives)
{
    if (MidiDevicesOpen(receives)) return true;
    Application->MessageBox(NoMidiDeviceText, ReceiveAllCaption, MidiCableFlags);
    return false;
}

bool TMainForm::MidiOutputOpenOrTold()
{
    if (Midi.IsMidiOutOpen()) return true;
    if (FNoOutputToldAt != Midi.MidiOutOpenings()) {
        FNoOutputToldAt = Midi.MidiOutOpenings();
        Application->MessageBox(NoMidiDeviceText, ReceiveAllCaption, MidiCableFlags);
    }
    return false;
}

// ---- what the MIDI system may have lost ----------------------------------------------------------

void TMainForm::WatchTransfer()
{
    FTransferStart = Midi.LossMark();
    FRequestsSent = 0;
}

void TMainForm::RequestDump(int32_t target, bool again)
{
    FAsksAgain = again ? FAsksAgain + 1 : 0;
    FLostAtRequest = Midi.LossMark().LostCycles;
    ++FRequestsSent;
    const DumpRequestMessage request = DumpRequestFor(target);
    SendSysEx(request.data(), static_cast<int>(request.size()));
}

bool TMainForm::AskAgainAfterLostCycles()
{
    if (FAsksAgain >= AsksAgainAtMost || Midi.LossMark().LostCycles == FLostAtRequest) return false;
    StartDumpReceive();
    RequestDump(ReceiveTarget, true);
    return true;
}

void TMainForm::TellMessagesMayBeLost(bool stopped)
{
    const bool crossed = Midi.WaitUntilSent();
    const TMidiLossMark now = Midi.LossMark();
    const bool lost = now.LostCycles != FTransferStart.LostCycles;
    const bool sentMoreThanRequests = now.SysExSent - FTransferStart.SysExSent > std::uint64_t(FRequestsSent);
    if ((!lost && crossed) || (!sentMoreThanRequests && !stopped)) return;
    Application->MessageBox(std::string(lost ? CyclesLostText : CrossingUnknownText) + LostCyclesHelpText,
                            "Quillmarven", MB_OK | MB_ICONWARNING);
}

// ---- the lock ----------------------------------------------------------------------------------

bool TMainForm::TransferRunning() const
{
    return TransferLocked || Pfm_Timer->Enabled() || Vc_Timer->Enabled() || Sys_Timer->Enabled() ||
           AllSendTimer->Enabled() || AllRcvTimer->Enabled() || FSEQTimer->Enabled();
}

void TMainForm::LockTransfer()
{
    if (TransferLocked) return;
    TransferLocked = true;
    SetEnabled(false);
    if (V_MIDIKeyboard) V_MIDIKeyboard->SetEnabled(false);
    // Nothing from the master keyboard is mixed into a transfer.
    if (Midi.KeyboardThruOn) Midi.CutKeyboardThru();
}

void TMainForm::RestoreKeyboardThru()
{
    if (Midi.KeyboardThruOn) Midi.ConnectKeyboardThru();
}

void TMainForm::UnlockWindows()
{
    TransferLocked = false;
    ReceivingAll = false;
    // What a transfer received without marking (start-up's receive-all, one that stopped) is
    // the instrument's, not an edit.
    if (!DataChanged) KeepUnchangedData();
    SetEnabled(true);
    if (V_MIDIKeyboard) V_MIDIKeyboard->SetEnabled(true);
}

void TMainForm::ShowProgress(const char* text)
{
    if (!DataBulkDump) DataBulkDump = new TDataBulkDump(this);
    DataBulkDump->BulkDumpText->SetCaption(text);
    DataBulkDump->Show();
}

void TMainForm::StepProgress()
{
    if (DataBulkDump) DataBulkDump->BulkDumpProgressBar->StepIt();
}

void TMainForm::FreeProgress()
{
    delete DataBulkDump;
    DataBulkDump = nullptr;
}

void TMainForm::RunTransferStep(TTimer& timer, void (TMainForm::*step)(TTimer&))
{
    try {
        (this->*step)(timer);
    } catch (...) {
        // A step that fails ends its transfer; otherwise the same step would fail again at every
        // tick behind windows that never come back.
        timer.SetEnabled(false);
        Midi.StopMidiInBuffer();
        if (&timer == AllRcvTimer) KeepWhatReceiveAllStored();
        FreeProgress();
        RestoreKeyboardThru();
        UnlockWindows();
        throw;
    }
}

// ---- single-block receives ---------------------------------------------------------------------

void TMainForm::StartDumpReceive()
{
    // Only the dump asked for takes the input buffer: whatever else the instrument's port
    // carries meanwhile (parameter changes, another device's messages) leaves it to the answer.
    Midi.StartMidiInBuffer({&IsAwaitedDump, ReceiveTarget});
}

bool TMainForm::StartReceive(TTimer& timer, int32_t target, bool keepMutedValues)
{
    if (TransferRunning() || !MidiDevicesOpen(true)) return false;
    WatchTransfer();
    BeginReceive(target, keepMutedValues);
    timer.Tag = 0;
    LockTransfer();
    timer.SetEnabled(true);
    return true;
}

bool TMainForm::StartVoiceFetch(int part)
{
    // A new program brings a new voice: its own levels replace the ones under the mutes.
    return StartReceive(*Vc_Timer, std::clamp(part, 0, 3), false);
}

void TMainForm::ReceiveCommand(TTimer& timer, int32_t target)
{
    if (TransferRunning() || !MidiReadyForTransfer(true)) return;
    if (StartReceive(timer, target, true)) MarkDataChanged();
}

void TMainForm::Pfm_Data_Request_BtnClick(TObject*) { ReceiveCommand(*Pfm_Timer, ReceivePerformance); }
void TMainForm::Vc_GetDataBtnClick(TObject*) { ReceiveCommand(*Vc_Timer, ShownVoice()); }
void TMainForm::DataRcvVc1Click(TObject*) { ReceiveCommand(*Vc_Timer, 0); }
void TMainForm::DataRcvVc2Click(TObject*) { ReceiveCommand(*Vc_Timer, 1); }
void TMainForm::DataRcvVc3Click(TObject*) { ReceiveCommand(*Vc_Timer, 2); }
void TMainForm::DataRcvVc4Click(TObject*) { ReceiveCommand(*Vc_Timer, 3); }
void TMainForm::DataRcvSysClick(TObject*) { ReceiveCommand(*Sys_Timer, ReceiveSystem); }

void TMainForm::SingleReceiveStep(TTimer& timer)
{
    // The instrument has one interval to answer, three for a voice.
    const intptr_t lastTag = &timer == Vc_Timer ? 3 : 1;
    const intptr_t tag = timer.Tag;
    if (tag == 0) {
        LockTransfer();
        StartDumpReceive();
        RequestDump(ReceiveTarget);
        timer.Tag = 1;
    } else if (tag > 0 && tag < lastTag) {
        ++timer.Tag;
    } else if (tag == lastTag) {
        Midi.StopMidiInBuffer();
        // Asked again, the answer is looked for at the next tick.
        if (DumpReceived != 1 && AskAgainAfterLostCycles()) return;
        TUnlockAtEnd unlock{*this};
        timer.SetEnabled(false);
        RestoreKeyboardThru();
        if (DumpReceived != 1) {
            ShowMidiCableMessage(SingleReceiveCaption);
            TellMessagesMayBeLost(true);
            return;
        }
        if (&timer == Pfm_Timer) {
            RefreshPerformancePages();
        } else if (&timer == Vc_Timer) {
            RefreshVoicePages(ReceiveTarget);
        } else {
            ShowBlock(*this, TShowBlock::System, 0);
            if (ParameterData.SystemBlock.MemoryMode == 1) Pfm_Fseq_FseqIntClearClick(this);
        }
        // The pages show what came; where it came under a mute, the mute holds again.
        SilenceMutedWordsTaken();
        TellMessagesMayBeLost(false);
    }
}

void TMainForm::Pfm_TimerTimer(TObject*) { RunTransferStep(*Pfm_Timer, &TMainForm::SingleReceiveStep); }
void TMainForm::Vc_TimerTimer(TObject*) { RunTransferStep(*Vc_Timer, &TMainForm::SingleReceiveStep); }
void TMainForm::Sys_TimerTimer(TObject*) { RunTransferStep(*Sys_Timer, &TMainForm::SingleReceiveStep); }

// ---- single-block sends ------------------------------------------------------------------------

void TMainForm::SendBlockCommand(int32_t kind)
{
    if (TransferRunning() || !MidiReadyForTransfer(false)) return;
    WatchTransfer();
    SendBulkDump(kind, 0);
    if (kind != DumpSystem) {
        // The dump carries the stored values and so undoes the editor's mutes on the instrument;
        // after a pause for the instrument to take the dump, silence them again.
        Application->Sleep(1000);
        if (kind == DumpPerformance)
            SendPartMuteVolumes();
        else
            SendOperatorMutes(kind);
    }
    TellMessagesMayBeLost(false);
}

void TMainForm::Pfm_Data_Send_BtnClick(TObject*) { SendBlockCommand(DumpPerformance); }
void TMainForm::Vc_SendDataBtnClick(TObject*) { SendBlockCommand(DumpVoicePart1 + ShownVoice()); }
void TMainForm::DataSendVc1Click(TObject*) { SendBlockCommand(DumpVoicePart1 + 0); }
void TMainForm::DataSendVc2Click(TObject*) { SendBlockCommand(DumpVoicePart1 + 1); }
void TMainForm::DataSendVc3Click(TObject*) { SendBlockCommand(DumpVoicePart1 + 2); }
void TMainForm::DataSendVc4Click(TObject*) { SendBlockCommand(DumpVoicePart1 + 3); }
void TMainForm::DataSendSysClick(TObject*) { SendBlockCommand(DumpSystem); }

// ---- send-all ----------------------------------------------------------------------------------

void TMainForm::DataSendAllClick(TObject*)
{
    if (TransferRunning() || !MidiReadyForTransfer(false)) return;
    WatchTransfer();
    AllSendTimer->Tag = 0;
    LockTransfer();
    AllSendTimer->SetEnabled(true);
}

void TMainForm::SendAllStep(TTimer& timer)
{
    const intptr_t tag = timer.Tag;
    if (tag < 0 || tag > SendAllLastTag) return;
    if (tag == SendAllLastTag) {
        TUnlockAtEnd unlock{*this};
        timer.SetEnabled(false);
        RestoreKeyboardThru();
        SendPartMuteVolumes();
        for (int p = 0; p < 4; ++p) SendOperatorMutes(p);
        FreeProgress();
        TellMessagesMayBeLost(false);
        return;
    }
    if (tag == 0) LockTransfer();
    if (const TSendAllStep* row = FindRow(SendAllSteps, tag)) {
        ShowProgress(row->Text);
        SendBulkDump(row->Kind, 0);
    }
    if (tag != 0) StepProgress();
    timer.Tag = tag + 1;
}

void TMainForm::AllSendTimerTimer(TObject*) { RunTransferStep(*AllSendTimer, &TMainForm::SendAllStep); }

// ---- receive-all -------------------------------------------------------------------------------

void TMainForm::DataRcvAllClick(TObject*) { StartReceiveAll(false); }

void TMainForm::StartReceiveAll(bool atStartUp)
{
    if (TransferRunning() || !MidiReadyForTransfer(true)) return;
    WatchTransfer();
    DumpReceived = 0;
    ReceiveAllAtStartUp = atStartUp;
    ReceiveAllStoredABlock = false;
    AllRcvTimer->Tag = 0;
    LockTransfer();
    ReceivingAll = true;
    AllRcvTimer->SetEnabled(true);
}

void TMainForm::KeepWhatReceiveAllStored()
{
    if (DumpReceived == 1) ReceiveAllStoredABlock = true; // taken in at the stop of the input buffer
    DumpReceived = 0;
    if (!ReceiveAllStoredABlock) return;
    // Nothing is rolled back, and nothing of it may stay hidden behind pages that show the data
    // as it was: the next save would write blocks nobody saw.
    RefreshPerformancePages();
    RefreshVoicePages(ShownVoice());
    // The buffer now mixes the instrument's blocks with what was there: not the file it was
    // read from, nor what start-up found (there, whatever came is the instrument's, as at the
    // end of a silent receive).
    if (!ReceiveAllAtStartUp) MarkDataChanged();
}

void TMainForm::ReceiveAllStep(TTimer& timer)
{
    const intptr_t tag = timer.Tag;
    if (tag < 0 || tag > ReceiveAllSteps[std::size(ReceiveAllSteps) - 1].Tag) return;
    const TReceiveAllStep* row = FindRow(ReceiveAllSteps, tag);
    if (!row) {
        StepProgress();
        timer.Tag = tag + 1;
        return;
    }
    if (tag == 0) {
        LockTransfer();
        ShowProgress(row->Text);
    } else {
        Midi.StopMidiInBuffer();
        // Asked again, the answer is looked for at the next tick, at this same step.
        if (DumpReceived != 1 && AskAgainAfterLostCycles()) return;
        if (DumpReceived != 1) {
            // The first block that does not answer ends the sequence; what came before stays,
            // shown, before the box tells of the stop.
            TUnlockAtEnd unlock{*this};
            timer.SetEnabled(false);
            KeepWhatReceiveAllStored();
            ShowMidiCableMessage(ReceiveAllCaption);
            FreeProgress();
            RestoreKeyboardThru();
            TellMessagesMayBeLost(true);
            return;
        }
        ReceiveAllStoredABlock = true;
        DumpReceived = 0;
        ShowBlock(*this, row->Show, ShownVoice());
        SilenceMutedWordsTaken();
    }
    if (row->Next == NoBlock) {
        TUnlockAtEnd unlock{*this};
        timer.SetEnabled(false);
        RestoreKeyboardThru();
        FreeProgress();
        // The first receive-all that completes (normally start-up's) finds the instrument's
        // formant-sequence memory unknown, so the editor's picture of it starts empty. A
        // receive-all that stops leaves that to the next one.
        if (SilentReceiveAll == 1 && ParameterData.SystemBlock.MemoryMode == 1) Pfm_Fseq_FseqIntClearClick(this);
        // That first one also leaves the data unchanged, unless they are a file's by then (a start
        // with a file, or an open or a save after start-up's receive failed): the file's data
        // are replaced, and Save, Exit and Open must know it.
        if (SilentReceiveAll != 1 || !CurrentFileName.empty()) MarkDataChanged();
        SilentReceiveAll = 0;
        TellMessagesMayBeLost(false);
        return;
    }
    BeginReceive(row->Next, true);
    StartDumpReceive();
    RequestDump(row->Next);
    if (tag != 0) ShowProgress(row->Text);
    if (row->StepBar) StepProgress();
    timer.Tag = tag + 1;
}

void TMainForm::AllRcvTimerTimer(TObject*) { RunTransferStep(*AllRcvTimer, &TMainForm::ReceiveAllStep); }

// ---- formant-sequence transfer ------------------------------------------------------------------

void TMainForm::StartFseqTransfer(int sizeCode)
{
    DumpReceived = 0;
    FSEQTimer->SetEnabled(false);
    FSEQTimer->Tag = 0;
    FSEQTimer->SetInterval(FseqTickMs * static_cast<unsigned>(std::clamp(sizeCode, 0, 3) + 1));
    FSEQTimer->SetEnabled(true);
}

void TMainForm::FseqSendStep(TTimer& timer)
{
    const intptr_t tag = timer.Tag;
    if (tag == 0) {
        LockTransfer();
        ShowProgress("Now Sending FSEQ Data!");
        DataBulkDump->BulkDumpProgressBar->Step = FseqBarStep;
    } else if (tag < FseqLastTag) {
        StepProgress();
    } else {
        TUnlockAtEnd unlock{*this};
        timer.SetEnabled(false);
        RestoreKeyboardThru();
        FreeProgress();
        TellMessagesMayBeLost(false);
        return;
    }
    timer.Tag = tag + 1;
}

void TMainForm::FSEQTimerTimer(TObject*) { RunTransferStep(*FSEQTimer, &TMainForm::FseqSendStep); }
