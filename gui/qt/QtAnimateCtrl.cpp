#include "gui/qt/QtAnimateCtrl.h"

#include "clip/AviClip.h"

#include <QPainter>

#include <algorithm>

CQtAnimateCtrl::CQtAnimateCtrl(QWidget* parent) : QWidget(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &CQtAnimateCtrl::NextFrame);
}

bool CQtAnimateCtrl::Open(const std::string& path)
{
    Close();
    ++m_nOpens;
    CAviClip clip;
    if (!clip.LoadFile(path))
        return false;
    for (const CAviClip::Frame& frame : clip.GetFrames()) {
        QImage image(int(clip.GetWidth()), int(clip.GetHeight()), QImage::Format_RGB32);
        for (uint32_t y = 0; y < clip.GetHeight(); ++y) {
            auto* line = reinterpret_cast<uint32_t*>(image.scanLine(int(y)));
            std::copy_n(frame.data() + size_t(y) * clip.GetWidth(), clip.GetWidth(), line);
        }
        m_frames.push_back(std::move(image));
    }
    const int milliseconds = int(std::max<uint32_t>(clip.GetFrameMicroseconds() / 1000, 10));
    if (m_frames.size() > 1)
        m_timer.start(milliseconds);
    updateGeometry();
    update();
    return true;
}

void CQtAnimateCtrl::Close()
{
    m_timer.stop();
    m_frames.clear();
    m_nFrame = 0;
    update();
}

QSize CQtAnimateCtrl::sizeHint() const
{
    return IsOpen() ? m_frames.front().size() : QSize(0, 0);
}

void CQtAnimateCtrl::NextFrame()
{
    if (m_frames.empty())
        return;
    m_nFrame = (m_nFrame + 1) % int(m_frames.size());
    update();
}

void CQtAnimateCtrl::paintEvent(QPaintEvent*)
{
    if (!IsOpen())
        return;
    QPainter painter(this);
    const QImage& frame = m_frames[size_t(m_nFrame)];
    // Centred in the control, as the template's centring style asks.
    const QPoint at((width() - frame.width()) / 2, (height() - frame.height()) / 2);
    painter.drawImage(at, frame);
}
