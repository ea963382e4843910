#include "mainform/Pictures.h"

#include "platform/Jpeg.h"
#include "ui/Graphics.h"

void InstallPictureDecoders()
{
    TPicture::JpegDecoder = [](const std::vector<uint8_t>& bytes, TBitmap& out, std::string& error) {
        try {
            const platform::RgbImage image = platform::DecodeJpegBytes(bytes);
            out.SetSize(image.Width, image.Height);
            auto& pixels = out.MutableData();
            const uint8_t* rgb = image.Pixels.data();
            for (size_t i = 0; i < pixels.size(); ++i, rgb += 3) pixels[i] = RGB(rgb[0], rgb[1], rgb[2]);
            out.Modified();
            return true;
        } catch (const std::exception& e) {
            error = ExceptionText(e);
            return false;
        }
    };
}
