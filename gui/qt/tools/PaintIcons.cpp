// Paints the program's desktop icon at the sizes of the hicolor theme: a
// wide calculator with a lit screen and rows of keys, its link cable leaving
// on the right. Shapes only, so it needs no fonts and no display.
//
//   vantrel92-paint-icons OUTDIR SIZE...   writes OUTDIR/SIZExSIZE/apps/vantrel92.png

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <cstdlib>

namespace {

void PaintIcon(QPainter& p, int size)
{
    const qreal s = size;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);

    // The cable: from the calculator's top edge in a curve to the right.
    const qreal cable = qMax<qreal>(1.0, s / 18.0);
    QPainterPath cord;
    cord.moveTo(s * 0.78, s * 0.22);
    cord.cubicTo(s * 0.80, s * 0.06, s * 0.97, s * 0.10, s * 0.95, s * 0.02);
    p.setPen(QPen(QColor(0x30, 0x30, 0x38), cable, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cord);
    p.setPen(Qt::NoPen);

    // The body, wide as the TI-92 is.
    const QRectF body(s * 0.04, s * 0.20, s * 0.92, s * 0.66);
    const qreal radius = s * 0.08;
    p.setBrush(QColor(0x2b, 0x2f, 0x3a));
    p.drawRoundedRect(body, radius, radius);
    p.setBrush(QColor(0x44, 0x4a, 0x5a));
    p.drawRoundedRect(body.adjusted(s * 0.02, s * 0.02, -s * 0.02, -s * 0.02), radius * 0.8, radius * 0.8);

    // The screen with a curve drawn on it.
    const QRectF screen(s * 0.22, s * 0.26, s * 0.56, s * 0.30);
    p.setBrush(QColor(0xb9, 0xd0, 0xa0));
    p.drawRect(screen);
    if (size >= 22) {
        QPainterPath graph;
        graph.moveTo(screen.left() + screen.width() * 0.06, screen.bottom() - screen.height() * 0.2);
        graph.cubicTo(screen.left() + screen.width() * 0.35, screen.top() - screen.height() * 0.25,
                      screen.left() + screen.width() * 0.55, screen.bottom() + screen.height() * 0.2,
                      screen.right() - screen.width() * 0.06, screen.top() + screen.height() * 0.2);
        p.setPen(QPen(QColor(0x20, 0x28, 0x20), qMax<qreal>(1.0, s / 40.0)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(graph);
        p.setPen(Qt::NoPen);
    }

    // Keys: the cursor pad on the left, rows of keys below the screen.
    p.setBrush(QColor(0x8a, 0x93, 0xa8));
    p.drawEllipse(QRectF(s * 0.08, s * 0.32, s * 0.11, s * 0.11));
    const int columns = size >= 32 ? 10 : 5;
    const int rows = size >= 32 ? 3 : 2;
    const qreal left = s * 0.10;
    const qreal width = s * 0.80;
    const qreal top = s * 0.62;
    const qreal rowHeight = s * 0.20 / rows;
    const qreal keyWidth = width / columns;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const bool enter = r == rows - 1 && c == columns - 1;
            p.setBrush(enter ? QColor(0x3f, 0x8e, 0xd8) : QColor(0xd6, 0xda, 0xe3));
            p.drawRect(QRectF(left + c * keyWidth + keyWidth * 0.15, top + r * rowHeight + rowHeight * 0.18,
                              keyWidth * 0.7, rowHeight * 0.64));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTDIR SIZE...\n", argv[0]);
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "bad icon size %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            PaintIcon(painter, size);
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        const QString file = folder + QStringLiteral("/vantrel92.png");
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
