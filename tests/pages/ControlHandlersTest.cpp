// Every control of the Performance and Voice pages that takes a person's input has its handler:
// the event a person's change runs (a slider's, box's, list's or tab control's OnChange, a radio
// group's, check box's or button's OnClick, an up-down's OnChanging or OnClick) is bound. The
// controls are found through the parent tree under the two sheets, whoever owns them.
#include "tests/support/VoicePageFixture.h"

#include <optional>
#include <set>
#include <string>

namespace {

// Whether a control takes a person's input, and if so whether the event that input runs is bound.
std::optional<bool> InputHandled(const TControl* c)
{
    if (auto* e = dynamic_cast<const TEdit*>(c)) {
        if (e->ReadOnly()) return std::nullopt;
        // A box whose text a command reads (the EG shape name) works through its keys.
        return bool(e->OnChange) || bool(e->OnKeyDown);
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
            EXPECT_TRUE(*handled) << c->Name << " takes a person's input but has no handler";
        });
    }
    // Both pages were walked.
    EXPECT_TRUE(seen.count("Vc_AlgorithmEdit"));
    EXPECT_TRUE(seen.count("Pfm_PartTab"));
}
