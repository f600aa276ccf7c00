#include "screen/ImageExport.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <QStringList>

namespace {

QString KnownExtensions()
{
    QStringList names;
    for (const QByteArray& format : QImageWriter::supportedImageFormats())
        names << QString::fromLatin1(format);
    return names.join(QStringLiteral(", "));
}

} // namespace

QByteArray FindImageFormat(const QString& path)
{
    const QString fileName = QFileInfo(path).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    const QString extension = fileName.mid(dot + 1);
    if (extension.isEmpty())
        return {};
    for (const QByteArray& format : QImageWriter::supportedImageFormats()) {
        if (extension.compare(QString::fromLatin1(format), Qt::CaseInsensitive) == 0)
            return format;
    }
    return {};
}

bool SaveImageAs(const QImage& picture, const QString& path, QString& reason)
{
    if (picture.isNull()) {
        reason = QStringLiteral("There is no picture to save.");
        return false;
    }
    const QByteArray format = FindImageFormat(path);
    if (format.isEmpty()) {
        reason = QStringLiteral("The name does not end in the extension of an image format this program "
                                "can write (%1).")
                     .arg(KnownExtensions());
        return false;
    }

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
