#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <string>
#include <vector>

// An animation control: plays a silent video clip (uncompressed or RLE8) in a
// loop from the moment it is opened. A clip that is missing or cannot be
// played leaves the control empty, without a message.
class CQtAnimateCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CQtAnimateCtrl(QWidget* parent = nullptr);

    bool Open(const std::string& path);
    void Close();

    bool IsOpen() const { return !m_frames.empty(); }
    bool IsPlaying() const { return m_timer.isActive(); }
    int GetFrameCount() const { return int(m_frames.size()); }
    int GetCurrentFrame() const { return m_nFrame; }
    int GetOpenCount() const { return m_nOpens; }
    const QImage* GetFrameImage() const { return IsOpen() ? &m_frames[size_t(m_nFrame)] : nullptr; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void NextFrame();

    std::vector<QImage> m_frames;
    QTimer m_timer;
    int m_nFrame = 0;
    int m_nOpens = 0;
};
