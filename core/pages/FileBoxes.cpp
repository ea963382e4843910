#include "core/pages/FileBoxes.h"

#include "ui/UI.h"

void ShowWrongFile(const std::string& text)
{
    Application->MessageBox(text, "Quillmarven", MB_OK | MB_ICONEXCLAMATION);
}

void ShowFileError(const std::string& text)
{
    // The answer is not used.
    Application->MessageBox(text, "File Error", MB_OKCANCEL);
}

bool AskToSaveFirst(const std::string& question, const char* caption, int icon, const std::function<bool()>& save)
{
    switch (Application->MessageBox(question, caption, MB_YESNOCANCEL | icon)) {
    case IDYES: return save();
    case IDNO: return true;
    default: return false;
    }
}

void LoadPicture(TImage* image, const std::filesystem::path& file)
{
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return;
    try {
        image->Picture.LoadFromFile(file.string());
    } catch (const Exception& e) {
        ShowWrongFile(e.Message);
    }
}
