// Any bytes as the background picture: no picture, or at most the part the window shows.
#include "fuzz_inputs.h"
#include "pictures/picture_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QSize window(680, 475);
    PictureDecoding decoding;
    decoding.corner = window;
    const QImage picture = DecodePicture(fileBytes(data, size), decoding).picture;
    require(picture.isNull()
            || (picture.width() <= window.width() && picture.height() <= window.height()));
    return 0;
}
