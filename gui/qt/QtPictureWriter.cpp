#include "gui/qt/QtPictureWriter.h"

#include "gui/qt/QtScreenPicture.h"
#include "screen/PictureFormat.h"
#include "screen/PictureTexts.h"

#include <QFile>
#include <QImageWriter>
#include <QSaveFile>

namespace {

// `format` is one the toolkit can write.
bool WriteImage(const QImage& picture, const QString& path, const QByteArray& format, QString& reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return false;
    }
    QImageWriter writer(&file, format);
    if (!writer.write(picture)) {
        reason = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace

std::vector<std::string> ImageFormats()
{
    std::vector<std::string> formats;
    for (const QByteArray& format : QImageWriter::supportedImageFormats())
        formats.push_back(format.toStdString());
    return formats;
}

QByteArray FindImageFormat(const QString& path)
{
    return QByteArray::fromStdString(FindPictureFormat(QFile::encodeName(path).toStdString(), ImageFormats()));
}

bool SaveImageAs(const QImage& picture, const QString& path, QString& reason)
{
    if (picture.isNull()) {
        reason = QString::fromStdString(NoPictureText());
        return false;
    }
    const QByteArray format = FindImageFormat(path);
    if (format.isEmpty()) {
        reason = QString::fromStdString(UnknownPictureFormatText(ImageFormats()));
        return false;
    }
    return WriteImage(picture, path, format, reason);
}

std::vector<std::string> CQtPictureWriter::GetFormats() const
{
    return ImageFormats();
}

bool CQtPictureWriter::WritePicture(const std::vector<uint8_t>& bits, unsigned zoom, const std::string& path,
                                    const std::string& format, std::string& reason)
{
    const QImage picture = MakeScreenPicture(bits, zoom);
    QString why;
    if (picture.isNull())
        why = QString::fromStdString(NoPictureText());
    else if (WriteImage(picture, QFile::decodeName(QByteArray::fromStdString(path)), QByteArray::fromStdString(format), why))
        return true;
    reason = why.toStdString();
    return false;
}
