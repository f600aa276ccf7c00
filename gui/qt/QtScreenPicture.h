#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

// A two-colour picture of enlarged screen bits (30*zoom-byte rows, most
// significant bit leftmost): a clear bit, a dark calculator pixel, is black
// and a set bit white, as monochrome pictures are read everywhere. Gives a
// null image when `bits` does not hold 3840*zoom*zoom bytes.
QImage MakeScreenPicture(const std::vector<uint8_t>& bits, unsigned zoom);
