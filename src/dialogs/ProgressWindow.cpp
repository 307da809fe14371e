#include "ProgressWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

ProgressWindow::ProgressWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Prosím čekejte..."));
    setFixedSize(249, 83);
    setModal(false);

    Label1 = new QLabel(QStringLiteral("Vytvářím bitmapu ..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(20, 12, 209, 18);
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(20, 40, 209, 25);
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setTextVisible(true);

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

QPoint ProgressWindow::keptOnScreen(const QRect &frame, const QRect &available)
{
    QPoint p = frame.topLeft();
    if (frame.right() > available.right())
        p.setX(available.right() - frame.width() + 1);
    if (frame.bottom() > available.bottom())
        p.setY(available.bottom() - frame.height() + 1);
    if (p.x() < available.left())
        p.setX(available.left());
    if (p.y() < available.top())
        p.setY(available.top());
    return p;
}

void ProgressWindow::showEvent(QShowEvent *event)
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QPoint kept = keptOnScreen(frameGeometry(), screen->availableGeometry());
        if (kept != frameGeometry().topLeft())
            move(pos() + (kept - frameGeometry().topLeft()));
    }
    QDialog::showEvent(event);
}

void ProgressWindow::setText(const QString &text)
{
    Label1->setText(text);
    // A new step is shown at once, with the gauge where it stands.
    m_sincePaint.invalidate();
}

void ProgressWindow::setGaugeVisible(bool visible)
{
    Gauge1->setVisible(visible);
}

void ProgressWindow::setMaximum(int maximum)
{
    Gauge1->setMaximum(std::max(0, maximum));
}

void ProgressWindow::setProgress(int progress)
{
    m_progress = progress;
}

void ProgressWindow::paintNow()
{
    Gauge1->setValue(std::clamp(m_progress, Gauge1->minimum(), Gauge1->maximum()));
    repaint();
    ++m_paints;
    m_sincePaint.start();
}

void ProgressWindow::showNow()
{
    show();
    raise();
    // A window that was hidden is mapped only by the event loop; let the
    // system show it once, without input that could start another command.
    if (!m_showing) {
        m_showing = true;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_showing = false;
    }
    paintNow();
}

void ProgressWindow::repaintNow()
{
    if (!isVisible())
        return;
    if (m_sincePaint.isValid() && m_sincePaint.elapsed() < m_paintInterval)
        return;
    paintNow();
}

void ProgressWindow::hide()
{
    QDialog::hide();
}
