// The store dialog: picks the internal memory number under which the performance or the
// voice of one part is stored in the instrument.
#pragma once

#include "ui/UI.h"

#include <cstdint>

// The result of a store dialog that was cancelled.
inline constexpr int32_t StoreCancelled = 999;

class TStoreNumSelect : public TForm {
public:
    // *result becomes StoreCancelled until OK writes the bar position (0-based) into it.
    // storeKind 0 stores the performance, 1 a voice; memoryMode is the instrument's memory mode
    // (1 = 64 internal voices). They fix the range of numbers offered.
    TStoreNumSelect(TComponent* AOwner, int32_t* result, int32_t storeKind, int32_t memoryMode);

    TLabel* StoreText = nullptr;
    TScrollBar* StoreNumBar = nullptr;
    TEdit* StoreNumEdit = nullptr;
    TButton* StoreOkBtn = nullptr;
    TButton* StoreCancelBtn = nullptr;
    int32_t* ResultPtr = nullptr;

    void StoreNumBarChange(TObject* Sender);
    void StoreNumEditChange(TObject* Sender);
    void StoreNumEditKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void StoreOkBtnClick(TObject* Sender);
    void StoreCancelBtnClick(TObject* Sender);

private:
    void CreateControls();
};

// The store dialog while it is shown.
extern TStoreNumSelect* StoreNumSelect;
