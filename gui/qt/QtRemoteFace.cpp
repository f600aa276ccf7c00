#include "gui/qt/QtRemoteFace.h"

#include "gui/pages/RemoteFace.h"
#include "gui/pages/RemoteLogic.h"
#include "link/KeyTable.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

QColor Rgb(uint32_t rgb)
{
    return QColor(int(rgb >> 16), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

unsigned PcModifiers(Qt::KeyboardModifiers modifiers)
{
    unsigned held = 0;
    if (modifiers & Qt::ShiftModifier)
        held |= PC_SHIFT;
    if (modifiers & Qt::ControlModifier)
        held |= PC_CTRL;
    if (modifiers & Qt::AltModifier)
        held |= PC_ALT;
    return held;
}

bool ToPcKey(int key, PcKey& pcKey)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: pcKey = PcKey::Enter; return true;
    case Qt::Key_Backspace: pcKey = PcKey::Backspace; return true;
    case Qt::Key_Delete: pcKey = PcKey::Delete; return true;
    case Qt::Key_Insert: pcKey = PcKey::Insert; return true;
    case Qt::Key_Escape: pcKey = PcKey::Escape; return true;
    case Qt::Key_Up: pcKey = PcKey::Up; return true;
    case Qt::Key_Down: pcKey = PcKey::Down; return true;
    case Qt::Key_Left: pcKey = PcKey::Left; return true;
    case Qt::Key_Right: pcKey = PcKey::Right; return true;
    default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F8) {
        pcKey = static_cast<PcKey>(static_cast<int>(PcKey::F1) + (key - Qt::Key_F1));
        return true;
    }
    return false;
}

} // namespace

CQtRemoteFace::CQtRemoteFace(CRemoteLogic& logic, QWidget* parent) : QWidget(parent), m_logic(logic)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CQtRemoteFace::SetScreen(const QImage& screen)
{
    m_screen = screen;
    // At once: a read of the next screen may hold the window's events for
    // a moment.
    repaint();
}

void CQtRemoteFace::SetLatched(uint16_t modifiers)
{
    m_wLatched = modifiers;
    update();
}

QPoint CQtRemoteFace::KeyCentre(const char* name) const
{
    const CalcKey* key = FindKeyNamed(name);
    if (key == nullptr)
        return {-1, -1};
    const FaceFit fit = FaceFit::Into(width(), height());
    return {fit.ToPixelX(key->x + key->width / 2), fit.ToPixelY(key->y + key->height / 2)};
}

void CQtRemoteFace::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const FaceFit fit = FaceFit::Into(width(), height());
    const auto place = [&fit](int x, int y, int w, int h) {
        return QRect(QPoint(fit.ToPixelX(x), fit.ToPixelY(y)), QPoint(fit.ToPixelX(x + w) - 1, fit.ToPixelY(y + h) - 1));
    };
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Rgb(FACE_BODY_RGB));
    painter.drawRoundedRect(place(0, 0, FACE_WIDTH, FACE_HEIGHT), 12 * fit.scale, 12 * fit.scale);

    const FaceRect s = SCREEN_FACE_RECT;
    painter.fillRect(place(s.x - 4, s.y - 4, s.width + 8, s.height + 8), Rgb(FACE_SCREEN_FRAME_RGB));
    if (!m_screen.isNull())
        painter.drawImage(place(s.x, s.y, s.width, s.height), m_screen);

    QFont labelFont = font();
    labelFont.setPixelSize(std::max(8, int(12 * fit.scale)));
    labelFont.setBold(true);
    QFont upperFont = font();
    upperFont.setPixelSize(std::max(6, int(8 * fit.scale)));
    for (const CalcKey& key : GetCalcKeys()) {
        const QRect box = place(key.x, key.y, key.width, key.height);
        const bool latched = key.modifier != 0 && (m_wLatched & key.modifier) != 0;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Rgb(latched ? FACE_LATCHED_RGB : KeyFillRgb(key.kind)));
        painter.drawRoundedRect(box, 5 * fit.scale, 5 * fit.scale);
        painter.setPen(latched ? QColor(Qt::black) : Rgb(KeyTextRgb(key.kind)));
        painter.setFont(labelFont);
        painter.drawText(box, Qt::AlignCenter, QString::fromUtf8(key.label));
        if (key.upperLabel[0] != '\0') {
            painter.setPen(Rgb(FACE_UPPER_LABEL_RGB));
            painter.setFont(upperFont);
            painter.drawText(box.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::fromUtf8(key.upperLabel));
        }
    }
}

void CQtRemoteFace::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (event->button() != Qt::LeftButton)
        return;
    const FaceFit fit = FaceFit::Into(width(), height());
    const QPoint at = event->position().toPoint();
    m_logic.OnFaceClick(fit.ToFaceX(at.x()), fit.ToFaceY(at.y()));
}

void CQtRemoteFace::keyPressEvent(QKeyEvent* event)
{
    const unsigned held = PcModifiers(event->modifiers());
    // Alt+F4 stays the system's.
    if (event->key() == Qt::Key_F4 && (held & PC_ALT)) {
        event->ignore();
        return;
    }
    PcKey pcKey;
    if (ToPcKey(event->key(), pcKey)) {
        m_logic.OnPcKey(pcKey, held);
        return;
    }
    char32_t character = 0;
    if (held & (PC_CTRL | PC_ALT)) {
        // The text is a control character then; the key tells.
        const int key = event->key();
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            character = U'a' + char32_t(key - Qt::Key_A);
        else if (key >= Qt::Key_0 && key <= Qt::Key_9)
            character = U'0' + char32_t(key - Qt::Key_0);
    } else if (!event->text().isEmpty()) {
        character = event->text().toUcs4().value(0);
    }
    if (character == 0 || !m_logic.OnPcCharacter(character, held))
        QWidget::keyPressEvent(event);
}
