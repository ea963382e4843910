// The form library's BMP reader (the EQ shapes, the effect routing picture and the glyphs).
//
// Properties: a file is refused with the picture error and leaves the picture loaded before as
// it was, or it is taken with the width and height of its header; a picture taken is written
// and read again unchanged.
#include "fuzz/FuzzRig.h"

#include "ui/Graphics.h"

#include <cstring>

namespace {

int32_t Le32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Rig& rig = fuzz::Rig::Get();
    const std::string path = rig.ScratchFile("in.bmp", data, size);

    TPicture picture;
    TBitmap earlier(3, 2);
    earlier.SetPixelRaw(2, 1, 0x00ABCDEF);
    picture.Assign(&earlier);
    try {
        picture.LoadFromFile(path);
    } catch (const EInvalidGraphic&) {
        if (picture.Width() != 3 || picture.Height() != 2 || picture.Bitmap().Data() != earlier.Data())
            fuzz::Fail("a refused picture changed the one loaded before");
        return 0;
    }
    const TBitmap& taken = picture.Bitmap();
    const int32_t height = Le32(data + 22);
    if (taken.Width() != Le32(data + 18) || taken.Height() != (height < 0 ? -int64_t(height) : height))
        fuzz::Fail("the picture taken is not as large as its header says");
    if (taken.Data().size() != std::size_t(taken.Width()) * std::size_t(taken.Height()))
        fuzz::Fail("the picture taken does not hold its pixels");

    const std::string again = (rig.ScratchFolder() / "again.bmp").string();
    taken.SaveToFile(again);
    TBitmap reread;
    reread.LoadFromFile(again);
    if (reread.Width() != taken.Width() || reread.Height() != taken.Height() || reread.Data() != taken.Data())
        fuzz::Fail("the picture written and read again differs");
    return 0;
}
