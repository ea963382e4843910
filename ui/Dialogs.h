// File dialogs and message boxes as the pages use them; both go through the application's back
// end (real dialogs in the program, responders in tests).
#pragma once

#include "ui/Application.h"

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}
    std::string Title;
    std::string Filter;
    int FilterIndex = 1;
    std::string InitialDir;
    std::string DefaultExt;
    std::string FileName;
    bool OverwritePrompt = false;
    // Shows the dialog; on OK stores the chosen path in FileName and returns true.
    bool Execute();

protected:
    virtual bool IsSave() const { return false; }
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

// Application->MessageBox with the application's title as caption.
int ShowMessageBox(const std::string& Text, int Flags = MB_OK);
