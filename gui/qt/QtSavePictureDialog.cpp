#include "gui/qt/QtSavePictureDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

QString AskPicturePath(QWidget* parent)
{
    QFileDialog dialog(parent, QString(), QDir::currentPath(), QString::fromLatin1(PICTURE_FILTER));
    dialog.setObjectName(QStringLiteral("SavePictureDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString());
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}
