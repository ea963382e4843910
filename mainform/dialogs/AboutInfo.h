// The version window of Help > About: name, version, the maker's notice and two links (a mail
// to the maker, the program's web page) opened by the desktop's handler.
#pragma once

#include "ui/UI.h"

#include <filesystem>
#include <functional>
#include <string>

class TAbout : public TForm {
public:
    // The emblem is read from graphics/about_emblem.jpg in `programFolder`; without it, or when it
    // cannot be shown (which a box says), the window shows no emblem.
    TAbout(TComponent* AOwner, const std::filesystem::path& programFolder);

    TImage* VerInfoImage = nullptr;
    TLabel* About_TitleText = nullptr;
    TLabel* About_VerText = nullptr;
    TLabel* About_CopyrightText = nullptr;
    TLabel* About_Mail = nullptr;
    TLabel* About_WWW = nullptr;

    void About_MailClick(TObject* Sender);
    void About_WWWClick(TObject* Sender);

    // Hands a link to the desktop (xdg-open); the result is not used.
    std::function<bool(const std::string& url)> OpenLink;
};

// The About window while it is shown.
extern TAbout* About;
