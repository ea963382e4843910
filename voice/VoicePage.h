// The Voice page: one voice at a time (Vc_VoiceTab) with its common settings, and one operator
// page (Vc_OperatorTab) serving the eight voiced and eight unvoiced operators.
//
// The page's controls are named as the form names them and owned by the main window (so that
// FindComponent finds them); the page frees them when it goes. It works on the main window's data
// through TMainData: every edit stores the raw control value into the voice's record, sends one
// parameter change and marks the data changed. Almost every number is a slider pair (ValuePair.h)
// described by one row of the pair table (VoicePairs.h); the lists and radio groups that only
// store and send are rows of the choice table. Services of the main window that TMainData lacks
// come in through TVoicePageServices.
#pragma once

#include <filesystem>

#include "core/MainData.h"
#include "core/pages/Choice.h"
#include "core/pages/ValuePair.h"
#include "ui/UI.h"
#include "voice/VoicePairs.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct TVoicePageServices {
    // The picture of algorithm n (1..88); nullptr when there is none.
    std::function<const TBitmap*(int algorithm)> AlgorithmPicture;
    // The Edit menu's operator copy and paste items (N9, OPCopy, OPPaste) shown or hidden.
    std::function<void(bool visible)> ShowOperatorMenuItems;
    // The buttons "Receive" and "Transmit": the main window's voice transfers.
    TNotifyEvent Vc_GetDataBtnClick;
    TNotifyEvent Vc_SendDataBtnClick;
    // The window's memory of the operator tab of each voice tab, which its operator copy and
    // paste read; the page keeps one of its own when there is none.
    std::array<int32_t, 4>* OperatorTabMemory = nullptr;
    // Where the button glyphs are (graphics/ below the program folder).
    std::filesystem::path ProgramFolder;
    // The filter switch of part p (the part of voice p) set to on (1) or off (0): both words, the
    // note budget, the switch's message; a reserve lowered by the limits is not sent.
    std::function<void(int part, int32_t on)> SetPartFilterSwitch;
};

class TVoicePage {
public:
    // Builds every control of the page under `sheet`, owned by `owner` (the main window).
    TVoicePage(TComponent* owner, TMainData& data, TTabSheet* sheet, TVoicePageServices services);
    ~TVoicePage();
    TVoicePage(const TVoicePage&) = delete;
    TVoicePage& operator=(const TVoicePage&) = delete;

    // ---- frame, refresh and displays ---------------------------------------------------------
private:
    std::array<int32_t, 4> FOwnTabMemory{};

public:
    // The operator tab last chosen on each voice tab.
    std::array<int32_t, 4>& OperatorTabMemory;
    // Set once the page has been shown while the data was unchanged.
    uint8_t VoicePageShown = 0;

    // Loads every control of the page from the voice its tab shows (see VoicePage.cpp for why
    // that is the voice shown, whatever `v` says), under UpdatingDisplay.
    void RefreshVoicePages(int v);
    // The part filter switch of the voice shown, which travels in the performance: loaded again
    // under UpdatingDisplay when a performance arrives.
    void DisplayPartFilterSwitch();
    void DisplayVoiceCommon(int v);
    void DisplayVoicedOperator(int v, int op);
    void DisplayUnvoicedOperator(int v, int op);
    void Vc_TabSheetShow(TObject* Sender);
    void Vc_VoiceTabChange(TObject* Sender);
    void Vc_OperatorTabChange(TObject* Sender);

    // The four envelope pictures, drawn from what the page shows.
    void DrawFilterEGGraph();
    void DrawPitchEGGraph();
    void DrawOperatorEGGraph();
    void DrawOperatorFreqEGGraph();

    // ---- handlers with work of their own -------------------------------------------------------
    void Vc_NameChange(TObject* Sender);
    void Vc_VOpFseqSwClick(TObject* Sender);
    void Vc_VOpFormChange(TObject* Sender);
    void Vc_VOpFreqModeClick(TObject* Sender);
    void Vc_VOpFreqCoarseBarChange(TObject* Sender);
    void Vc_VOpFreqFineBarChange(TObject* Sender);
    void Vc_VOpFreqCoarseEditKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void Vc_UOpFseqSwClick(TObject* Sender);
    void Vc_UOpFreqModeClick(TObject* Sender);
    void Vc_UOpFreqCoarseBarChange(TObject* Sender);
    void Vc_UOpFreqFineBarChange(TObject* Sender);
    void Vc_UOpFreqCoarseEditKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    // Set while the frequency-mode handler moves the unvoiced coarse and fine sliders: their
    // handlers then only write the frequency text.
    uint8_t UnvoicedFreqRestoring = 0;

    // The algorithm box, its up-down and the Select button (VoiceGeneral.cpp).
    void Vc_AlgorithmEditChange(TObject* Sender);
    void Vc_AlgorithmEditKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void Vc_AlgorithmUpDownChanging(TObject* Sender, bool& AllowChange);
    void Vc_AlgorithmBtnClick(TObject* Sender);
    // The algorithm handed to the algorithm selector window and returned by it (1..88).
    int32_t SelectedAlgorithm = 1;
    // The part switch of the filter: the part's filter, shared with the performance page.
    void Vc_FilterPartSwClick(TObject* Sender);

    // The operator mutes: operator k (0..7) of a kind muted or unmuted on the instrument by its
    // button's state (Vc_OpMute_VOp1Click .. Vc_OpMute_UOp8Click), and the two "ALL" buttons.
    // Nothing is stored or marked.
    void Vc_OpMuteClick(bool voiced, int k);
    void V_OPAllMuteButtonClick(TObject* Sender);
    void U_OPAllMuteButtonClick(TObject* Sender);
    // The sixteen mute handlers in turn, voiced 1..8 then unvoiced 1..8, for the voice shown.
    void RunOperatorMuteHandlers();

    // The pair of a row and its slider and value box, the pair of a slider (nullptr for a slider
    // that is no pair's), the list or radio group of a choice.
    TValuePair& Pair(VcPair id) const { return *FPairs[static_cast<std::size_t>(id)]; }
    TScrollBar* Bar(VcPair id) const { return Pair(id).Bar; }
    TEdit* Edit(VcPair id) const { return Pair(id).Edit; }
    TValuePair* Pair(const TScrollBar* bar) const;
    TChoice& Choice(VcChoice id) { return FChoices[static_cast<std::size_t>(id)]; }
    // A table-driven handler by its name, made of the pair's stem and BarChange, EditChange (not
    // for read-only boxes), EditExit (signed boxes) or EditKeyDown, or of a list's name and Change
    // or a radio group's and Click ("Vc_LFO1SpeedBarChange", "Vc_NoteShiftEditExit",
    // "Vc_CategoryChange", "Vc_LFO2PhaseClick"), or a mute button's ("Vc_OpMute_UOp3Click");
    // empty for a name none of them carries.
    TNotifyEvent Handler(const std::string& name);
    TKeyEvent KeyHandler(const std::string& name);

    // ---- the frame's controls ---------------------------------------------------------------
    TTabControl* Vc_VoiceTab{};
    TTabControl* Vc_OperatorTab{};

    // ---- name and category, LFOs ------------------------------------------------------------
    TGroupBox* Vc_NameGrp{};
    TEdit* Vc_Name{};
    TComboBox* Vc_Category{};
    TGroupBox* Vc_CommonGrp{};
    TPageControl* Vc_CommonPageControl{};
    TTabSheet *Vc_LFOTabSheet{}, *Vc_FilterTabSheet{}, *Vc_FilterEGTabSheet{}, *Vc_PitchEGTabSheet{},
        *Vc_FormantTabSheet{}, *Vc_FmTabSheet{};
    TGroupBox *Vc_LFO1Grp{}, *Vc_LFO2Grp{};
    TComboBox *Vc_LFO1Waveform{}, *Vc_LFO2Waveform{};
    TRadioGroup *Vc_LFO1KeySync{}, *Vc_LFO2KeySync{}, *Vc_LFO2Phase{};

    // ---- filter -----------------------------------------------------------------------------
    TRadioGroup* Vc_FilterPartSw{};
    TComboBox *Vc_FilterType{}, *Vc_FilterFScaleBP{};

    // ---- filter EG --------------------------------------------------------------------------
    TImage* Vc_FilterEGGraph{};
    TLabel* FilterEGText{};

    // ---- pitch EG ---------------------------------------------------------------------------
    TImage* Vc_PitchEGGraph{};
    TLabel* PitchEGText{};
    TRadioGroup* Vc_PitchEGRange{};

    // ---- formant and FM control sets (index 0..4: Formant1..5 or FM1..5) ---------------------
    std::array<TGroupBox*, 5> Vc_FormantGrp{}, Vc_FmGrp{};
    TComboBox *Vc_Frmt1Operator{}, *Vc_Frmt2Operator{}, *Vc_Frmt3Operator{}, *Vc_Frmt4Operator{}, *Vc_Frmt5Operator{},
        *Vc_Fm1Operator{}, *Vc_Fm2Operator{}, *Vc_Fm3Operator{}, *Vc_Fm4Operator{}, *Vc_Fm5Operator{};
    TRadioGroup *Vc_Frmt1Parameter{}, *Vc_Frmt2Parameter{}, *Vc_Frmt3Parameter{}, *Vc_Frmt4Parameter{},
        *Vc_Frmt5Parameter{}, *Vc_Fm1Parameter{}, *Vc_Fm2Parameter{}, *Vc_Fm3Parameter{}, *Vc_Fm4Parameter{},
        *Vc_Fm5Parameter{};

    // ---- general: algorithm, feedback, note shift, mutes, transfers ---------------------------
    TGroupBox* Vc_GeneralGrp{};
    TEdit* Vc_AlgorithmEdit{};
    TUpDown* Vc_AlgorithmUpDown{};
    TButton* Vc_AlgorithmBtn{};
    TImage* Vc_AlgorithmImage{};
    TGroupBox* Vc_OperatorMuteGrp{};
    std::array<TSpeedButton*, 8> Vc_OpMute_VOp{}, Vc_OpMute_UOp{}; // Vc_OpMute_VOp1 .. Vc_OpMute_UOp8
    TSpeedButton *V_OPAllMuteButton{}, *U_OPAllMuteButton{};
    TButton *Vc_GetDataBtn{}, *Vc_SendDataBtn{};

    // ---- voiced oscillator --------------------------------------------------------------------
    TGroupBox* Vc_VOpOSCGrp{};
    TRadioGroup *Vc_VOpFseqSw{}, *Vc_VOpFreqMode{}, *Vc_VOpKeySync{}, *Vc_VOpLSLeftCrv{}, *Vc_VOpLSRightCrv{};
    TComboBox *Vc_VOpForm{}, *Vc_VOpLSBP{};
    TLabel *Vc_VOpFreqCoarseText{}, *Vc_VOpFreqCoarseText2{}, *Vc_VOpFreqFineText{}, *Vc_VOpOPAttText2{};
    TScrollBar *Vc_VOpFreqCoarseBar{}, *Vc_VOpFreqFineBar{};
    TEdit* Vc_VOpFreqCoarseEdit{};

    // ---- unvoiced oscillator ------------------------------------------------------------------
    TGroupBox* Vc_UOpOSCGrp{};
    TRadioGroup *Vc_UOpFseqSw{}, *Vc_UOpFreqMode{};
    TLabel *Vc_UOpFseqTrkText{}, *Vc_UOpFreqCoarseText{}, *Vc_UOpFreqCoarseText2{}, *Vc_UOpFreqFineText{};
    TScrollBar *Vc_UOpFreqCoarseBar{}, *Vc_UOpFreqFineBar{};
    TEdit* Vc_UOpFreqCoarseEdit{};

    // ---- operator EG, frequency EG, sensitivities and modulation --------------------------------
    TGroupBox *Vc_OpEGGrp{}, *Vc_OpFrqEGGrp{}, *Vc_OpSnsGrp{}, *Vc_OpModGrp{};
    TLabel *Vc_OpEGShape{}, *Vc_OpEGText{};
    TComboBox* Vc_OpPresetEG{};
    TEdit* Vc_OpPresetEGEdit{};
    TBitBtn *Vc_OpEGShapeWrite{}, *Vc_OpEGShapeDel{}, *Vc_OpEGShapeOpen{}, *Vc_OpEGShapeSave{};
    TImage *Vc_OpEGGraph{}, *Vc_OpFrqEGGraph{};

    // ==== EG shape library (EGShapeLibrary.cpp) ===================================================
    // The library of named operator envelope shapes lives in the window's EGShapeTable, item i of
    // Vc_OpPresetEG naming entry i; its files are read and written through these dialogs.
    TOpenDialog* EGOpenDialog{};
    TSaveDialog* EGSaveDialog{};
    // Applies the chosen shape to the operator on screen through its value boxes, 50 ms apart.
    void Vc_OpPresetEGChange(TObject* Sender);
    // Up and Down step through the shapes, applying each.
    void Vc_OpPresetEGEditKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    // Record the envelope on screen under the name box's name, delete the chosen shape, open a
    // library file in place of the list, save the list to one.
    void Vc_OpEGShapeWriteClick(TObject* Sender);
    void Vc_OpEGShapeDelClick(TObject* Sender);
    void Vc_OpEGShapeOpenClick(TObject* Sender);
    void Vc_OpEGShapeSaveClick(TObject* Sender);
    // True when a shape was recorded or deleted since start-up or the last open or save of a
    // library file.
    bool EGShapesChanged = false;
    // Before the library is replaced or the program ends: with unsaved shapes, asks whether to
    // save them (Yes: the library's save dialog, then the save). True when the command may go
    // on: the shapes were saved or are not wanted, or nothing changed.
    bool SaveShapesFirst();

private:
    void BindShapeLibrary();
    // The library's save dialog, then the file written; true when it was.
    bool SaveShapeLibrary();
    // The operator envelope's value boxes in the order of a shape's values: hold, times 1..4,
    // time scaling, levels 1..4.
    std::array<TEdit*, 10> ShapeBoxes() const;
    // ==== end of EG shape library ==================================================================

private:
    // Layout (VoiceLayout.cpp): every control of the page, each pair where it stands.
    void CreateControls(TTabSheet* sheet);
    void CreatePair(VcPair id, TWinControl* parent, const TPairPlace& place);
    void BindChoices();

    // The current voice and operator tab; -1 when a tab control shows none.
    int CurrentVoice() const;
    int CurrentOperatorTab() const;
    VoiceRecord& Voice(int v) { return FData.ParameterData.VoiceRecords[static_cast<size_t>(v)]; }
    // The word at a byte offset of voice v's record.
    int32_t& WordAt(int v, std::size_t offset);

    // Table-driven handlers (VoicePairs.cpp).
    // The word a storing handler edits on the tabs shown; empty while the page is being loaded
    // and where the row edits no word on the operator tab shown.
    std::optional<std::size_t> EditedWord(const VcWord& word) const;
    void PairBarChange(VcPair id);
    void ChoiceChange(VcChoice id);
    void Load(VcPair id, int32_t word) { Pair(id).Load(word); }
    // Loads every row of one record kind from voice v's words for operator tab t (the order does
    // not matter: under UpdatingDisplay a load stores, sends and draws nothing).
    void LoadRows(VcRecord record, int v, int t);
    void EnableRow(VcPair id, bool on) { Pair(id).SetEnabled(on); }

    // Voiced oscillator texts (VoiceOscillator.cpp).
    std::string VoicedFrequencyText() const;
    std::string UnvoicedFrequencyText() const;
    // The unvoiced coarse box: its normal look, or the flat look of a frequency linked to FF.
    void SetUnvoicedCoarseLook(bool linked);
    std::string AttenuationText(int position) const;
    bool VoicedFixedMode() const; // the voiced mode radio shows "fixed"
    void SetVoicedFrequencyMaxima();
    int AlgorithmShown() const; // the algorithm box's number, brought into 1..88
    void ApplyOpAttEnable(int algorithm, int t);
    void ShowAlgorithmPicture(int algorithm);
    // Unvoiced oscillator (VoiceOscillator.cpp): the rows a linked frequency mode takes out of
    // use (frequency scaling, frequency EG, frequency velocity and bias, frequency modulation);
    // the frequency labels with the coarse box; the two sliders moved without storing.
    void EnableUnvoicedFrequencyRows(bool on);
    void EnableUnvoicedFrequencyLabels(bool on);
    void MoveUnvoicedFrequency(int coarse, int fine);
    // The frequency sliders of both oscillators (the operator kind by the slider): the frequency
    // text of the coarse box, the word, the message. The coarse box's keys step them.
    void FrequencyBarChange(TScrollBar* bar);
    void FrequencyKeyDown(TScrollBar* coarse, TScrollBar* fine, uint16_t key);
    // An operator's formant-sequence switch as the instrument has it: its word, off while muted.
    bool FseqOn(bool voiced, int v, int k) const;

    TComponent* FOwner;
    TMainData& FData;
    TVoicePageServices FServices;
    TTabSheet* FSheet = nullptr;
    std::vector<std::unique_ptr<TValuePair>> FPairs; // by VcPair
    std::vector<TChoice> FChoices;                   // by VcChoice
};
