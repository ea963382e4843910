// Tools > Initialize: one block of the edit buffer, or all of it (also File > New), back to the
// initial data, shown on the pages and sent to the instrument.
#include "mainform/MainForm.h"

void TMainForm::CreateInitializeItems()
{
    Tools1 = MenuBarTitle("Tools1", "&Tools");
    Initialize1 = NewItem(Tools1, "Initialize1", "&Initialize");
    struct Item {
        const char* name;
        const char* caption;
        void (TMainForm::*handler)(TObject*);
    };
    static const Item items[] = {
        {"InitPfm", "&Performance", &TMainForm::InitPfmClick}, {"InitVc1", "Voice&1", &TMainForm::InitVc1Click},
        {"InitVc2", "Voice&2", &TMainForm::InitVc2Click},      {"InitVc3", "Voice&3", &TMainForm::InitVc3Click},
        {"InitVc4", "Voice&4", &TMainForm::InitVc4Click},      {"InitSys", "&System", &TMainForm::InitSysClick},
        {"InitAll", "&ALL", &TMainForm::InitAllClick},
    };
    for (const Item& item : items)
        NewItem(Initialize1, item.name, item.caption, scNone,
                [this, handler = item.handler](TObject* s) { (this->*handler)(s); });
}

void TMainForm::InitPfmClick(TObject*)
{
    InitPerformance();
    RefreshPerformancePages();
    SendBulkDump(DumpPerformance, 0);
}

void TMainForm::InitVoiceCommand(int v)
{
    InitVoice(v);
    RefreshVoicePages(v);
    SendBulkDump(DumpVoicePart1 + v, 0);
}

void TMainForm::InitVc1Click(TObject*) { InitVoiceCommand(0); }
void TMainForm::InitVc2Click(TObject*) { InitVoiceCommand(1); }
void TMainForm::InitVc3Click(TObject*) { InitVoiceCommand(2); }
void TMainForm::InitVc4Click(TObject*) { InitVoiceCommand(3); }

void TMainForm::InitSysClick(TObject*)
{
    InitSystem();
    {
        TUpdatingDisplay updating(*this);
        DisplayPerformanceFseqCtrlSystem();
    }
    SendBulkDump(DumpSystem, 0);
}

void TMainForm::InitAllClick(TObject*)
{
    if (!SaveChangesFirst("Quillmarven", MB_ICONQUESTION)) return;
    InitAll();
    // The initial data are no file's: the next Save asks for a name.
    CurrentFileName.clear();
    RefreshPerformancePages();
    for (int part = 0; part < 4; ++part) RefreshVoicePages(part);
    DataSendAllClick(this);
    ShowDataUnchanged();
}
