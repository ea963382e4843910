// The small progress window shown while a whole-buffer transfer runs (send-all, receive-all and
// the formant-sequence write). It lives only while its transfer runs.
#pragma once

#include "ui/UI.h"

class TDataBulkDump : public TForm {
public:
    explicit TDataBulkDump(TComponent* AOwner);

    TLabel* BulkDumpText = nullptr;
    TProgressBar* BulkDumpProgressBar = nullptr;

    // The bar moves in steps of 10 up to 270: 27 steps cover a whole transfer.
    static constexpr int ProgressMax = 270;
    static constexpr int ProgressStep = 10;
};
