// The JPEG pictures (the algorithm diagrams and the artwork), decoded by the platform's reader
// into the form library's pictures.
//
// Properties: a picture is refused with the form library's picture error, or decoded into as
// many pixels as its width and height say, within the size a picture of this program can have;
// a refused picture leaves the picture that was loaded before as it was.
#include "fuzz/FuzzRig.h"

#include "mainform/Pictures.h"
#include "platform/Jpeg.h"
#include "platform/SafeFile.h"
#include "ui/Graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const bool installed = (InstallPictureDecoders(), true);
    (void)installed;
    const std::vector<uint8_t> bytes(data, data + size);

    try {
        const platform::RgbImage image = platform::DecodeJpegBytes(bytes);
        if (image.Width <= 0 || image.Height <= 0) fuzz::Fail("a picture without pixels was taken");
        if (image.Pixels.size() != std::size_t(image.Width) * std::size_t(image.Height) * 3)
            fuzz::Fail("the pixels do not fill the picture");
    } catch (const platform::FileError&) {}

    TJPEGImage picture(2, 3);
    picture.SetPixelRaw(1, 2, 0x123456);
    const std::vector<TColor> before = picture.Data();
    try {
        picture.LoadFromBytes(bytes, "fuzz.jpg");
        if (picture.Empty() || picture.Data().size() != std::size_t(picture.Width()) * std::size_t(picture.Height()))
            fuzz::Fail("the picture taken does not hold its pixels");
    } catch (const EInvalidGraphic&) {
        if (picture.Width() != 2 || picture.Height() != 3 || picture.Data() != before)
            fuzz::Fail("a refused picture changed the one loaded before");
    }
    return 0;
}
