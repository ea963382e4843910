// The settings file, as start-up reads it (ReadMidiSettings) and the MIDI setup dialog's OK
// writes it back (WriteMidiSettings).
//
// Properties: whatever the file holds, the device number read is 0..15 and no name holds a line
// break; settings written into the file read back exactly as written, and writing them again
// leaves the file byte for byte as it was.
#include "fuzz/FuzzRig.h"

#include "mainform/dialogs/MIDISetupform.h"

#include <fstream>
#include <iterator>

namespace {

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Same(const TMidiSettings& a, const TMidiSettings& b)
{
    return a.MidiIn == b.MidiIn && a.MidiOut == b.MidiOut && a.MidiKeyboard == b.MidiKeyboard &&
           a.DeviceID == b.DeviceID;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Rig& rig = fuzz::Rig::Get();
    const std::filesystem::path file = rig.ScratchFile("quillmarven.INI", data, size);

    const TMidiSettings read = ReadMidiSettings(file);
    if (read.DeviceID < 0 || read.DeviceID > 15) fuzz::Fail("a device number outside 0..15 was read");
    for (const std::string* name : {&read.MidiIn, &read.MidiOut, &read.MidiKeyboard})
        if (name->find_first_of("\r\n") != std::string::npos) fuzz::Fail("a name read holds a line break");

    // The dialog writes what it shows: the names as read, in other places, and another number.
    const TMidiSettings written{read.MidiKeyboard, read.MidiIn, read.MidiOut, (read.DeviceID + 7) % 16};
    if (!WriteMidiSettings(file, written)) fuzz::Fail("the settings could not be written");
    if (!Same(ReadMidiSettings(file), written)) fuzz::Fail("the settings written do not read back");
    const std::string once = ReadText(file);
    if (!WriteMidiSettings(file, written)) fuzz::Fail("the settings could not be written again");
    if (ReadText(file) != once) fuzz::Fail("writing the same settings again changed the file");
    return 0;
}
