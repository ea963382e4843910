// Quillmarven: one running copy, a real window, real MIDI.
#include "app/Entry.h"
#include "platform/Folders.h"
#include "platform/Midi.h"
#include "platform/SingleInstance.h"
#include "ui/qt/QtBackend.h"

int main(int argc, char** argv)
{
    // A second copy ends at once: no window, no message.
    platform::SingleInstanceLock instance("Quillmarven");
    if (!instance.Held()) return 1;

    // Qt takes its own options out of argv; what is left is ours.
    QtBackend window(argc, argv);
    const std::vector<std::string> commandLine(argv + 1, argv + argc);
    auto midi = platform::CreateMidiBackend("Quillmarven");
    return RunQuillmarven(*midi, platform::ProgramFolder(), commandLine);
}
