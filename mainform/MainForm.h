// The main window: owns the edit buffer (through TMainData), the catalogue arrays, the algorithm
// pictures, the MIDI devices and every control of the pages.
#pragma once

#include "core/MainData.h"
#include "core/transport/MidiTransport.h"
#include "mainform/keyboard/midikey.h"
#include "ui/UI.h"

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class MidiBackend;
}
class TDataBulkDump;
class TPerformancePage;
class TVoicePage;

// The file name Save As and the MIDI file export propose from a name of the data: the name with
// blanks and control characters taken off both ends and every character a file name cannot hold
// ("/" would choose a folder) made "_", then `extension`.
std::string ProposedFileName(const std::string& name, const char* extension);

class TMainForm : public TForm, public TMainData, public TKeyboardHost {
public:
    // Builds the window and its pages, loads the 88 algorithm pictures from `programFolder`
    // (alg/alg_N.jpg), fills the catalogue and gives the edit buffer its initial values.
    // A picture that cannot be loaded raises an exception naming the file.
    TMainForm(TComponent* AOwner, platform::MidiBackend& midiBackend, const std::filesystem::path& programFolder);
    ~TMainForm() override;

    // ---- state ------------------------------------------------------------------------------
    std::filesystem::path ProgramFolder;
    std::string SettingsFolder;
    std::array<std::unique_ptr<TJPEGImage>, 88> AlgorithmPictures;
    // MIDI input reaches the window through this: the inputs' threads signal it, and the UI
    // thread then takes what came (TakeMidiInput). Declared before the transport, which uses it
    // until its inputs are closed.
    TWakeSource MidiInputWake{[this] { TakeMidiInput(); }};
    TMidiTransport Midi;
    // While keyboard thru messages wait for a full output, it is tried again at this pace (a
    // JACK output empties its buffer every cycle, a few milliseconds).
    TTimer* MidiThruRetry = nullptr;

    // ---- controls ---------------------------------------------------------------------------
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* FileExitItem = nullptr;
    TPageControl* FS1R_PageControl = nullptr;
    TTabSheet* Pfm_TabSheet = nullptr;
    TTabSheet* Vc_TabSheet = nullptr;

    // ---- services -----------------------------------------------------------------------------
    void SendSysEx(const uint8_t* data, int length) override;
    void SendNoteOn(int channel, int note, int velocity) override;
    void SendControlChange(int channel, int controller, int value) override;
    void MarkDataChanged() override;
    // Shows a received short message in the caption (timing clock and active sensing leave it).
    void ShowReceivedMidi(uint8_t status, uint8_t data1, uint8_t data2);
    // MIDI input, on the UI thread: long messages go to the dump receiver, short ones to the
    // caption monitor.
    void Dispatch(const uint8_t* data, int length);
    void TakeMidiInput();

    // ---- handlers -----------------------------------------------------------------------------
    void FileExit(TObject* Sender);

    // ---- virtual keyboard, About window and help commands -------------------------------------
    // The keyboard window while it exists (it registers itself): the menu commands and the
    // transfers reach it here.
    TV_MIDIKeyboard* V_MIDIKeyboard = nullptr;
    void KeyboardWindowBuilt(TV_MIDIKeyboard* window) override { V_MIDIKeyboard = window; }
    void KeyboardWindowGone(TV_MIDIKeyboard* window) override
    {
        if (V_MIDIKeyboard == window) V_MIDIKeyboard = nullptr;
    }
    // The keyboard's status line names its notes as the part page's note lists do.
    std::string NoteName(int note) const override;
    TMenuItem* Options1 = nullptr;
    TMenuItem* VirtualKey = nullptr;
    TMenuItem* Help1 = nullptr;
    TMenuItem* PanicCancel = nullptr;
    TMenuItem* HelpAboutItem = nullptr;
    void VirtualKeyClick(TObject* Sender);
    void PanicCancelClick(TObject* Sender);
    void HelpAbout(TObject* Sender);
    // Commands for a help engine, which Linux does not have: they do nothing.
    void HelpContents(TObject* Sender);
    void HelpSearch(TObject* Sender);
    void HelpHowToUse(TObject* Sender);

    // ---- transfers, mutes and note reserve (mainform/Transfers.cpp, mainform/NoteReserve.cpp) -
    // Step counters in Tag; each timer is idle until a command starts it at Tag 0.
    TTimer* Pfm_Timer = nullptr;
    TTimer* Vc_Timer = nullptr;
    TTimer* Sys_Timer = nullptr;
    TTimer* AllSendTimer = nullptr;
    TTimer* AllRcvTimer = nullptr;
    TMenuItem* Tools1 = nullptr;
    TMenuItem* DataRcv = nullptr;
    TMenuItem* DataRcvPfm = nullptr;
    TMenuItem* DataRcvVc1 = nullptr;
    TMenuItem* DataRcvVc2 = nullptr;
    TMenuItem* DataRcvVc3 = nullptr;
    TMenuItem* DataRcvVc4 = nullptr;
    TMenuItem* DataRcvSys = nullptr;
    TMenuItem* DataRcvAll = nullptr;
    TMenuItem* DataSend = nullptr;
    TMenuItem* DataSendPfm = nullptr;
    TMenuItem* DataSendVc1 = nullptr;
    TMenuItem* DataSendVc2 = nullptr;
    TMenuItem* DataSendVc3 = nullptr;
    TMenuItem* DataSendVc4 = nullptr;
    TMenuItem* DataSendSys = nullptr;
    TMenuItem* DataSendAll = nullptr;
    // The progress window while a whole-buffer transfer runs (owned by this window).
    TDataBulkDump* DataBulkDump = nullptr;
    // Set from the start of a timed transfer to its end: both windows disabled, thru cut.
    bool TransferLocked = false;
    // Set from Data Receive > ALL until its windows come back (at its end, after the memory
    // notice; at its stop; when a step fails). Its timer is off during its last step already.
    bool ReceivingAll = false;
    // Whether the receive-all that runs is start-up's own, and whether it has stored a block so
    // far. One that ends early after storing a block leaves the pages showing the edit buffer,
    // and, unless it is start-up's, the data marked changed: a save then writes what is shown,
    // and nothing of a person's own data is replaced unasked.
    bool ReceiveAllAtStartUp = false;
    bool ReceiveAllStoredABlock = false;

    // A formant sequence sent to the instrument's memory or edit buffer: the lock and the progress
    // window while the instrument takes it in, eleven ticks of 200 ms per memory it fills.
    TTimer* FSEQTimer = nullptr;
    void FSEQTimerTimer(TObject* Sender);
    void StartFseqTransfer(int sizeCode);

    void Pfm_TimerTimer(TObject* Sender);
    void Vc_TimerTimer(TObject* Sender);
    void Sys_TimerTimer(TObject* Sender);
    void AllSendTimerTimer(TObject* Sender);
    void AllRcvTimerTimer(TObject* Sender);
    // Receive commands (menu items and page buttons): they mark the data changed at once.
    void Pfm_Data_Request_BtnClick(TObject* Sender);
    void Vc_GetDataBtnClick(TObject* Sender);
    void DataRcvVc1Click(TObject* Sender);
    void DataRcvVc2Click(TObject* Sender);
    void DataRcvVc3Click(TObject* Sender);
    void DataRcvVc4Click(TObject* Sender);
    void DataRcvSysClick(TObject* Sender);
    void DataRcvAllClick(TObject* Sender);
    // Send commands: the dump, then (after 1000 ms) the mutes of what was sent.
    void Pfm_Data_Send_BtnClick(TObject* Sender);
    void Vc_SendDataBtnClick(TObject* Sender);
    void DataSendVc1Click(TObject* Sender);
    void DataSendVc2Click(TObject* Sender);
    void DataSendVc3Click(TObject* Sender);
    void DataSendVc4Click(TObject* Sender);
    void DataSendSysClick(TObject* Sender);
    void DataSendAllClick(TObject* Sender);

    // The voice fetch after a program change: requests the voice of `part` on Vc_Timer (the new
    // voice's levels replace those under the operator mutes). False while another transfer runs
    // or without open devices (nothing is said then: the edit itself has been made).
    bool StartVoiceFetch(int part);
    // Whether the output to the instrument is open, and with `receives` its input too.
    bool MidiDevicesOpen(bool receives) const;
    // The check of every command whose work is a transfer to or from the instrument: true when
    // the devices it needs are open; otherwise it says that no MIDI device is open and how to
    // choose one, and the command starts nothing.
    bool MidiReadyForTransfer(bool receives);
    // The check of every edit, note and controller sent: true when the output is open. Otherwise
    // the edit stays in the editor and reaches nothing; the first one after the output closed
    // says so (as a transfer would), the others of the same closed spell say nothing.
    bool MidiOutputOpenOrTold();
    // True from a transfer's command to its last step.
    bool TransferRunning() const;
    // The lock of a timed transfer; taking it again while held does nothing.
    void LockTransfer();
    void RestoreKeyboardThru();
    void UnlockWindows();
    // The progress window: created on first use, its text set and shown; the bar stepped; freed.
    void ShowProgress(const char* text);
    void StepProgress();
    void FreeProgress();

    // The editor's mutes again after a dump has undone them on the instrument; with
    // TMutes::Stored the stored values of the same words instead.
    void SendPartMuteVolumes(TMutes mutes = TMutes::Applied);
    void SendOperatorMutes(int part, TMutes mutes = TMutes::Applied);
    // The mutes live in this run of the editor only: the instrument gets back the stored volumes,
    // levels and switches they silence (at the end, so that the next start reads real values, and
    // before the devices are given up for another choice). With TMutes::Applied the words go as
    // the mutes silence them: the instrument chosen again is muted as the editor shows.
    void SendMutesOnInstrument(TMutes mutes);
    void LiftMutesOnInstrument() { SendMutesOnInstrument(TMutes::Stored); }
    // The note budget: filter-on parts share 16 notes, filter-off parts the other 16, all 32
    // while no filter is on. Balance shares them out after a filter switch went on (and sends
    // the reserves, 25 ms apart); the limits are each part's largest reserve.
    void BalanceNoteReserve();
    void UpdateNoteReserveLimits();
    // A part's filter switch set from either page: the part's word and its voice's copy, the note
    // budget (balanced when the switch went on, the limits always), then the switch's message
    // 3p 00 07 and the data marked changed. When the limits lower the part sheet's reserve slider,
    // its handler sends the lowered reserve if `reserveSliderSends` (the part sheet's own switch);
    // from the Voice page the switch's message goes alone and the lowered reserve stays in the data.
    void SetPartFilterSwitch(int part, int32_t on, bool reserveSliderSends);

    // ---- the pages and what the window asks of them (mainform/PageServices.cpp) ----------------
    // The performance sheet (performance/PerformancePage.h) and the voice sheet
    // (voice/VoicePage.h), with their controls.
    std::unique_ptr<TPerformancePage> PerformancePage;
    std::unique_ptr<TVoicePage> VoicePage;
    // The part the part page shows and the voice the voice page shows, 0..3.
    int ShownPart() const;
    int ShownVoice() const;
    // Load the pages' controls from ParameterData; they send nothing and mark nothing.
    void RefreshPerformancePages();
    void DisplayPerformancePart(int part);
    void DisplayPerformanceFseqCtrlSystem();
    void RefreshVoicePages(int part);
    // Forgets what the internal formant-sequence memories hold and asks the user to clear them
    // on the instrument (a modal notice).
    void Pfm_Fseq_FseqIntClearClick(TObject* Sender);

    // ---- files, MIDI setup, start-up and closing, initialize commands --------------------------
    // (mainform/Files.cpp, FirstShow.cpp, InitCommands.cpp, dialogs/MIDISetupform.cpp)
    // The program's arguments, set before the first show; the first one names a save file.
    std::vector<std::string> CommandLine;
    // For each voice tab, the operator tab last shown; the first show sets all four to 0.
    std::array<int32_t, 4> OperatorTabMemory{};
    TOpenDialog* OpenDialog = nullptr;
    TSaveDialog* SaveDialog = nullptr;
    TMenuItem* MIDI_config = nullptr;
    TMenuItem* Initialize1 = nullptr;
    // Before the edit buffer is replaced or the program ends: with unsaved changes, asks
    // whether to save them (Yes runs Save As). True when the command may go on: the changes
    // were saved or are not wanted, or there were none.
    bool SaveChangesFirst(const char* caption, int icon);
    // File > Open, Save, Save As. A save that cannot be written leaves DataChanged set.
    void FileOpenItemClick(TObject* Sender);
    void FileSaveItemClick(TObject* Sender);
    void FileSaveAs(TObject* Sender);
    // Options > MIDI Interface Setting: the modal setup dialog; DeviceNumber changes on OK only.
    void MIDI_configClick(TObject* Sender);
    // OnShow, OnCloseQuery and OnClose of the main window.
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    // Tools > Initialize; InitAllClick is also File > New.
    void InitPfmClick(TObject* Sender);
    void InitVc1Click(TObject* Sender);
    void InitVc2Click(TObject* Sender);
    void InitVc3Click(TObject* Sender);
    void InitVc4Click(TObject* Sender);
    void InitSysClick(TObject* Sender);
    void InitAllClick(TObject* Sender);
    // The settings file: SettingsFolder (found on first use) with the extension ".INI".
    std::filesystem::path SettingsIniFile();

    // ---- copy, paste, undo, store, MIDI file export, formant-sequence conversion ---------------
    // (mainform/EditCommands.cpp, Store.cpp, SmfExport.cpp, FseqConvert.cpp)
    TMenuItem* EditE1 = nullptr;
    TMenuItem* Undo = nullptr;
    TMenuItem* CopyC1 = nullptr;
    TMenuItem* Paste = nullptr;
    TMenuItem* N9 = nullptr;
    TMenuItem* OPCopy = nullptr;
    TMenuItem* OPPaste = nullptr;
    TMenuItem* Store = nullptr;
    TMenuItem* ExportSMF = nullptr;
    TMenuItem* CnvSyx2SMF = nullptr;
    TSaveDialog* SaveSMFDialog = nullptr;
    // Shared with the formant-sequence page, which opens the same files.
    TOpenDialog* Pfm_Fseq_SyxOpenDialog = nullptr;
    // The sequence file chosen in that dialog, read whole; nothing when the dialog is cancelled,
    // or when the file cannot be read, which the file-error box then says.
    std::optional<std::vector<uint8_t>> OpenFseqFile();
    static void ShowFseqFileError();
    // The program's own clipboards and undo levels: copies, never saved, kept across loads.
    PfmPart PartClipboard{};
    VoiceRecord VoiceClipboard{};
    VoicedOperator VoicedOpClipboard{};
    UnvoicedOperator UnvoicedOpClipboard{};
    std::array<int32_t, 3> PasteKeptWords{};
    int32_t CopySourcePart = 0;
    int32_t CopySourceVoice = 0;
    int32_t CopySourceOperator = 0; // operator tab: 0..7 voiced, 8..15 unvoiced
    uint8_t PasteBankSwitched = 0;
    PfmPart PartUndoBuffer{};
    VoiceRecord VoiceUndoBuffer{};
    int32_t UndoPart = 0;
    int32_t UndoVoice = 0;
    // 1 once a copy has filled the clipboard; 1 while an undo buffer holds a paste not undone.
    uint8_t PartCopied = 0, VoiceCopied = 0, OperatorCopied = 0;
    uint8_t PartUndoHeld = 0, VoiceUndoHeld = 0;
    int32_t StoreNumberResult = 0; // the number chosen (0-based) or StoreCancelled
    int32_t StoreKind = 0;         // 0 performance, 1 voice
    int32_t StoreMemoryMode = 0;
    int32_t FseqSlotMode = 0;    // format code of the sequence file converted last
    int32_t FseqStoreNumber = 0; // 0 Current, n Int n
    void CopyC1Click(TObject* Sender);
    void PasteClick(TObject* Sender);
    void UndoClick(TObject* Sender);
    void OPCopyClick(TObject* Sender);
    void OPPasteClick(TObject* Sender);
    // Tools > Store: the number from the store dialog, then the dump into internal memory.
    void StorePfmClick(TObject* Sender);
    void StoreVc1Click(TObject* Sender);
    void StoreVc2Click(TObject* Sender);
    void StoreVc3Click(TObject* Sender);
    void StoreVc4Click(TObject* Sender);
    void AskStoreNumber(int32_t kind);
    void ExportSMFClick(TObject* Sender);
    void CnvSyx2SMFClick(TObject* Sender);
    // What these commands need of the pages: whether the performance page shows its part
    // sub-page; the operator tab the voice page shows (0..15); the text of the performance name
    // box; what the four part-mute buttons send when run in turn; the voice page's sixteen
    // operator-mute handlers run in turn for the voice it shows; and the Edit items N9, Op Copy
    // and Op Paste that the voice page shows and the part tab hides.
    bool PartPageShown() const;
    int ShownOperator() const;
    std::string PerformanceNameText() const;
    void ReapplyPartMutes();
    void ReapplyOperatorMutes();
    void SetOperatorEditItemsVisible(bool visible);

private:
    // Building the window: its controls, pages, menus and pictures.
    void CreateControls();
    void CreateKeyboardAndHelpControls();
    void CreatePageServiceControls();
    void CreatePerformancePage();
    void CreateVoicePage();
    void CreateTransferControls();
    void CreateFileItems();
    void CreateSetupItems();
    void CreateInitializeItems();
    void CreateEditCommandItems();
    void CreateStoreItems();
    void CreateMidiFileItems();
    void LoadAlgorithmPictures();
    // The menu bar title of that name, made (in the bar's order) when missing.
    TMenuItem* MenuBarTitle(const std::string& name, const std::string& caption);

    // Files, start-up and initialize commands.
    // Reads and checks a save file, showing the box of what is wrong; true when `image` holds it.
    bool ReadFseFile(const std::string& path, std::vector<uint8_t>& image);
    // Takes a checked save file into the edit buffer as it is (but for words brought into range,
    // FileWordsBroughtIntoRange) and refreshes both page sets.
    void TakeFseFile(const std::string& path, const std::vector<uint8_t>& image);
    bool FileWordsBroughtIntoRange = false;
    // Once the file taken has been shown and sent: its data are unchanged, or changed where words
    // were brought into range.
    void ShowTakenFileData();
    // Both of these at start-up; any failure is shown in its box. False when nothing was loaded.
    bool LoadCommandLineFile(const std::string& path);
    void ShowDataUnchanged();
    void InitVoiceCommand(int v);
    bool FirstShowDone = false;

    // Transfers.
    bool StartReceive(TTimer& timer, int32_t target, bool keepMutedValues);
    // Queues the input buffer for the dump of ReceiveTarget.
    void StartDumpReceive();
    void ReceiveCommand(TTimer& timer, int32_t target);
    void SendBlockCommand(int32_t kind);
    void RunTransferStep(TTimer& timer, void (TMainForm::*step)(TTimer&));
    void SingleReceiveStep(TTimer& timer);
    void SendAllStep(TTimer& timer);
    void FseqSendStep(TTimer& timer);
    void ReceiveAllStep(TTimer& timer);
    // Data Receive > ALL, or start-up's receive-all (`atStartUp`).
    void StartReceiveAll(bool atStartUp);
    // A receive-all that ends before its last block (no answer, or a step that failed): the
    // blocks it stored stay and are shown.
    void KeepWhatReceiveAllStored();

    // What the MIDI system may have lost during a transfer (a JACK server in its asynchronous
    // mode loses the messages that cross a cycle a reader missed). A transfer takes the counts
    // at its start; its dump requests are counted apart.
    void WatchTransfer();
    TMidiLossMark FTransferStart;
    int FRequestsSent = 0;
    // Sends the dump request of `target`; `again` for the same block asked once more.
    void RequestDump(int32_t target, bool again = false);
    std::uint64_t FLostAtRequest = 0;
    int FAsksAgain = 0;
    // At the check of a request's answer, none having come: where the MIDI system lost cycles
    // since the request, the block is asked for again (a few times at most) before the cable is
    // blamed. True when it was asked again.
    bool AskAgainAfterLostCycles();
    // At a transfer's end (`stopped`: it ended early, without an answer): once what was sent has
    // crossed, says that the instrument may have missed messages where the MIDI system lost
    // cycles meanwhile or could not tell, and the transfer sent more than requests or stopped.
    void TellMessagesMayBeLost(bool stopped);

    // Store.
    void StoreVoice(int part);

    // The edit buffer as it stood when the data were last unchanged: at the start, when a file
    // is taken in or saved, at File > New, after a transfer that left the data unchanged. A send
    // that fails outside a transfer marks the data changed only when an edit was stored since:
    // the edit's own mark, after its send, never comes. What relays stored data or none (a file,
    // a request, a dump, a mute, a store into the instrument's memory) marks nothing.
    TParameterData FUnchangedData{};
    void KeepUnchangedData();
    bool EditStoredUnmarked() const;

    // The opening of the output (MidiOutOpenings) after which the person was told that an edit
    // reached nothing; none yet.
    std::optional<unsigned> FNoOutputToldAt;
};
