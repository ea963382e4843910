// The other editor's file (.fs1), opened with File > Open and its second filter entry: relayed
// to the instrument, then read back with a receive-all (here nothing answers it).
//
// Input: the file. The device number is taken from its size, so every number is tried.
// Properties: a file taken goes out verbatim, message by message, only the device number put
// into the low four bits of byte 2 of every message that begins F0 43 (each block reaches the
// device chosen), and every message whole and 7-bit; a file refused sends nothing and changes
// nothing.
#include "fuzz/FuzzRig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Rig& rig = fuzz::Rig::Get();
    rig.Reset();
    TMainForm& form = rig.Form();
    form.DeviceNumber = int(size % 16);
    const std::string path = rig.ScratchFile("in.fs1", data, size);

    const fuzz::Bytes before = rig.EditBuffer();
    rig.AnswerFileDialogs(path, 2);
    rig.Run([&] { form.FileOpenItemClick(nullptr); });
    rig.CheckNoFailureShown("import");
    const auto sent = rig.TakeSent();
    rig.RunTransfers();
    rig.TakeSent();

    bool taken = false;
    for (const TShownMessage& m : Application->Headless().Messages)
        taken = taken || m.Text == "File reading was successful !";
    if (!taken) {
        if (!sent.empty()) fuzz::Fail("a refused file sent something");
        if (rig.EditBuffer() != before) fuzz::Fail("a refused file changed the edit buffer");
        return 0;
    }
    if (size < 2 || data[0] != 0xF0 || data[1] != 0x43) fuzz::Fail("a file not starting F0 43 was taken");
    fuzz::CheckSevenBit(sent, "the relay");
    fuzz::Bytes relayed;
    for (const fuzz::Bytes& m : sent) relayed.insert(relayed.end(), m.begin(), m.end());
    fuzz::Bytes expected(data, data + size);
    for (std::size_t start = 0; start + 2 < size; ++start)
        if (data[start] == 0xF0 && data[start + 1] == 0x43 && data[start + 2] < 0x80)
            expected[start + 2] = uint8_t((data[start + 2] & 0xF0) | form.DeviceNumber);
    if (relayed != expected) fuzz::Fail("the relay is not the file with the device number in each message's byte 2");
    if (rig.EditBuffer() != before) fuzz::Fail("the relay changed the edit buffer though nothing answered");
    return 0;
}
