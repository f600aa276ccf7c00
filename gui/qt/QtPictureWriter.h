#pragma once

#include "screen/PictureWriter.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <string>
#include <vector>

// Saving a picture in the format that the file name's extension asks for,
// among the formats the toolkit can write. No extension is ever added.

// The names of the formats the toolkit can write.
std::vector<std::string> ImageFormats();

// The writer format whose name equals the extension of `path` (the text
// after the last "." of the file name), compared without regard to case;
// empty when the name has no extension or no writer knows it.
QByteArray FindImageFormat(const QString& path);

// Writes `picture` to `path`. The file is replaced only once the new one is
// complete, so a failed save leaves an existing file as it was. On failure
// `reason` says why, in a sentence for the user.
bool SaveImageAs(const QImage& picture, const QString& path, QString& reason);

// Screen pictures written with the toolkit's image writers.
class CQtPictureWriter final : public IPictureWriter {
public:
    std::vector<std::string> GetFormats() const override;
    bool WritePicture(const std::vector<uint8_t>& bits, unsigned zoom, const std::string& path,
                      const std::string& format, std::string& reason) override;
};
