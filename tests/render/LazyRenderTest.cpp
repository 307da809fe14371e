// The picture built a piece at a time (minute labels recorded per strip
// when a replay needs them, label images drawn when a label is first shown)
// against the renderer doing all of it at each rebuild: the same commands
// on the same document give the same pixels.
#include "editing/HeadlessDiagram.h"
#include "render/LabelImage.h"

#include "SampleLine.h"

#include <QThreadPool>

#include <functional>

#include <gtest/gtest.h>

namespace {

// A document in its window as the editor has it after Open.
struct Scene : HeadlessDiagram
{
    Scene(const std::function<void(Document &)> &open, bool eager) : HeadlessDiagram(QSize(1300, 700))
    {
        diagram.setEager(eager);
        open(doc);
        view.updateScale(doc.settings);
        if (doc.trainLabels.empty())
            diagram.makeTrainLabels();
        diagram.makeTimeLabels();
        diagram.render(RenderRequest::rebuildAll());
    }

    void scrollTo(double across, double down)
    {
        view.hpos = static_cast<int>(across * window.scrollMaximum(Qt::Horizontal));
        view.vpos = static_cast<int>(down * window.scrollMaximum(Qt::Vertical));
        diagram.render();
    }
    void toggle(DiagramWindow::CheckBox box)
    {
        window.setChecked(box, !window.isChecked(box));
        if (box == DiagramWindow::CheckBox::TimeLabels)
            commands.toggleTimeLabels();
        else
            commands.toggleSmoothing(); // the category box runs the same steps
    }
};

void openSampleLine(Document &doc)
{
    SampleLine::fill(doc, {40, 200, 400, 30});
    doc.settings.zoom = 4;
}

using Step = std::pair<const char *, std::function<void(Scene &)>>;

const std::vector<Step> &steps()
{
    using Box = DiagramWindow::CheckBox;
    static const std::vector<Step> list = {
        {"opened", [](Scene &) {}},
        {"scrolled to noon", [](Scene &d) { d.scrollTo(0.5, 0.3); }},
        {"zoomed in", [](Scene &d) { d.commands.zoomIn(); }},
        {"scrolled to the evening", [](Scene &d) { d.scrollTo(0.85, 0.6); }},
        {"Vyhlazení after scrolling", [](Scene &d) { d.toggle(Box::Smoothing); }},
        {"scrolled back to the morning", [](Scene &d) { d.scrollTo(0.2, 0.1); }},
        {"Zobr. druh vlaku", [](Scene &d) { d.toggle(Box::Category); }},
        {"Časové popisky off", [](Scene &d) { d.toggle(Box::TimeLabels); }},
        {"zoomed out, texts kept", [](Scene &d) { d.commands.zoomOut(); }},
        {"Časové popisky on", [](Scene &d) { d.toggle(Box::TimeLabels); }},
        {"scrolled to the end of the day", [](Scene &d) { d.scrollTo(1.0, 1.0); }},
        {"Akt.", [](Scene &d) { d.commands.refresh(); }},
        {"zoomed far out",
         [](Scene &d) {
             for (int i = 0; i < 3; ++i)
                 d.commands.zoomOut();
         }},
        {"zoomed far in",
         [](Scene &d) {
             for (int i = 0; i < 8; ++i)
                 d.commands.zoomIn();
             d.scrollTo(0.4, 0.5);
         }},
        {"Vyhlazení off", [](Scene &d) { d.toggle(Box::Smoothing); }},
    };
    return list;
}

void samePicturesAllTheWay(const std::function<void(Document &)> &open)
{
    // Lines replayed in several bands whatever the machine has.
    QThreadPool &pool = *QThreadPool::globalInstance();
    const int threads = pool.maxThreadCount();
    pool.setMaxThreadCount(4);
    struct Restore
    {
        QThreadPool &pool;
        int threads;
        ~Restore() { pool.setMaxThreadCount(threads); }
    } restore{pool, threads};
    Scene lazy(open, false);
    Scene eager(open, true);
    for (const auto &[what, step] : steps()) {
        step(lazy);
        step(eager);
        ASSERT_EQ(lazy.renderer.surface().size(), eager.renderer.surface().size()) << what;
        EXPECT_TRUE(lazy.renderer.surface() == eager.renderer.surface()) << what;
        EXPECT_EQ(lazy.renderer.displayList().lineCount(), eager.renderer.displayList().lineCount()) << what;
    }
    // The lazy way did leave work undone: the comparison saw both ways. What
    // a save draws of it is what the eager way drew.
    EXPECT_TRUE(std::any_of(lazy.doc.trainLabels.begin(), lazy.doc.trainLabels.end(),
                            [](const TrainLabel &l) { return l.imageOwed(); }));
    DrawOwedLabelImages(lazy.doc.trainLabels);
    for (size_t i = 0; i < lazy.doc.trainLabels.size(); ++i) {
        const TrainLabel &l = lazy.doc.trainLabels[i];
        const TrainLabel &e = eager.doc.trainLabels[i];
        ASSERT_EQ(std::tuple(l.imageCodes, l.imageValues, l.imageOwed()),
                  std::tuple(e.imageCodes, e.imageValues, false))
            << i;
    }
}

} // namespace

TEST(LazyRender, TheGeneratedLineLooksTheSameBothWays)
{
    samePicturesAllTheWay(openSampleLine);
}
