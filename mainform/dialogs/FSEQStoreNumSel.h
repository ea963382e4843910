// The dialog of File > Convert Syx to MIDI File: where the formant sequence is to land in the
// instrument when the MIDI file plays: its edit buffer ("Current") or internal memory 1..6.
#pragma once

#include "ui/UI.h"

#include <cstdint>

class TFSEQStoreForm : public TForm {
public:
    // *result becomes 1 (Int 1) until OK writes the chosen item into it. slotMode is the
    // sequence's format code: a sequence that fills k memories beyond its first can start only
    // at Current or at Int 1..Int (6 - k).
    TFSEQStoreForm(TComponent* AOwner, int32_t* result, int32_t slotMode);

    TLabel* FSEQStoreText = nullptr;
    TRadioGroup* FSEQStoreRadio = nullptr;
    TButton* FSEQStoreBtn = nullptr;
    TLabel* FSEQStoreText2 = nullptr;
    int32_t* ResultPtr = nullptr;

    void FormShow(TObject* Sender);
    void FSEQStoreBtnClick(TObject* Sender);

private:
    void CreateControls();
    int32_t FSlotMode;
};
