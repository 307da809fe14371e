// The undo history on the program's own edits: taken back and done again to
// the exact bytes of a save, the modified state, and the bounds.
#include "editing/EditHistory.h"

#include "../io/FileBytes.h"

#include "editing/HeadlessDiagram.h"

#include "SampleLine.h"

#include <gtest/gtest.h>

namespace {

// A drawn line with labels and their images; saves carry the images, so
// every byte of every label counts.
class EditHistoryTest : public ::testing::Test
{
public:
    HeadlessDiagram scene;
    Document &doc = scene.doc;
    Diagram &diagram = scene.diagram;
    EditHistory history{doc};
    int restores = 0;

    void SetUp() override
    {
        SampleLine::fill(doc, {6, 40, 8, 6});
        doc.noDocument = false;
        doc.settings.saveLabelImages = 1;
        scene.view.updateScale(doc.settings);
        diagram.makeTrainLabels();
        diagram.makeTimeLabels();
        diagram.render(RenderRequest::rebuildAll());
        // As the editor does after undo and redo: minute labels, a render
        // as after Open.
        QObject::connect(&history, &EditHistory::restored, [this] {
            ++restores;
            diagram.makeTimeLabels();
            diagram.render(RenderRequest::rebuildAll());
        });
    }

    QByteArray saved() const { return FileBytes::of(doc); }

    void change(int step)
    {
        history.begin();
        doc.settings.penThin = static_cast<uint8_t>(10 + step);
        EXPECT_TRUE(history.commit(QStringLiteral("krok %1").arg(step)));
    }
};

} // namespace

TEST_F(EditHistoryTest, AnEditUndoneAndRedoneToTheBytes)
{
    const QByteArray before = saved();
    history.begin();
    EXPECT_FALSE(history.canUndo()); // not while the command runs
    doc.trainLabels.pop_front();     // deleted, image and all
    ASSERT_TRUE(history.commit(QStringLiteral("smazání")));
    const QByteArray after = saved();
    ASSERT_NE(after, before);
    EXPECT_EQ(std::pair(history.isModified(), history.undoText()), std::pair(true, QStringLiteral("smazání")));

    ASSERT_TRUE(history.undo());
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(std::pair(history.isModified(), history.redoText()), std::pair(false, QStringLiteral("smazání")))
        << "back where the file is";
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(saved(), after);
    EXPECT_EQ(std::pair(history.isModified(), restores), std::pair(true, 2));
}

TEST_F(EditHistoryTest, NothingChangedNoStep)
{
    history.begin();
    diagram.render(); // a render in the command images nothing that counts
    doc.trainLabels.front().dropImage();
    EXPECT_FALSE(history.commit(QStringLiteral("nic")));
    EXPECT_EQ(std::pair(history.count(), history.isModified()), std::pair(0, false));
}

TEST_F(EditHistoryTest, SavedStateAndBlocking)
{
    change(1);
    change(2);
    history.markSaved();
    EXPECT_FALSE(history.isModified());
    history.undo();
    EXPECT_TRUE(history.isModified());
    history.redo();
    EXPECT_FALSE(history.isModified());

    history.setBlocked(true); // the insert-train tool is open
    EXPECT_FALSE(history.undo());
    EXPECT_EQ(std::pair(history.canUndo(), int(doc.settings.penThin)), std::pair(false, 12));
    history.setBlocked(false);
    EXPECT_TRUE(history.undo());

    history.reset(true); // a recovered document
    EXPECT_EQ(std::pair(history.isModified(), history.canUndo()), std::pair(true, false));
}

TEST_F(EditHistoryTest, BoundedByCount)
{
    history.setLimits(3, EditHistory::maxBytes);
    for (int i = 1; i <= 5; ++i)
        change(i);
    EXPECT_EQ(history.count(), 3);
    while (history.undo()) {
    }
    EXPECT_EQ(doc.settings.penThin, 12); // steps 1 and 2 are gone
    EXPECT_TRUE(history.isModified());   // and with them the saved state
}

TEST_F(EditHistoryTest, BoundedByMemory)
{
    const DocumentSnapshot one = DocumentSnapshot::take(doc);
    // A pen changed is a new content; the images stay shared: k steps hold
    // k + 1 contents and one set of images. Room for two steps.
    const qint64 limit = 3 * one.contentSize() + one.imagesSize() + 100;
    history.setLimits(EditHistory::maxSteps, limit);
    for (int i = 1; i <= 4; ++i)
        change(i);
    EXPECT_EQ(history.count(), 2);
    EXPECT_LE(history.bytesHeld(), limit);
    history.markSaved();
    change(5);
    EXPECT_EQ(history.count(), 2);
    history.undo();
    EXPECT_FALSE(history.isModified()); // the saved state survived the trim
    history.undo();
    EXPECT_EQ(std::pair(history.canUndo(), int(doc.settings.penThin)), std::pair(false, 13));

    // A step larger than the bound alone still stays: the last edit can
    // always be taken back.
    history.setLimits(EditHistory::maxSteps, 1);
    change(6);
    change(7);
    EXPECT_EQ(history.count(), 1);
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(doc.settings.penThin, 16);
}
