#pragma once

#include <QImage>
#include <QWidget>

// The diagram surface. It shows the picture the renderer keeps (its
// surface) and only copies it when painted; pointer events go out as signals
// to whoever handles them.
class PaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit PaintBox(QWidget *parent = nullptr);

    // The picture shown; it belongs to the renderer and outlives the widget.
    void setSource(const QImage *image) { m_source = image; }
    const QImage &surface() const { return m_source ? *m_source : m_empty; }

signals:
    void mousePressed(QMouseEvent *event);
    void mouseMoved(QMouseEvent *event);
    void mouseReleased(QMouseEvent *event);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const QImage *m_source = nullptr;
    QImage m_empty;
};
