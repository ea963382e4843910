// Tools > Store: the performance, or the voice of one part, written into the instrument's
// internal memory under a number picked in the store dialog. The edit buffer does not change.
#include "mainform/MainForm.h"

#include "mainform/dialogs/storeform.h"

void TMainForm::CreateStoreItems()
{
    Store = NewItem(MenuBarTitle("Tools1", "&Tools"), "Store", "&Store");
    struct Item {
        const char* Name;
        const char* Caption;
        void (TMainForm::*Handler)(TObject*);
    };
    static const Item items[] = {
        {"StorePfm", "&Performance", &TMainForm::StorePfmClick}, {"StoreVc1", "Voice&1", &TMainForm::StoreVc1Click},
        {"StoreVc2", "Voice&2", &TMainForm::StoreVc2Click},      {"StoreVc3", "Voice&3", &TMainForm::StoreVc3Click},
        {"StoreVc4", "Voice&4", &TMainForm::StoreVc4Click},
    };
    for (const Item& item : items)
        NewItem(Store, item.Name, item.Caption, scNone,
                [this, handler = item.Handler](TObject* s) { (this->*handler)(s); });
}

void TMainForm::AskStoreNumber(int32_t kind)
{
    StoreKind = kind;
    StoreMemoryMode = ParameterData.SystemBlock.MemoryMode;
    int32_t chosen = StoreCancelled;
    {
        TStoreNumSelect dialog(this, &chosen, StoreKind, StoreMemoryMode);
        StoreNumSelect = &dialog;
        struct Forget {
            ~Forget() { StoreNumSelect = nullptr; }
        } forget;
        dialog.ShowModal();
    }
    StoreNumberResult = chosen;
}

void TMainForm::StorePfmClick(TObject*)
{
    if (!MidiReadyForTransfer(false)) return;
    AskStoreNumber(0);
    if (StoreNumberResult == StoreCancelled) return;
    WatchTransfer();
    SendBulkDump(DumpPerformanceToMemory, StoreNumberResult);
    TellMessagesMayBeLost(false);
}

void TMainForm::StoreVoice(int part)
{
    if (!MidiReadyForTransfer(false)) return;
    AskStoreNumber(1);
    if (StoreNumberResult == StoreCancelled) return;
    WatchTransfer();
    SendBulkDump(DumpVoiceToMemoryPart1 + part, StoreNumberResult);
    TellMessagesMayBeLost(false);
}

void TMainForm::StoreVc1Click(TObject*) { StoreVoice(0); }
void TMainForm::StoreVc2Click(TObject*) { StoreVoice(1); }
void TMainForm::StoreVc3Click(TObject*) { StoreVoice(2); }
void TMainForm::StoreVc4Click(TObject*) { StoreVoice(3); }
