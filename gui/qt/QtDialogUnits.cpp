#include "gui/qt/QtDialogUnits.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace {

// value * numerator / denominator, rounded to the nearest whole pixel.
int Scale(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return int(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

} // namespace

QSize DialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((alphabet / 26 + 1) / 2, metrics.height());
}

void MapDialogUnits(QWidget* root)
{
    const QSize base = DialogBaseUnits(root->font());
    auto toPixels = [&](const QRect& units) {
        return QRect(Scale(units.x(), base.width(), 4), Scale(units.y(), base.height(), 8),
                     Scale(units.width(), base.width(), 4), Scale(units.height(), base.height(), 8));
    };
    for (QWidget* control : root->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QRect rect = toPixels(control->geometry());
        // A combo box's height in a template includes its open list; closed,
        // it is as high as the toolkit draws it.
        if (qobject_cast<QComboBox*>(control) != nullptr)
            rect.setHeight(std::min(rect.height(), control->sizeHint().height()));
        control->setGeometry(rect);
    }
    root->setFixedSize(toPixels(QRect(QPoint(0, 0), root->size())).size());
}
