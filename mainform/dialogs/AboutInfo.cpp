#include "mainform/dialogs/AboutInfo.h"

#include "core/pages/FileBoxes.h"
#include "platform/OpenUrl.h"

#include <memory>

TAbout* About = nullptr;

namespace {

// The maker's details: the label texts are the link targets.
constexpr const char* MakerNotice = "(C) The Quillmarven developers";
constexpr const char* MakerMail = "quillmarven@example.org";
constexpr const char* ProgramPage = "https://quillmarven.example.org/";

// A link: blue, underlined, with the hand cursor.
TLabel* LinkLabel(TAbout* form, const char* name, const char* text, int top)
{
    auto* l = new TLabel(form);
    l->Name = name;
    l->SetParent(form);
    l->SetBounds(60, top, 196, 13);
    l->SetCaption(text);
    l->Font.Color = clBlue;
    l->Font.Style = fsUnderline;
    l->Cursor = crHandPoint;
    return l;
}

} // namespace

TAbout::TAbout(TComponent* AOwner, const std::filesystem::path& programFolder)
    : TForm(AOwner), OpenLink(platform::OpenUrl)
{
    Name = "About";
    SetCaption("Version Information");
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    FormStyle = fsStayOnTop;
    Position = poMainFormCenter;
    SetClientSize(262, 91);

    VerInfoImage = new TImage(this);
    VerInfoImage->Name = "VerInfoImage";
    VerInfoImage->SetParent(this);
    VerInfoImage->SetBounds(6, 8, 46, 46);
    // The emblem only decorates: the window is complete without it.
    LoadPicture(VerInfoImage, programFolder / "graphics" / "about_emblem.jpg");

    auto label = [this](const char* name, const char* text, int left, int top, int size) {
        auto* l = new TLabel(this);
        l->Name = name;
        l->SetParent(this);
        l->SetBounds(left, top, 120, size + 6);
        l->SetCaption(text);
        l->Font.Size = size;
        l->Font.Style = fsBold;
        return l;
    };
    About_TitleText = label("About_TitleText", "Quillmarven", 60, 4, 17); // 23 pixels high
    About_VerText = label("About_VerText", "Ver 1.52", 217, 17, 7);
    About_CopyrightText = label("About_CopyrightText", MakerNotice, 60, 38, 8);
    About_Mail = LinkLabel(this, "About_Mail", MakerMail, 56);
    About_WWW = LinkLabel(this, "About_WWW", ProgramPage, 72);
    About_Mail->OnClick = [this](TObject* s) { About_MailClick(s); };
    About_WWW->OnClick = [this](TObject* s) { About_WWWClick(s); };
    DoCreate();
}

void TAbout::About_MailClick(TObject*)
{
    if (OpenLink) OpenLink("mailto:" + About_Mail->Caption());
}

void TAbout::About_WWWClick(TObject*)
{
    if (OpenLink) OpenLink(About_WWW->Caption());
}
