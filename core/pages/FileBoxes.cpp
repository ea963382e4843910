#include "core/pages/FileBoxes.h"

#include "ui/UI.h"

void ShowWrongFile(const std::string& text)
{
    Application->MessageBox(text, "Quillmarven", MB_OK | MB_ICONEXCLAMATION);
}

void ShowFileError(const std::string& text, const std::string& cause)
{
    // The answer is not used.
    Application->MessageBox(cause.empty() ? text : text + "\n\n" + cause, "File Error", MB_OKCANCEL);
}

std::string ReadCause(const std::string& path, const std::string& reason)
{
    return "Cannot read \"" + path + "\": " + reason;
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
