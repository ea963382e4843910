// The performance sheet of the main window: header, part page, formant-sequence / controller /
// system page and effect page. The page owns its controls (named as the form names them, owned
// by the main window so that FindComponent finds them) and their handlers; it reads and writes
// the main window's edit buffer through TMainData and asks the window for the few services that
// live there (TPerformanceServices).
//
// One class, one section per sheet below; each sheet has its own code and layout files:
//   frame, header, refresh, pair, choices   PerformancePage.cpp, PerformanceLayout.cpp
//   part sheet                              PerformancePartPage.cpp, PerformancePartLayout.cpp
//   formant sequence, controllers, system   PerformanceFseqPage.cpp, PerformanceFseqLayout.cpp
//   effects and EQ                          PerformanceEffectPage.cpp, PerformanceEffectLayout.cpp
//
// Rules kept here:
// - Display routines load controls under UpdatingDisplay and send and mark nothing; every
//   storing handler returns at once while UpdatingDisplay is set.
// - The part is Pfm_PartTab.TabIndex at the moment of each event; nothing caches it.
// - RefreshPerformancePages always leaves UpdatingDisplay at 0, also when a display routine
//   throws (the exception still reaches the caller).
#pragma once

#include "core/MainData.h"
#include "core/pages/Choice.h"
#include "core/pages/ValuePair.h"
#include "performance/PerformancePairs.h"
#include "ui/UI.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the performance page needs of the main window beyond TMainData.
struct TPerformanceServices {
    // The four parts' note budget (Pfm_Part_ReserveNoteBar is the page's; the routines may set it).
    std::function<void()> BalanceNoteReserve;
    std::function<void()> UpdateNoteReserveLimits;
    // The filter switch of part p set to on (1) or off (0): both words, the note budget, the
    // switch's message; a reserve the limits lower below the reserve slider is sent by the slider.
    std::function<void(int part, int32_t on)> SetPartFilterSwitch;
    // Starts fetching the voice part p (0..3) plays: the voice fetch timer of the window.
    std::function<void(int part)> StartVoiceFetch;
    // Shows or hides the voice page's operator copy and paste items (N9, OPCopy, OPPaste).
    std::function<void(bool visible)> ShowOperatorMenuItems;
    // The receive and transmit buttons of the header and of the system group.
    TNotifyEvent ReceivePerformance, TransmitPerformance, ReceiveSystem, TransmitSystem;
    // The formant-sequence memory write and test: whether a transfer may start now (no other
    // runs and the output is open; the window says why not); the file chosen in the window's
    // sequence-file dialog, read whole (nothing when cancelled or unreadable, which the window
    // has told); the file-error box; the transfer timer with its lock and progress window for
    // a sequence of that size code that has just gone out; the modal notice that asks to
    // initialise the instrument's formant-sequence memory.
    std::function<bool()> FseqTransferMayStart;
    std::function<std::optional<std::vector<uint8_t>>()> OpenFseqFile;
    std::function<void()> ShowFseqFileError;
    std::function<void(int sizeCode)> StartFseqTransfer;
    std::function<void()> ShowFseqMemoryNotice;
    // Whether a receive-all runs now, from its command to the end of its last step (where it may
    // clear the memory list): only then do the sequence choices follow SilentReceiveAll.
    std::function<bool()> ReceiveAllRunning;
};

class TPerformancePage {
public:
    // Builds every control of the sheet under `sheet`, owned by `owner` (the main window).
    // Pictures come from programFolder/graphics; a missing one leaves its image empty.
    TPerformancePage(TComponent* owner, TMainData& data, TTabSheet* sheet, const std::filesystem::path& programFolder,
                     TPerformanceServices services = {});
    ~TPerformancePage();
    TPerformancePage(const TPerformancePage&) = delete;
    TPerformancePage& operator=(const TPerformancePage&) = delete;

    TPerformanceServices Services;

    // ==== frame, header, refresh and the pair road ==============================================

    void RefreshPerformancePages();
    void Pfm_PartTabChange(TObject* Sender);
    void DisplayPerformanceCommon();

    // ---- the value pairs -----------------------------------------------------------------------
    TValuePair& Pair(PfmPair id) { return *FPairs[static_cast<std::size_t>(id)]; }
    // The text a row shows for a position, and the message its slider sends for it.
    std::string PairText(PfmPair id, int position) const;
    ParameterChangeMessage PairMessage(PfmPair id, int position);
    // The storing road of every pair's slider (Pfm_VolumeBarChange, Pfm_Part_FormantBarChange, ...).
    void PairBarChange(PfmPair id);

    // ---- the choices -----------------------------------------------------------------------------
    TChoice& Choice(PfmChoice id) { return FChoices[static_cast<std::size_t>(id)]; }
    // The storing road of every choice (Pfm_CategoryChange, Pfm_Part_MonoPolyClick,
    // Pfm_SystemVelCrvClick, ...): nothing while a display runs or with no item; otherwise the item
    // (plus the row's offset) into the word of the part, set or block the row shows, the controls
    // and pictures that follow the value, the word sent, the data marked changed.
    void ChoiceChange(PfmChoice id);

    // ---- header handlers -----------------------------------------------------------------------
    void Pfm_NameChange(TObject* Sender);
    void Pfm_PanBarChange(TObject* Sender);
    void Pfm_PanChange(TObject* Sender);
    void Pfm_PartMuteBtn1Click(TObject*) { PartMuteClick(0); }
    void Pfm_PartMuteBtn2Click(TObject*) { PartMuteClick(1); }
    void Pfm_PartMuteBtn3Click(TObject*) { PartMuteClick(2); }
    void Pfm_PartMuteBtn4Click(TObject*) { PartMuteClick(3); }

    // ---- controls: the frame and the header ----------------------------------------------------
    TTabSheet* Pfm_TabSheet;
    TGroupBox* Pfm_Name_Grp = nullptr;
    TEdit* Pfm_Name = nullptr;
    TComboBox* Pfm_Category = nullptr;
    TGroupBox* Pfm_PartMute_Grp = nullptr;
    std::array<TSpeedButton*, 4> Pfm_PartMuteBtn{}; // Pfm_PartMuteBtn1 .. Pfm_PartMuteBtn4
    TGroupBox* Pfm_Ch_Grp = nullptr;
    TComboBox* Pfm_Ch = nullptr;
    TGroupBox* Pfm_Reverb_Grp = nullptr;
    TGroupBox* Pfm_Volume_Grp = nullptr;
    TGroupBox* Pfm_Pan_Grp = nullptr;
    TScrollBar* Pfm_PanBar = nullptr;
    TComboBox* Pfm_Pan = nullptr;
    TGroupBox* Pfm_Noteshift_Grp = nullptr;
    TGroupBox* Pfm_VariationRtn_Grp = nullptr;
    TGroupBox* RcvSendGrp = nullptr;
    TButton* Pfm_Data_Request_Btn = nullptr;
    TButton* Pfm_Data_Send_Btn = nullptr;
    TPageControl* Pfm_PageControl = nullptr;
    TTabSheet* Pfm_Part_TabSheet = nullptr;
    TTabSheet* Pfm_FSEQ_Ctrl_TabSheet = nullptr;
    TTabSheet* Pfm_Effect_TabSheet = nullptr;

private:
    TComponent* FOwner;
    TMainData& FData;
    std::filesystem::path FProgramFolder;
    std::vector<std::unique_ptr<TValuePair>> FPairs;
    std::vector<TChoice> FChoices;
    std::vector<TControl*> FTopControls; // deleted with the page; their children go with them

    void CreateHeader();
    void CreatePair(PfmPair id, TWinControl* parent, const TPairPlace& place);
    // Binds every handler the page has, sheet by sheet (the pairs' sliders are bound by CreatePair).
    void BindHandlers();
    void BindHeader();
    // A handler that runs a service of the window, when the window gives it.
    TNotifyEvent ServiceHandler(TNotifyEvent TPerformanceServices::*service);

    void BindChoices();
    // The word of a row: at `word` in the record's instance the row shows (the part tab's part,
    // the fixed part or set `index`, the effect tab's block); nullptr for an effect slot while the
    // part sends show.
    int32_t* WordOf(PfmRecord record, int index, std::size_t word);
    int32_t* PairWord(PfmPair id);
    void ChoiceFollows(const PfmChoiceDescriptor& d, int index);
    // A choice loaded from its word (under UpdatingDisplay).
    void LoadChoice(PfmChoice id);
    void SetPairEnabled(PfmPair id, bool on) { Pair(id).SetEnabled(on); }
    void PartMuteClick(int p);

public:
    // ==== the part sheet ========================================================================

    void DisplayPerformancePart(int p);
    // The part the part page shows (Pfm_PartTab.TabIndex, brought into 0..3).
    int CurrentPart() const;

    void Pfm_Part_BankNumChange(TObject* Sender);
    void Pfm_Part_PrgNumChange(TObject* Sender);
    void Pfm_Part_RcvChChange(TObject* Sender);
    void Pfm_Part_RcvChMaxChange(TObject* Sender);
    void Pfm_Part_FilterSwClick(TObject* Sender);
    void Pfm_Part_PanBarChange(TObject* Sender);
    void Pfm_Part_PanChange(TObject* Sender);

    TTabControl* Pfm_PartTab = nullptr;
    TGroupBox* Pfm_Part_Parameter_Grp = nullptr;
    TLabel* Pfm_Part_BankNumText = nullptr;
    TComboBox* Pfm_Part_BankNum = nullptr;
    TLabel* Pfm_Part_PrgNumText = nullptr;
    TComboBox* Pfm_Part_PrgNum = nullptr;
    TLabel* Pfm_Part_RcvChText = nullptr;
    TComboBox* Pfm_Part_RcvCh = nullptr;
    TLabel* Pfm_Part_RcvChMaxText = nullptr;
    TComboBox* Pfm_Part_RcvChMax = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TRadioGroup* Pfm_Part_InsEffectSw = nullptr;
    TGroupBox* Pfm_Part_ToneGrp = nullptr;
    TGroupBox* Pfm_Part_ToneParaGrp = nullptr;
    TGroupBox* Pfm_Part_LFO1Grp = nullptr;
    TGroupBox* Pfm_Part_Filter_Grp = nullptr;
    TRadioGroup* Pfm_Part_FilterSw = nullptr;
    TGroupBox* Pfm_Part_EGGrp = nullptr;
    TGroupBox* Pfm_Part_PEGGrp = nullptr;
    TGroupBox* Pfm_Part_PitchGrp = nullptr;
    TRadioGroup* Pfm_Part_PortaSw = nullptr;
    TRadioGroup* Pfm_Part_PortaMode = nullptr;
    TGroupBox* Pfm_Part_OtherGrp = nullptr;
    TRadioGroup* Pfm_Part_MonoPoly = nullptr;
    TRadioGroup* Pfm_Part_MonoPriority = nullptr;
    TRadioGroup* Pfm_Part_SustainRcvSw = nullptr;
    TGroupBox* Pfm_Part_VelocityGrp = nullptr;
    TGroupBox* Pfm_Part_ExpressionGrp = nullptr;
    TGroupBox* Pfm_Part_NoteGrp = nullptr;
    TLabel* Pfm_Part_NoteLimitLowText = nullptr;
    TComboBox* Pfm_Part_NoteLimitLow = nullptr;
    TLabel* Pfm_Part_NoteLimitHighText = nullptr;
    TComboBox* Pfm_Part_NoteLimitHigh = nullptr;
    TGroupBox* Pfm_Part_PanGrp = nullptr;
    TLabel* Pfm_Part_PanText = nullptr;
    TScrollBar* Pfm_Part_PanBar = nullptr;
    TComboBox* Pfm_Part_Pan = nullptr;
    // The reserve-note pair, reached by the note-budget routines of the window.
    TScrollBar* Pfm_Part_ReserveNoteBar = nullptr;
    TEdit* Pfm_Part_ReserveNoteEdit = nullptr;

private:
    void CreatePartPage();
    void BindPartPage();
    void FillProgramList(int bank);
    // The bank and program lists from a part's words; the names of bank Int follow MemoryMode.
    void ShowVoiceSelection(const PfmPart& part);
    int OccupiedChannels(int exceptPart) const;
    // The Max list on a part's receive-channel maximum: a channel, or "off" as the instrument has
    // it (offered only while the part holds it, from the instrument or a file).
    void ShowReceiveMaximum(int32_t max);
    // While the insertion effect is on, it takes the part's dry level and sends: their rows rest.
    void RestPartSendRows(bool insertion);

public:
    // ==== formant sequence, controller sets, system =============================================

    // The sheet from the edit buffer, with every enable that follows the data, the header's
    // control channel, which travels in the system block, and the part sheet's program list,
    // whose internal names follow the block's memory mode. Under UpdatingDisplay (the caller's).
    void DisplayPerformanceFseqCtrlSystem();
    // The eight destination lists rebuilt for the stored insertion type ("off", its 14
    // destinations, the 33 common ones), each set's stored destination selected again.
    void FillDestinationLists();

    void Pfm_FSEQ_Ctrl_TabSheetShow(TObject* Sender);
    void Pfm_Fseq_FseqBankClick(TObject* Sender);
    // The selectors load the chosen sequence's settings into the controls only, and send its number.
    void Pfm_Fseq_FseqIntChange(TObject* Sender);
    void Pfm_Fseq_FseqPreChange(TObject* Sender);
    void Pfm_Fseq_SpeedSelectClick(TObject* Sender);
    // The internal memories: write a sequence file into the selected one (and the following
    // ones its size fills), send one to the edit buffer to hear it, forget them all.
    void Pfm_Fseq_FseqIntWriteClick(TObject* Sender);
    void Pfm_Fseq_FseqTestBtnClick(TObject* Sender);
    void Pfm_Fseq_FseqIntClearClick(TObject* Sender);
    // Controller set `set` (0..7): any of its 14 source boxes, any of its 4 part boxes
    // (Pfm_Ctrl_Chk1_KN1Click, Pfm_Ctrl_Chk1_P1Click, ...).
    void Pfm_Ctrl_ChkSourceClick(int set);
    void Pfm_Ctrl_ChkPartClick(int set);
    // The Default button of the controller assignments.
    void Pfm_Cntl_AssignDefaultBtnClick(TObject* Sender);

    TGroupBox* Pfm_Fseq_Grp = nullptr;
    TRadioGroup* Pfm_Fseq_Part = nullptr;
    TGroupBox* Pfm_FseqSelectGrp = nullptr;
    TRadioGroup* Pfm_Fseq_FseqBank = nullptr;
    TComboBox* Pfm_Fseq_FseqInt = nullptr;
    TComboBox* Pfm_Fseq_FseqPre = nullptr;
    TButton* Pfm_Fseq_FseqIntWrite = nullptr;
    TButton* Pfm_Fseq_FseqTestBtn = nullptr;
    TButton* Pfm_Fseq_FseqIntClear = nullptr;
    TRadioGroup* Pfm_Fseq_Mode = nullptr;
    TRadioGroup* Pfm_Fseq_KeyOnTrig = nullptr;
    TGroupBox* Pfm_Fseq_SpeedGrp = nullptr;
    TRadioGroup* Pfm_Fseq_SpeedSelect = nullptr;
    TRadioGroup* Pfm_Fseq_Speedmidi = nullptr;
    TRadioGroup* Pfm_Fseq_Pitch = nullptr;
    TRadioGroup* Pfm_Fseq_LoopMode = nullptr;

    TGroupBox* Pfm_CntlGrp = nullptr;
    TWinControl* Pfm_Cntl_Text = nullptr;  // headings Source, Destination, Depth, Part
    TWinControl* Pfm_Cntl_Text2 = nullptr; // column names KN1 .. PB, P1 .. P4
    TImage* Pfm_Ctrl_SrcImage = nullptr;
    std::array<TLabel*, 8> Pfm_Cntl_VCText{};                       // Pfm_Cntl_VC1Text ..
    std::array<std::array<TCheckBox*, 14>, 8> Pfm_Ctrl_ChkSource{}; // Pfm_Ctrl_Chk1_KN1 .. Pfm_Ctrl_Chk8_PB
    std::array<TComboBox*, 8> Pfm_Ctrl_Dest{};                      // Pfm_Ctrl_Dest1 ..
    std::array<std::array<TCheckBox*, 4>, 8> Pfm_Ctrl_ChkPart{};    // Pfm_Ctrl_Chk1_P1 .. Pfm_Ctrl_Chk8_P4

    TGroupBox* Pfm_SystemGrp = nullptr;
    TGroupBox* Pfm_Cntl_AssignGrp = nullptr;
    std::array<TComboBox*, 12> Pfm_Cntl_Assign{}; // Pfm_Cntl_AssignKN1 .. Pfm_Cntl_AssignFM
    TButton* Pfm_Cntl_AssignDefaultBtn = nullptr;
    TRadioGroup* Pfm_SystemVelCrv = nullptr;
    TRadioGroup* Pfm_SystemDumpInterval = nullptr;
    TRadioGroup* Pfm_SystemRcvNote = nullptr;
    TRadioGroup* Pfm_SystemBCCurve = nullptr;
    TRadioGroup* Pfm_SystemKNCtrlMode = nullptr;
    TRadioGroup* Pfm_SystemRcvKNCtrl = nullptr;
    TRadioGroup* Pfm_SystemTrnKNCtrl = nullptr;
    TRadioGroup* Pfm_SystemRcvBankSelect = nullptr;
    TRadioGroup* Pfm_SystemRcvPgmChange = nullptr;
    TRadioGroup* Pfm_SystemRcvPgmMode = nullptr;
    TGroupBox* Pfm_SystemBulkDumpGrp = nullptr;
    TButton* Pfm_SystemRcvBtn = nullptr;
    TButton* Pfm_SystemSendBtn = nullptr;

private:
    void CreateFseqCtrlSystemPage();
    void BindFseqCtrlSystemPage();
    // A sequence's settings into the controls only (the velocities too when `velocities`), the
    // offset and loop sliders limited to its end step.
    void LoadSequenceSettings(const FseqMemorySlot& settings, bool velocities);
    void SendSequenceNumber(const int32_t& number);
    // Whether a sequence choice now is the silent receive-all's own, which marks nothing.
    bool SilentSequenceChoice() const;
    bool FseqMemoryFree(int memory) const;
    // The enables that follow a value, set both ways; the display and the handlers share them.
    // The memory rule leaves the preset list alone when `withPresets` is false (the sheet's show).
    void SetFseqMemoryEnables(bool withPresets);
    void SetFseqModeEnables();
    void SetControlSetEnables(int set);
    void SetBankSelectEnable();

public:
    // ==== effects and EQ ========================================================================

    // Loads the effect sheet but the EQ: the parts' switches and levels with their enables and
    // routing labels, the individual output, and on tabs 1..3 the block's type list and rows.
    void DisplayEffectPage();
    // Loads the EQ group: shapes, the nine rows, the Q enables and the shape picture.
    void DisplayEqPage();
    // The two drawn overlays of the routing picture: which parts run through the insertion
    // effect, and where the individual output is taken.
    void DrawInsertionRoutingImage();
    void DrawIndividualOutputImage();
    // The file of the shape picture for the two shape radios, and loading it into EQ_GraphImage.
    // A missing or unreadable file leaves the picture empty; the first such failure of a run is
    // reported in a message box naming the file.
    std::filesystem::path EqPictureFile() const;
    void LoadEqPicture();

    void Pfm_Effect_TabChange(TObject* Sender);
    void Pfm_Effect_TabSheetShow(TObject* Sender);
    void Pfm_Effect_TypeChange(TObject* Sender);

    TImage* Pfm_Effect_Image = nullptr;
    TImage* Pfm_Effect_ImageInsSw = nullptr;
    TImage* Pfm_Effect_ImageIndividual = nullptr;
    std::array<TLabel*, 4> Pfm_Effect_ImageDryLvl{};  // Pfm_Effect_ImageDryLvl1 ..
    std::array<TLabel*, 4> Pfm_Effect_ImageRevSend{}; // Pfm_Effect_ImageRevSend1 ..
    std::array<TLabel*, 4> Pfm_Effect_ImageVarSend{}; // Pfm_Effect_ImageVarSend1 ..
    TLabel* Pfm_Effect_ImageInsDryLvl = nullptr;
    TLabel* Pfm_Effect_ImageInsSendtoRev = nullptr;
    TLabel* Pfm_Effect_ImageInsSendtoVar = nullptr;
    TLabel* Pfm_Effect_ImageVarSendtoRev = nullptr;
    TLabel* Pfm_Effect_ImageRevRtn = nullptr;
    TLabel* Pfm_Effect_ImageVarRtn = nullptr;
    TGroupBox* Pfm_Effect_EQGrp = nullptr;
    TImage* EQ_GraphImage = nullptr;
    TGroupBox* Pfm_Effect_EQ_LowGrp = nullptr;
    TGroupBox* Pfm_Effect_EQ_MidGrp = nullptr;
    TGroupBox* Pfm_Effect_EQ_HighGrp = nullptr;
    TRadioGroup* Pfm_Effect_EQ_LowShape = nullptr;
    TRadioGroup* Pfm_Effect_EQ_HighShape = nullptr;
    TTabControl* Pfm_Effect_Tab = nullptr;
    TGroupBox* Pfm_Effect_ParaGrp = nullptr;
    TLabel* Pfm_Effect_TypeText = nullptr;
    TComboBox* Pfm_Effect_Type = nullptr;
    TGroupBox* Pfm_Effect_PartParaGrp = nullptr;
    std::array<TGroupBox*, 4> Pfm_Effect_PParaGrp{}; // Pfm_Effect_P1ParaGrp ..
    std::array<TRadioGroup*, 4> Pfm_Effect_PInsSw{}; // Pfm_Effect_P1InsSw ..
    TRadioGroup* Pfm_Effect_IndividualOutput = nullptr;

private:
    bool FEqPictureReported = false; // a failed shape picture was reported this run

    void CreateEffectPage();
    void BindEffectPage();
    // The block on the effect tab (0 reverb, 1 variation, 2 insertion); -1 on the part sends tab.
    int ShownEffectBlock() const;
    // The effect type stored for a block (brought into the block's types), a row's display kind.
    const TEFXSetup& EffectSetup(int block) const;
    int EffectKind(int block, int row) const;
    // An effect parameter row's text and message, by the shown block's stored type.
    std::string EffectRowText(const PfmPairDescriptor& d, int position) const;
    // A row with a text of its own loaded from its word: the slider first (it keeps the word
    // inside its range), then the text of the position it stands at.
    void LoadTextRow(PfmPair id, int32_t word);
    // The routing-picture label a row writes after its value box (nullptr: none).
    TLabel* RouteLabel(PfmPair id) const;
    void KeepTrailingLevel(PfmPair id);
    // The three level rows of part p (0..3) on the effect sheet.
    static std::array<PfmPair, 3> PartLevelRows(int p);
    // Part p's level rows and routing labels for its insertion switch: disabled and "***" while
    // the switch shows on, else enabled with the stored levels.
    void ShowPartRouting(int p);
};
