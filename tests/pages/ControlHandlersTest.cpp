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

// Controls that take input but whose handlers come later, each with the issue that binds them
// ("Pfm_...", "issue N"). Every control of both pages is bound now, so the list is empty; a control
// added without its handler must be named here until its handler lands.
const std::map<std::string, const char*> BoundLater = {};

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
