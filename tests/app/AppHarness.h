#pragma once

// The editor as the window tests start it: a session with scripted answers
// and a private settings file, every window made, TForm1 shown; documents
// opened as Open leaves them; the pointer's places on the diagram.
#include "GuiKeys.h"
#include "Pixels.h"
#include "SampleLine.h"
#include "ScriptedPrompter.h"
#include "TestPaths.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/PaintBox.h"
#include "app/Session.h"
#include "editing/LabelDrag.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class AppHarness
{
public:
    QTemporaryDir dir;
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<Session> session;
    std::unique_ptr<AppWindows> windows;

    // A new editor on the same settings file; `other` answers instead of the
    // scripted prompter.
    void start(QSize size = {1200, 800}, Prompter *other = nullptr)
    {
        windows.reset();
        prompter = std::make_unique<ScriptedPrompter>();
        session = std::make_unique<Session>(other ? *other : *prompter, SettingsFile(path("Vlakorys.ini")));
        windows = std::make_unique<AppWindows>(*session);
        window()->resize(size);
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }
    void stop() { windows.reset(); }

    MainWindow *window() const { return windows->mainWindow(); }
    Document &doc() const { return session->document; }
    Diagram &diagram() const { return window()->diagram(); }
    const Renderer &renderer() const { return diagram().renderer(); }
    DiagramView &view() const { return diagram().view(); }
    PaintBox *box() const { return window()->paintBox(); }
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    static QString example() { return TestPaths::examplesDir() + QStringLiteral("/liberec-tanvald.vrs"); }
    template <typename T> T *find(const char *name) const
    {
        return window()->findChild<T *>(QString::fromLatin1(name));
    }
    QAction *action(const char *name) const { return find<QAction>(name); }

    void openCopy(const char *name)
    {
        QFile::remove(path(name));
        QVERIFY(QFile::copy(example(), path(name)));
        QVERIFY(window()->openFile(path(name)));
    }

    // A generated line as loading leaves it: labels, the controls, a rebuild.
    void showSampleLine(SampleLine::Shape shape = {8, 60, 12, 8})
    {
        SampleLine::fill(doc(), shape);
        diagram().makeTrainLabels();
        diagram().makeTimeLabels();
        window()->showDocumentSettings();
        view().updateScale(doc().settings);
        diagram().render(RenderRequest::rebuildAll());
    }

    // The middle of a label no other label covers there, well inside the
    // view, in PaintBox1 pixels; the view scrolls to one when none is in
    // sight.
    QPoint pickableLabel() const
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const QPoint shift(40 - 5 * view().hpos, -2 * view().vpos);
            QPoint alone;
            for (const LabelOutline &o : renderer().labelOutlines()) {
                const QPoint m = (o.p1 + o.p3) / 2;
                int hits = 0;
                for (const LabelOutline &other : renderer().labelOutlines())
                    hits += LabelDrag::contains(other, m);
                if (hits != 1)
                    continue;
                alone = m;
                const QPoint p = m + shift;
                if (p.x() > 120 && p.x() < box()->width() - 150 && p.y() > 80
                    && p.y() < renderer().visibleBottom() - 10)
                    return p;
            }
            window()->horizontalBar()->setValue(std::max(0, (alone.x() - 500) / 5));
        }
        qWarning("no pickable label");
        return {};
    }

    void drag(QPoint from, QPoint to) const
    {
        QTest::mousePress(box(), Qt::LeftButton, {}, from);
        for (QPoint at : {(from + to) / 2, to})
            QTest::mouseEvent(QTest::MouseMove, box(), Qt::NoButton, {}, at);
        QTest::mouseRelease(box(), Qt::LeftButton, {}, to);
    }

    int pixels(QRgb colour) const
    {
        return Pixels::count(renderer().surface(), renderer().surface().rect(),
                             [colour](QRgb p) { return ((p ^ colour) & 0xFFFFFF) == 0; });
    }
};

template <typename Test> int runGuiTest(int argc, char **argv)
{
    Test test;
    return QTest::qExec(&test, argc, argv);
}

template <typename... Tests> int runGuiTests(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    return (runGuiTest<Tests>(argc, argv) | ...);
}
