#include "mainform/dialogs/BulkDump.h"

TDataBulkDump::TDataBulkDump(TComponent* AOwner) : TForm(AOwner)
{
    Name = "DataBulkDump";
    SetCaption("Quillmarven");
    // No close box: the transfer ends the window, not the person.
    BorderStyle = bsDialog;
    BorderIcons = 0;
    FormStyle = fsStayOnTop;
    Position = poMainFormCenter;
    Font.Name = "Tahoma";
    SetClientSize(255, 49);

    BulkDumpText = new TLabel(this);
    BulkDumpText->Name = "BulkDumpText";
    BulkDumpText->SetParent(this);
    BulkDumpText->AutoSize = false;
    BulkDumpText->SetBounds(0, 0, 255, 49);
    BulkDumpText->Alignment = taCenter;
    BulkDumpText->Font.Style = fsBold;

    BulkDumpProgressBar = new TProgressBar(this);
    BulkDumpProgressBar->Name = "BulkDumpProgressBar";
    BulkDumpProgressBar->SetParent(this);
    BulkDumpProgressBar->SetBounds(4, 20, 247, 21);
    BulkDumpProgressBar->SetMin(0);
    BulkDumpProgressBar->SetMax(ProgressMax);
    BulkDumpProgressBar->Step = ProgressStep;

    DoCreate();
}
