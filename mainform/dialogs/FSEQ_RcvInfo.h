// The notice that asks the user to initialize the instrument's internal formant-sequence memory
// on the instrument itself, with a picture of the four front-panel steps. It sends nothing and
// changes no data; the user closes it with the close box.
#pragma once

#include "ui/UI.h"

#include <filesystem>

class TFSEQ_InitInfoForm : public TForm {
public:
    // The picture is read from graphics/fseq_init_notice.jpg in `programFolder`; without it, or
    // when it cannot be shown (which a box says), the notice shows its text alone.
    TFSEQ_InitInfoForm(TComponent* AOwner, const std::filesystem::path& programFolder);

    TLabel* Title = nullptr;
    TImage* FSEQInitImage = nullptr;

    // Creates the notice owned by `owner` (held in FSEQ_InitInfoForm meanwhile), shows it modally
    // and frees it when the user has closed it.
    static void ShowNotice(TComponent* owner, const std::filesystem::path& programFolder);
};

// The notice while it is shown.
extern TFSEQ_InitInfoForm* FSEQ_InitInfoForm;
