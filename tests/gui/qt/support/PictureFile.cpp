#include "PictureFile.h"

#include <QImage>
#include <QString>

PictureFile ReadPictureFile(const std::string& path)
{
    const QImage image(QString::fromStdString(path));
    PictureFile picture;
    if (image.isNull())
        return picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.dark.reserve(static_cast<size_t>(picture.width * picture.height));
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.dark.push_back(qGray(image.pixel(x, y)) < 128);
    return picture;
}
