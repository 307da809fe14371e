// The commands of vlakorys-cli run in-process: outputs, exit statuses, the
// single error line, and no output file after a failure.
#include "CliTest.h"

#include "../io/FileBytes.h"

#include "cli/DocumentJson.h"
#include "cli/DumpCommand.h"
#include "cli/ImportCommand.h"
#include "model/Document.h"
#include "model/Errors.h"

#include "SampleLine.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using Json = DocumentJson::Json;

class CliCommandsTest : public CliTest
{
protected:
    QStringList labelCalls;
    LabelSteps recording{[this](Document &) { labelCalls << QStringLiteral("train"); },
                         [this](Document &) { labelCalls << QStringLiteral("time"); }};

    // One line naming the tool, the file and the message.
    static QByteArray errorLine(const QString &file, const QString &message)
    {
        return (QStringLiteral("vlakorys-cli: ") + file + QStringLiteral(": ") + message + u'\n').toUtf8();
    }

    // doc.vrs: four stations and two trains, with a train label when asked.
    void smallDocument(bool label)
    {
        Document doc;
        SampleLine::fill(doc, {4, 12, 2, 4});
        if (label)
            doc.newTrainLabel().text = "Os 1";
        FileBytes::write(path("doc.vrs"), FileBytes::of(doc));
    }
};

} // namespace

TEST_F(CliCommandsTest, DumpRunsTheLabelStepsOfOpen)
{
    for (bool label : {false, true}) {
        smallDocument(label);
        labelCalls.clear();
        const CommandRun r = capture(
            [&](std::FILE *out, std::FILE *err) { return DumpCommand(recording).run({path("doc.vrs")}, out, err); });
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.err.isEmpty());
        // Train labels only when the file had none, then the time labels.
        EXPECT_EQ(labelCalls, (label ? QStringList{"time"} : QStringList{"train", "time"}));
        const Json json = Json::parse(r.out.toStdString());
        EXPECT_EQ(json["stations"].size(), 4u);
        EXPECT_EQ(json["trains"].size(), 2u);
        EXPECT_EQ(json["trainLabels"].size(), label ? 1u : 0u);
    }
}

TEST_F(CliCommandsTest, DumpFailures)
{
    FileBytes::write(path("json.vrs"), "{\"stations\": []}\n");
    FileBytes::write(path("other.vrs"), QByteArray("\x0DHello world!!") + QByteArray(20, '\0'));
    Document doc;
    SampleLine::fill(doc, {4, 12, 2, 4});
    FileBytes::write(path("cut.vrs"), FileBytes::of(doc).left(100));
    const struct
    {
        QString file;
        QString message;
    } cases[] = {
        {path("missing.vrs"), QStringLiteral("Chyba při otevírání souboru.")},
        {path("other.vrs"), QStringLiteral("Toto není soubor s vlakorysem.")},
        // Its first byte, "{", is a header length above 13.
        {path("json.vrs"), QStringLiteral("Chyba při načítání souboru")},
        {path("cut.vrs"), QStringLiteral("Chyba při načítání souboru")},
    };
    for (const auto &c : cases) {
        const CommandRun r = cli({"dump", c.file});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, errorLine(c.file, c.message));
        EXPECT_TRUE(r.out.isEmpty());
    }

    smallDocument(false);
    LabelSteps failing{[](Document &) { throw RangeError(); }, [](Document &) {}};
    const CommandRun r =
        capture([&](std::FILE *out, std::FILE *err) { return DumpCommand(failing).run({path("doc.vrs")}, out, err); });
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, errorLine(path("doc.vrs"), QStringLiteral("Range check error")));
}

TEST_F(CliCommandsTest, BuildWritesWhatSaveWrites)
{
    const QByteArray json = R"({"stations": [{"name": "Tanvald", "km": 27}],
                                "trains": [{"name": "Os 1", "rows": [{"station": 1, "time": "6:00"}]}]})";
    FileBytes::write(path("in.json"), json);
    const CommandRun r = cli({"build", path("in.json"), path("out.vrs")});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.isEmpty());
    Document expected;
    ASSERT_TRUE(DocumentJson::fromText(json, expected).isEmpty());
    EXPECT_EQ(FileBytes::read(path("out.vrs")), FileBytes::of(expected));
}

TEST_F(CliCommandsTest, BuildFailuresLeaveNoOutput)
{
    FileBytes::write(path("bad.json"), R"({"stations": [{"name": 5}]})");
    CommandRun r = cli({"build", path("bad.json"), path("out.vrs")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, errorLine(path("bad.json"), QStringLiteral("stations[0].name: expected a text")));
    EXPECT_FALSE(QFile::exists(path("out.vrs")));

    // An existing output stays as it was.
    FileBytes::write(path("out.vrs"), "old");
    EXPECT_EQ(cli({"build", path("bad.json"), path("out.vrs")}).status, 1);
    EXPECT_EQ(FileBytes::read(path("out.vrs")), QByteArray("old"));

    r = cli({"build", path("missing.json"), path("x.vrs")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith(errorLine(path("missing.json"), "Chyba při otevírání souboru.").chopped(1)));
    EXPECT_EQ(r.err.count('\n'), 1);

    FileBytes::write(path("ok.json"), "{}");
    r = cli({"build", path("ok.json"), path("no/dir/x.vrs")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, errorLine(path("no/dir/x.vrs"), QStringLiteral("Chyba při vytváření souboru.")));

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"bad.json", "ok.json", "out.vrs"}));
}

TEST_F(CliCommandsTest, ImportAppendsTrainsAndSaves)
{
    smallDocument(true);
    FileBytes::write(path("jr.txt"), "Os 77;pp\nStanice 1\t\t 6:00\nStanice 2\t 6:05\t 6:06\n-\n");
    const CommandRun r = capture([&](std::FILE *out, std::FILE *err) {
        return ImportCommand(recording).run({path("doc.vrs"), path("jr.txt"), path("out.vrs")}, out, err);
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.isEmpty());
    // Open (the file has labels: time labels only), then Import's both.
    EXPECT_EQ(labelCalls, (QStringList{"time", "train", "time"}));
    const CommandRun dump = cli({"dump", path("out.vrs")});
    ASSERT_EQ(dump.status, 0);
    const Json json = Json::parse(dump.out.toStdString());
    ASSERT_EQ(json["trains"].size(), 3u);
    EXPECT_EQ(json["trains"][2]["name"], "Os 77");
    EXPECT_EQ(json["trains"][2]["podlePotreby"], 1);
    EXPECT_EQ(json["trains"][2]["rows"].size(), 3u);
}

TEST_F(CliCommandsTest, ImportFailuresLeaveNoOutput)
{
    smallDocument(false);
    FileBytes::write(path("bad.txt"), "Os 1\nStanice 1\t\t 6:00\nStanice 2\t 6:0x\t\n");
    FileBytes::write(path("other.vrs"), QByteArray("\x0DVlakorys 2.0!") + QByteArray(20, '\0'));
    const struct
    {
        const char *document;
        const char *timetable;
        const char *blamed;
        QString message;
    } cases[] = {
        {"doc.vrs", "bad.txt", "bad.txt", QStringLiteral("'0x' is not a valid integer value")},
        {"doc.vrs", "none.txt", "none.txt", QStringLiteral("Chyba otevírání souboru.")},
        {"other.vrs", "bad.txt", "other.vrs", QStringLiteral("Toto není soubor s vlakorysem.")},
    };
    for (const auto &c : cases) {
        const CommandRun r = cli({"import", path(c.document), path(c.timetable), path("out.vrs")});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, errorLine(path(c.blamed), c.message));
        EXPECT_FALSE(QFile::exists(path("out.vrs")));
    }
}

TEST_F(CliCommandsTest, UsageAndUnknownCommands)
{
    const std::pair<QStringList, QByteArray> cases[] = {
        {{"dump"}, "vlakorys-cli: usage: vlakorys-cli dump FILE.vrs\n"},
        {{"build", "a.json"}, "vlakorys-cli: usage: vlakorys-cli build FILE.json OUT.vrs\n"},
        {{"import", "a", "b"}, "vlakorys-cli: usage: vlakorys-cli import DOC.vrs TIMETABLE.txt OUT.vrs\n"},
        {{"print"}, "vlakorys-cli: unknown command 'print'; see vlakorys-cli --help\n"},
    };
    for (const auto &[args, message] : cases) {
        const CommandRun r = cli(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, message);
    }
}
