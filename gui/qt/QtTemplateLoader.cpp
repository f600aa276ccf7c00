#include "gui/qt/QtTemplateLoader.h"

#include "gui/qt/QtAnimateCtrl.h"
#include "gui/qt/QtDialogUnits.h"

#include <QBuffer>
#include <QFile>

QWidget* CQtTemplateLoader::createWidget(const QString& className, QWidget* parent, const QString& name)
{
    // The name language libraries give the animation control.
    if (className == QLatin1String("CAnimateCtrl")) {
        auto* control = new CQtAnimateCtrl(parent);
        control->setObjectName(name);
        return control;
    }
    return QUiLoader::createWidget(className, parent, name);
}

QWidget* LoadTemplate(const void* data, size_t size, QWidget* parent)
{
    if (data == nullptr || size == 0)
        return nullptr;
    QByteArray bytes = QByteArray::fromRawData(static_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return nullptr;
    CQtTemplateLoader loader;
    QWidget* root = loader.load(&buffer, parent);
    if (root != nullptr && root->property("dialogUnits").toBool())
        MapDialogUnits(root);
    return root;
}

QWidget* LoadOwnTemplate(int id, QWidget* parent)
{
    QFile file(QStringLiteral(":/vantrel92/DIALOG/%1").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.readAll();
    return LoadTemplate(bytes.constData(), size_t(bytes.size()), parent);
}

QWidget* FindControl(const QWidget* root, const char* name)
{
    if (root == nullptr)
        return nullptr;
    return root->findChild<QWidget*>(QLatin1String(name));
}

QWidget* FindControl(const QWidget* root, int id)
{
    if (root == nullptr)
        return nullptr;
    for (QWidget* child : root->findChildren<QWidget*>()) {
        const QVariant value = child->property("id");
        if (value.isValid() && value.toInt() == id)
            return child;
    }
    return nullptr;
}
