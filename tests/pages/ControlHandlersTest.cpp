// Every control of the Performance and Voice pages that takes a person's input has its handler:
// the event a person's change runs (a slider's, box's, list's or tab control's OnChange, a radio
// group's, check box's or button's OnClick, an up-down's OnChanging or OnClick) is bound. The
// controls are found through the parent tree under the two sheets, whoever owns them.
//
// A control whose handler comes with a later piece of work is listed below with the issue that
// binds it; the list shrinks as they land, and a listed control that has its handler fails too,
// so that it leaves the list.
#include "tests/voice/VoicePageFixture.h"

#include <functional>
#include <map>
#include <set>
#include <string>

namespace {

void Walk(TControl* c, const std::function<void(TControl*)>& visit)
{
    visit(c);
    if (auto* w = dynamic_cast<TWinControl*>(c))
        for (int i = 0; i < w->ControlCount(); ++i) Walk(w->Controls(i), visit);
}

// Whether a control takes a person's input, and if so whether the event that input runs is bound.
std::optional<bool> InputHandled(const TControl* c)
{
    if (auto* e = dynamic_cast<const TEdit*>(c)) {
        if (e->ReadOnly()) return std::nullopt;
        return bool(e->OnChange);
    }
    if (auto* b = dynamic_cast<const TScrollBar*>(c)) return bool(b->OnChange);
    if (auto* b = dynamic_cast<const TComboBox*>(c)) return bool(b->OnChange);
    if (auto* t = dynamic_cast<const TTabControl*>(c)) return bool(t->OnChange);
    if (auto* u = dynamic_cast<const TUpDown*>(c)) return bool(u->OnChanging) || bool(u->OnClick);
    if (dynamic_cast<const TRadioGroup*>(c) || dynamic_cast<const TCheckBox*>(c) ||
        dynamic_cast<const TSpeedButton*>(c) || dynamic_cast<const TButton*>(c))
        return bool(c->OnClick);
    return std::nullopt;
}

// Controls that take input but whose handlers come later, each with the issue that binds them.
std::map<std::string, const char*> MakeBoundLater()
{
    // clang-format off
    std::map<std::string, const char*> later = {
        // the voice page's envelope-shape library
        {"Vc_OpPresetEG", "issue 17"}, {"Vc_OpPresetEGEdit", "issue 17"}, {"Vc_OpEGShapeWrite", "issue 17"},
        {"Vc_OpEGShapeDel", "issue 17"}, {"Vc_OpEGShapeOpen", "issue 17"}, {"Vc_OpEGShapeSave", "issue 17"},
        // the formant-sequence, controller and system sheet
        {"Pfm_Fseq_Part", "issue 19"}, {"Pfm_Fseq_FseqBank", "issue 19"}, {"Pfm_Fseq_FseqPre", "issue 19"},
        {"Pfm_Fseq_FseqIntWrite", "issue 19"}, {"Pfm_Fseq_FseqTestBtn", "issue 19"},
        {"Pfm_Fseq_FseqIntClear", "issue 19"}, {"Pfm_Fseq_Mode", "issue 19"}, {"Pfm_Fseq_KeyOnTrig", "issue 19"},
        {"Pfm_Fseq_SpeedSelect", "issue 19"}, {"Pfm_Fseq_Speedmidi", "issue 19"}, {"Pfm_Fseq_Pitch", "issue 19"},
        {"Pfm_Fseq_LoopMode", "issue 19"},
        {"Pfm_Cntl_AssignKN1", "issue 19"}, {"Pfm_Cntl_AssignKN2", "issue 19"}, {"Pfm_Cntl_AssignKN3", "issue 19"},
        {"Pfm_Cntl_AssignKN4", "issue 19"}, {"Pfm_Cntl_AssignMC1", "issue 19"}, {"Pfm_Cntl_AssignMC2", "issue 19"},
        {"Pfm_Cntl_AssignMC3", "issue 19"}, {"Pfm_Cntl_AssignMC4", "issue 19"}, {"Pfm_Cntl_AssignFC", "issue 19"},
        {"Pfm_Cntl_AssignBC", "issue 19"}, {"Pfm_Cntl_AssignFrm", "issue 19"}, {"Pfm_Cntl_AssignFM", "issue 19"},
        {"Pfm_Cntl_AssignDefaultBtn", "issue 19"},
        {"Pfm_SystemVelCrv", "issue 19"}, {"Pfm_SystemDumpInterval", "issue 19"}, {"Pfm_SystemRcvNote", "issue 19"},
        {"Pfm_SystemKNCtrlMode", "issue 19"}, {"Pfm_SystemRcvPgmChange", "issue 19"},
        {"Pfm_SystemBCCurve", "issue 19"}, {"Pfm_SystemRcvBankSelect", "issue 19"},
        {"Pfm_SystemRcvPgmMode", "issue 19"}, {"Pfm_SystemRcvKNCtrl", "issue 19"}, {"Pfm_SystemTrnKNCtrl", "issue 19"},
        // the effect sheet
        {"Pfm_Effect_Tab", "issue 20"}, {"Pfm_Effect_Type", "issue 20"}, {"Pfm_Effect_P1InsSw", "issue 20"},
        {"Pfm_Effect_P2InsSw", "issue 20"}, {"Pfm_Effect_P3InsSw", "issue 20"}, {"Pfm_Effect_P4InsSw", "issue 20"},
        {"Pfm_Effect_IndividualOutput", "issue 20"}, {"Pfm_Effect_EQ_LowShape", "issue 20"},
        {"Pfm_Effect_EQ_HighShape", "issue 20"},
    };
    // clang-format on
    // The eight controller sets (issue 19): each with its fourteen source switches, its four part
    // switches (P1..P4) and its destination.
    const char* const switches[] = {"KN1", "KN2", "KN3", "KN4", "MC1", "MC2", "MC3", "MC4", "FC",
                                    "BC",  "MW",  "CAT", "PAT", "PB",  "P1",  "P2",  "P3",  "P4"};
    for (int set = 1; set <= 8; ++set) {
        const std::string n = std::to_string(set);
        for (const char* s : switches) later.emplace("Pfm_Ctrl_Chk" + n + "_" + s, "issue 19");
        later.emplace("Pfm_Ctrl_Dest" + n, "issue 19");
    }
    return later;
}
const std::map<std::string, const char*> BoundLater = MakeBoundLater();

// The main window of the page tests, both pages built.
class ControlHandlersTest : public VoicePageTest {};

} // namespace

TEST_F(ControlHandlersTest, EveryControlThatTakesInputHasItsHandler)
{
    std::set<std::string> seen;
    for (TTabSheet* sheet : {form->Pfm_TabSheet, form->Vc_TabSheet}) {
        Walk(sheet, [&](TControl* c) {
            const std::optional<bool> handled = InputHandled(c);
            if (!handled) return;
            seen.insert(c->Name);
            const auto listed = BoundLater.find(c->Name);
            if (listed == BoundLater.end()) {
                EXPECT_TRUE(*handled) << c->Name << " takes a person's input but has no handler";
            } else {
                EXPECT_FALSE(*handled) << c->Name << " has its handler now: take it off the list (" << listed->second
                                       << ")";
            }
        });
    }
    for (const auto& [name, issue] : BoundLater)
        EXPECT_TRUE(seen.count(name)) << name << " (" << issue << ") is listed but no such control takes input";
    // Both pages were walked.
    EXPECT_TRUE(seen.count("Vc_AlgorithmEdit"));
    EXPECT_TRUE(seen.count("Pfm_PartTab"));
}
