// What OK in the settings dialog changes, writes and redraws.
#include "app/SettingsCommands.h"

#include "editing/Diagram.h"
#include "io/SettingsFile.h"
#include "model/Document.h"
#include "render/HeadlessWindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// What follows a change: minute labels made, label images dropped, a render
// (keeping the minute texts, with the label selector).
enum Effect { None = 0, TimeLabels = 1, Images = 2, Render = 4, KeepTimeText = 8 };

struct Row
{
    const char *name;
    std::function<void(SettingsChoice &)> change;
    // The keys of the settings file afterwards, as "Section/Key=value" in
    // file order.
    QStringList written;
    int effects;
    int labelSelector = -1;
};

// The file's keys in order; sections as they first appear.
QStringList fileKeys(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    QString section;
    for (const QByteArray &raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'['))
            section = line.mid(1, line.size() - 2);
        else if (line.contains(u'='))
            out << section + u'/' + line.section(u'=', 0, 0).trimmed() + u'=' + line.section(u'=', 1).trimmed();
    }
    return out;
}

TEST(SettingsCommand, TakesWritesAndRedrawsWhatDiffers)
{
    const Row rows[] = {
        Row{"Nothing", [](SettingsChoice &) {}, {}, None},
        Row{"CheckBoxAlone", [](SettingsChoice &c) { c.saveLabelImages = true; }, {"Nastaveni/UlozitPopisky=1"}, None},
        Row{"TimeFont",
            [](SettingsChoice &c) {
                c.timeFont = {"Liberation Serif", 7};
            },
            {"Casove popisky/Name=Liberation Serif", "Casove popisky/Size=7"},
            TimeLabels | Render},
        Row{"TimeFontNameCaseCounts",
            [](SettingsChoice &c) { c.timeFont.name = "ARIAL CE"; },
            {"Casove popisky/Name=ARIAL CE", "Casove popisky/Size=7"},
            TimeLabels | Render},
        Row{"SmallTrainFont",
            [](SettingsChoice &c) {
                c.smallTrainFont = {"DejaVu Sans", 8};
            },
            {"Vlakove popisky/NameM=DejaVu Sans", "Vlakove popisky/SizeM=8"},
            Images | Render | KeepTimeText,
            0},
        Row{"LargeTrainFontSize",
            [](SettingsChoice &c) { c.largeTrainFont.size = 14; },
            {"Vlakove popisky/NameV=Arial CE", "Vlakove popisky/SizeV=14"},
            Images | Render | KeepTimeText,
            0},
        Row{"OneLineWidth", [](SettingsChoice &c) { c.penMedium = 5; }, {"Cary/Stredni=5"}, Render | KeepTimeText},
        // The line's tracks are the document's: redrawn, never written.
        Row{"DoubleTrack", [](SettingsChoice &c) { c.mainTracks = 2; }, {}, Render | KeepTimeText},
        Row{"Headway", [](SettingsChoice &c) { c.minHeadway = 0; }, {}, Render | KeepTimeText},
        Row{"Everything, written in order",
            [](SettingsChoice &c) {
                c.timeFont.size = c.smallTrainFont.size = c.largeTrainFont.size = 9;
                c.penThin = 4;
                c.penMedium = 5;
                c.penThick = 6;
                c.saveLabelImages = true;
            },
            {"Casove popisky/Name=Arial CE", "Casove popisky/Size=9", "Vlakove popisky/NameM=Times New Roman CE",
             "Vlakove popisky/SizeM=9", "Vlakove popisky/NameV=Arial CE", "Vlakove popisky/SizeV=9", "Cary/Slaba=4",
             "Cary/Stredni=5", "Cary/Silna=6", "Nastaveni/UlozitPopisky=1"},
            TimeLabels | Images | Render,
            0}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Vlakorys.ini"));
        SettingsFile file{path};
        Document doc;
        for (int i = 0; i < 3; ++i) {
            TrainLabel &l = doc.newTrainLabel();
            l.imageCodes = {3, 0};
            l.imageValues = {0};
        }
        doc.redrawNeeded = true; // the command starts from a clean flag
        doc.noDocument = true;   // the render draws the empty axis and leaves the labels alone
        SettingsChoice choice = SettingsChoice::of(doc.settings);
        row.change(choice);

        bool timeLabels = false;
        HeadlessWindow window;
        Diagram diagram(doc, window, LabelMakers({}, [&](Document &, double, ProgressSink &) {
                            timeLabels = true;
                            EXPECT_EQ(doc.settings.timeFontName, choice.timeFont.name.toUtf8())
                                << "labels are made in the new font";
                        }));
        const SettingsCommands::Outcome outcome = SettingsCommands::apply(diagram, file, choice);
        const int renders = window.surfaceChanges;
        const bool keep = diagram.lastRequest().keepMinuteTexts;
        const int32_t selector = diagram.lastRequest().labels.selector();

        EXPECT_FALSE(outcome.writeFailed);
        EXPECT_EQ(fileKeys(path), row.written);
        EXPECT_EQ(timeLabels, (row.effects & TimeLabels) != 0);
        for (const TrainLabel &l : doc.trainLabels)
            EXPECT_EQ(l.hasImage(), !(row.effects & Images));
        const bool rendered = row.effects & Render;
        EXPECT_EQ(renders, rendered ? 1 : 0);
        EXPECT_EQ(outcome.rendered, rendered);
        if (rendered) {
            EXPECT_EQ(keep, (row.effects & KeepTimeText) != 0);
            EXPECT_EQ(selector, row.labelSelector);
            EXPECT_TRUE(diagram.lastRequest().rebuild);
        } else {
            EXPECT_FALSE(doc.redrawNeeded);
        }
        const auto fields = [](const SettingsChoice &c) {
            return std::tie(c.timeFont, c.smallTrainFont, c.largeTrainFont, c.penThin, c.penMedium, c.penThick,
                            c.saveLabelImages, c.mainTracks, c.minHeadway);
        };
        EXPECT_TRUE(fields(SettingsChoice::of(doc.settings, doc.lineTracks)) == fields(choice)) << "all taken";
    }
}

TEST(SettingsCommand, AFailedWriteIsReportedAndTheDocumentStillChanges)
{
    QTemporaryDir dir;
    // A directory where the file should be: nothing can replace it.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Vlakorys.ini")));
    SettingsFile file(dir.filePath(QStringLiteral("Vlakorys.ini")));
    Document doc;
    HeadlessWindow window;
    Diagram diagram(doc, window);
    SettingsChoice choice = SettingsChoice::of(doc.settings);
    choice.penThin = 7;
    const SettingsCommands::Outcome outcome = SettingsCommands::apply(diagram, file, choice);
    EXPECT_EQ(std::pair(outcome.writeFailed, outcome.writeCause), std::pair(true, QStringLiteral("je to adresář")));
    EXPECT_EQ(doc.settings.penThin, 7);
}

} // namespace
