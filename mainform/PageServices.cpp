// What the core needs of the voice and performance pages: the tabs that say which part and voice
// are shown, the part page's note-reserve slider, the list of internal formant sequences, and the
// pages' display routines; and what the pages need of the window.
#include "mainform/MainForm.h"
#include "mainform/dialogs/FSEQ_RcvInfo.h"
#include "performance/PerformancePage.h"
#include "voice/VoicePage.h"

#include <algorithm>
#include <string>

void TMainForm::CreatePageServiceControls()
{
    CreateVoicePage();
    CreatePerformancePage();
}

int TMainForm::ShownPart() const
{
    return std::clamp(PerformancePage ? PerformancePage->Pfm_PartTab->TabIndex() : 0, 0, 3);
}

int TMainForm::ShownVoice() const { return std::clamp(VoicePage ? VoicePage->Vc_VoiceTab->TabIndex() : 0, 0, 3); }

// The performance sheet is its own page (performance/); the window forwards what the core calls.
void TMainForm::CreatePerformancePage()
{
    TPerformanceServices services;
    services.BalanceNoteReserve = [this] { BalanceNoteReserve(); };
    services.UpdateNoteReserveLimits = [this] { UpdateNoteReserveLimits(); };
    services.SetPartFilterSwitch = [this](int part, int32_t on) { SetPartFilterSwitch(part, on, true); };
    services.StartVoiceFetch = [this](int part) { StartVoiceFetch(part); };
    services.ShowOperatorMenuItems = [this](bool visible) { SetOperatorEditItemsVisible(visible); };
    services.ReceivePerformance = [this](TObject* s) { Pfm_Data_Request_BtnClick(s); };
    services.TransmitPerformance = [this](TObject* s) { Pfm_Data_Send_BtnClick(s); };
    services.ReceiveSystem = [this](TObject* s) { DataRcvSysClick(s); };
    services.TransmitSystem = [this](TObject* s) { DataSendSysClick(s); };
    // The sequence goes out before its transfer's timer starts: the transfer is watched from here.
    services.FseqTransferMayStart = [this] {
        if (TransferRunning() || !MidiReadyForTransfer(false)) return false;
        WatchTransfer();
        return true;
    };
    services.OpenFseqFile = [this] { return OpenFseqFile(); };
    services.ShowFseqFileError = [] { ShowFseqFileError(); };
    services.StartFseqTransfer = [this](int sizeCode) { StartFseqTransfer(sizeCode); };
    services.ShowFseqMemoryNotice = [this] { TFSEQ_InitInfoForm::ShowNotice(this, ProgramFolder); };
    services.ReceiveAllRunning = [this] { return ReceivingAll; };
    PerformancePage = std::make_unique<TPerformancePage>(this, *this, Pfm_TabSheet, ProgramFolder, std::move(services));
}

void TMainForm::RefreshPerformancePages()
{
    PerformancePage->RefreshPerformancePages();
    // The part filter switches travel in the performance; the voice page shows its voice's too.
    VoicePage->DisplayPartFilterSwitch();
}
void TMainForm::DisplayPerformancePart(int p) { PerformancePage->DisplayPerformancePart(p); }

void TMainForm::DisplayPerformanceFseqCtrlSystem() { PerformancePage->DisplayPerformanceFseqCtrlSystem(); }
void TMainForm::Pfm_Fseq_FseqIntClearClick(TObject* Sender) { PerformancePage->Pfm_Fseq_FseqIntClearClick(Sender); }

void TMainForm::RefreshVoicePages(int part) { VoicePage->RefreshVoicePages(part); }

// The voice sheet is its own page (voice/); the window lends it the pictures, the Edit menu's
// operator items and the voice transfers.
void TMainForm::CreateVoicePage()
{
    TVoicePageServices services;
    services.SetPartFilterSwitch = [this](int part, int32_t on) { SetPartFilterSwitch(part, on, false); };
    services.AlgorithmPicture = [this](int a) -> const TBitmap* {
        return a >= 1 && a <= 88 ? AlgorithmPictures[size_t(a - 1)].get() : nullptr;
    };
    services.ShowOperatorMenuItems = [this](bool visible) { SetOperatorEditItemsVisible(visible); };
    services.Vc_GetDataBtnClick = [this](TObject* s) { Vc_GetDataBtnClick(s); };
    services.Vc_SendDataBtnClick = [this](TObject* s) { Vc_SendDataBtnClick(s); };
    services.OperatorTabMemory = &OperatorTabMemory;
    services.ProgramFolder = ProgramFolder;
    VoicePage = std::make_unique<TVoicePage>(this, *this, Vc_TabSheet, std::move(services));
}
