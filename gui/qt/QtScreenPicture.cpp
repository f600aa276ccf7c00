#include "gui/qt/QtScreenPicture.h"

#include "screen/ScreenImage.h"

#include <cstring>

QImage MakeScreenPicture(const std::vector<uint8_t>& bits, unsigned zoom)
{
    if (zoom == 0 || bits.size() != SCREEN_BYTES * zoom * zoom)
        return {};

    const int width = SCREEN_WIDTH * static_cast<int>(zoom);
    const int height = SCREEN_HEIGHT * static_cast<int>(zoom);
    const size_t rowBytes = static_cast<size_t>(SCREEN_ROW_BYTES) * zoom;

    QImage picture(width, height, QImage::Format_Mono);
    if (picture.isNull())
        return {};
    picture.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    // The picture's rows are padded to 32 bits; the screen's are not.
    for (int y = 0; y < height; ++y)
        std::memcpy(picture.scanLine(y), bits.data() + static_cast<size_t>(y) * rowBytes, rowBytes);
    return picture;
}
