// Pictures from files: the form library reads BMP itself and asks for JPEG decoding, which the
// platform layer does.
#pragma once

// Installs the JPEG decoder of the form library's pictures (idempotent).
void InstallPictureDecoders();
