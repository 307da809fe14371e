#pragma once

#include <QImage>
#include <QWidget>

// The diagram surface. It holds the picture the renderer made and copies it
// on paint; pointer and key events go out as signals to whoever handles them.
class PaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit PaintBox(QWidget *parent = nullptr);

    // The picture shown; the renderer draws into it.
    QImage &surface() { return m_surface; }
    const QImage &surface() const { return m_surface; }

signals:
    void painting();
    void mousePressed(QMouseEvent *event);
    void mouseMoved(QMouseEvent *event);
    void mouseReleased(QMouseEvent *event);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_surface;
};
