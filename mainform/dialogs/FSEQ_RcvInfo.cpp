#include "mainform/dialogs/FSEQ_RcvInfo.h"

#include "core/pages/FileBoxes.h"

#include <memory>

TFSEQ_InitInfoForm* FSEQ_InitInfoForm = nullptr;

TFSEQ_InitInfoForm::TFSEQ_InitInfoForm(TComponent* AOwner, const std::filesystem::path& programFolder) : TForm(AOwner)
{
    Name = "FSEQ_InitInfoForm";
    SetCaption("Quillmarven");
    BorderStyle = bsSingle;
    BorderIcons = biSystemMenu;
    FormStyle = fsStayOnTop;
    Position = poMainFormCenter;
    SetClientSize(418, 166);
    Font.Name = "Tahoma";

    Title = new TLabel(this);
    Title->Name = "Title";
    Title->SetParent(this);
    Title->AutoSize = false;
    Title->Alignment = taCenter;
    Title->SetBounds(0, 2, 418, 14);
    Title->Font.Style = fsBold;
    Title->Font.Color = clBlue;
    Title->SetCaption("Prease initialize FS1R Internal FSEQ Memory !");

    FSEQInitImage = new TImage(this);
    FSEQInitImage->Name = "FSEQInitImage";
    FSEQInitImage->SetParent(this);
    FSEQInitImage->SetBounds(9, 19, 401, 141);
    // The notice is often shown in the middle of a transfer, which must still finish and
    // unlock the windows: a picture that cannot be shown costs only the picture.
    LoadPicture(FSEQInitImage, programFolder / "graphics" / "fseq_init_notice.jpg");
    DoCreate();
}

void TFSEQ_InitInfoForm::ShowNotice(TComponent* owner, const std::filesystem::path& programFolder)
{
    auto window = std::make_unique<TFSEQ_InitInfoForm>(owner, programFolder);
    FSEQ_InitInfoForm = window.get();
    struct Forget {
        ~Forget() { FSEQ_InitInfoForm = nullptr; }
    } forget;
    window->ShowModal();
}
