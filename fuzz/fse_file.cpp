// The program's own save file (.fse), opened with File > Open.
//
// Properties: a file that is not 12,996 bytes with "Quillmarven", a zero byte and version 100
// ahead of the body is refused with its box and changes nothing; a file that is taken loads
// verbatim (the edit buffer holds the body byte for byte, also after every page has shown it)
// and everything the program then sends is whole and 7-bit.
#include "fuzz/FuzzRig.h"

#include <cstddef>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Rig& rig = fuzz::Rig::Get();
    rig.Reset();
    TMainForm& form = rig.Form();
    const std::string path = rig.ScratchFile("in.fse", data, size);
    const bool valid = size == 12996 && std::memcmp(data, "Quillmarven", 12) == 0 && data[12] == 100 && data[13] == 0 &&
                       data[14] == 0 && data[15] == 0;

    const fuzz::Bytes before = rig.EditBuffer();
    rig.AnswerFileDialogs(path, 1);
    rig.Run([&] { form.FileOpenItemClick(nullptr); });
    rig.CheckNoFailureShown("open");

    if (!valid) {
        rig.CheckShown("File Error: This file is not Quillmarven's file or broken file", "a wrong file");
        fuzz::CheckEditBuffer(rig.EditBuffer(), before, "a refused file changed the edit buffer");
        if (!form.CurrentFileName.empty()) fuzz::Fail("a refused file became the current file");
        if (!rig.TakeSent().empty()) fuzz::Fail("a refused file sent something");
        return 0;
    }
    // The part reserves are the one exception: showing a part brings reserves that ask for more
    // notes than the instrument has down within its limits, and keeps the slider limit (a
    // word the instrument never gets) beside them. They only ever go down.
    fuzz::Bytes body(data + 16, data + size);
    for (std::size_t p = 0; p < 4; ++p) {
        const std::size_t reserve = PartAt(int(p)) + AT(PfmPart, ReserveNote);
        const std::size_t limit = reserve + offsetof(PfmPart, ReserveNoteMax) - offsetof(PfmPart, ReserveNote);
        const PfmPart& part = form.ParameterData.PfmParts[p];
        int32_t stored;
        std::memcpy(&stored, body.data() + reserve, 4);
        if (part.ReserveNote < 0 || part.ReserveNote > 32 || (part.ReserveNote > stored && part.ReserveNote > 0))
            fuzz::Fail("a part reserve went up or out of 0..32 when the file was shown");
        std::memcpy(body.data() + reserve, &part.ReserveNote, 4);
        std::memcpy(body.data() + limit, &part.ReserveNoteMax, 4);
    }
    fuzz::CheckEditBuffer(rig.EditBuffer(), body, "the file did not load verbatim");
    if (form.CurrentFileName != path) fuzz::Fail("the loaded file is not the current file");
    // The open starts the send-all.
    rig.RunTransfers();
    rig.CheckNoFailureShown("send-all after the open");
    fuzz::CheckSevenBit(rig.TakeSent(), "send-all after the open");
    fuzz::CheckEditBuffer(rig.EditBuffer(), body, "sending the loaded file changed the edit buffer");
    rig.RefreshEveryPageAndSendEverything("after the open");
    fuzz::CheckEditBuffer(rig.EditBuffer(), body, "showing the loaded file changed the edit buffer");
    return 0;
}
