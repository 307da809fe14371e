// The commands of vlakorys-cli run in-process: outputs, exit statuses, the
// single error line, and no output file after a failure.
#include "cli/BuildCommand.h"
#include "cli/CliApp.h"
#include "cli/DocumentJson.h"
#include "cli/DumpCommand.h"
#include "cli/ImportCommand.h"
#include "io/DocumentWriter.h"
#include "model/Document.h"
#include "model/Errors.h"

#include "SampleLine.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// A stream the command writes to, read back as text.
class Capture
{
public:
    Capture() : m_file(std::tmpfile()) {}
    ~Capture() { std::fclose(m_file); }
    std::FILE *file() const { return m_file; }
    QByteArray text() const
    {
        std::fflush(m_file);
        std::rewind(m_file);
        QByteArray out;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0)
            out.append(buffer, static_cast<qsizetype>(n));
        return out;
    }

private:
    std::FILE *m_file;
};

class CliCommandsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    Capture out;
    Capture err;
    QStringList labelCalls;
    LabelSteps recording{[this](Document &) { labelCalls << QStringLiteral("train"); },
                         [this](Document &) { labelCalls << QStringLiteral("time"); }};

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    static QByteArray bytesOf(const Document &d)
    {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        DocumentWriter::write(d, b);
        return b.data();
    }
    static void writeFile(const QString &p, const QByteArray &bytes)
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray readFile(const QString &p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    int cli(const QStringList &args) { return CliApp::run(args, out.file(), err.file()); }

    // One line naming the tool, the file and the message.
    QByteArray errorLine(const QString &file, const QString &message) const
    {
        return (QStringLiteral("vlakorys-cli: ") + file + QStringLiteral(": ") + message + u'\n').toUtf8();
    }

    void smallDocument(bool labels)
    {
        Document doc;
        SampleLine::fill(doc, {4, 12, 2, 4});
        if (labels)
            doc.newTrainLabel().text = "Os 1";
        writeFile(path("doc.vrs"), bytesOf(doc));
    }
};

} // namespace

TEST_F(CliCommandsTest, DumpPrintsTheOpenedDocument)
{
    smallDocument(false);
    EXPECT_EQ(DumpCommand(recording).run({path("doc.vrs")}, out.file(), err.file()), 0);
    EXPECT_TRUE(err.text().isEmpty());
    // No labels in the file: train labels are made, then the time labels.
    EXPECT_EQ(labelCalls, (QStringList{"train", "time"}));
    const auto json = DocumentJson::Json::parse(out.text().toStdString());
    ASSERT_EQ(json["stations"].size(), 4u);
    EXPECT_EQ(json["trains"].size(), 2u);
    // Kinds as Open leaves them: SampleLine gives every station one.
    EXPECT_EQ(json["stationKinds"].size(), 4u);
}

TEST_F(CliCommandsTest, DumpKeepsTheLabelsOfTheFile)
{
    smallDocument(true);
    EXPECT_EQ(DumpCommand(recording).run({path("doc.vrs")}, out.file(), err.file()), 0);
    EXPECT_EQ(labelCalls, QStringList{"time"});
    EXPECT_NE(out.text().indexOf("\"text\": \"Os 1\""), -1);
}

TEST_F(CliCommandsTest, DumpLinksKindsAsOpenDoes)
{
    Document doc;
    Station s;
    s.name = "A";
    doc.stations.push_back(s);
    writeFile(path("doc.vrs"), bytesOf(doc));
    ASSERT_EQ(cli({"dump", path("doc.vrs")}), 0);
    EXPECT_NE(out.text().indexOf("{\"stationIndex\": 1, \"dopravna\": 0, \"hradlo\": 0, \"hlaska\": 0, \"odbocka\": 0, "
                                 "\"nakladiste\": 0, \"zastavka\": 1, \"kilometr\": 0}"),
              -1);
}

TEST_F(CliCommandsTest, DumpFailures)
{
    writeFile(path("json.vrs"), "{\"stations\": []}\n");
    writeFile(path("other.vrs"), QByteArray("\x0DHello world!!") + QByteArray(20, '\0'));
    Document doc;
    SampleLine::fill(doc, {4, 12, 2, 4});
    writeFile(path("cut.vrs"), bytesOf(doc).left(100));
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
        Capture o, e;
        EXPECT_EQ(CliApp::run({"dump", c.file}, o.file(), e.file()), 1);
        EXPECT_EQ(e.text(), errorLine(c.file, c.message));
        EXPECT_TRUE(o.text().isEmpty());
    }
}

TEST_F(CliCommandsTest, DumpReportsAnErrorOfLabelGeneration)
{
    smallDocument(false);
    LabelSteps failing{[](Document &) { throw RangeError(); }, [](Document &) {}};
    EXPECT_EQ(DumpCommand(failing).run({path("doc.vrs")}, out.file(), err.file()), 1);
    EXPECT_EQ(err.text(), errorLine(path("doc.vrs"), QStringLiteral("Range check error")));
}

TEST_F(CliCommandsTest, BuildWritesWhatSaveWrites)
{
    const QByteArray json = R"({"stations": [{"name": "Tanvald", "km": 27}],
                                "trains": [{"name": "Os 1", "rows": [{"station": 1, "time": "6:00"}]}]})";
    writeFile(path("in.json"), json);
    ASSERT_EQ(cli({"build", path("in.json"), path("out.vrs")}), 0);
    EXPECT_TRUE(err.text().isEmpty());
    Document expected;
    ASSERT_TRUE(DocumentJson::fromText(json, expected).isEmpty());
    EXPECT_EQ(readFile(path("out.vrs")), bytesOf(expected));
}

TEST_F(CliCommandsTest, BuildFailuresLeaveNoOutput)
{
    writeFile(path("bad.json"), R"({"stations": [{"name": 5}]})");
    EXPECT_EQ(cli({"build", path("bad.json"), path("out.vrs")}), 1);
    EXPECT_EQ(err.text(), errorLine(path("bad.json"), QStringLiteral("stations[0].name: expected a text")));
    EXPECT_FALSE(QFile::exists(path("out.vrs")));

    // An existing output stays as it was.
    writeFile(path("out.vrs"), "old");
    Capture e2;
    EXPECT_EQ(CliApp::run({"build", path("bad.json"), path("out.vrs")}, out.file(), e2.file()), 1);
    EXPECT_EQ(readFile(path("out.vrs")), QByteArray("old"));

    Capture e3;
    EXPECT_EQ(CliApp::run({"build", path("missing.json"), path("x.vrs")}, out.file(), e3.file()), 1);
    EXPECT_TRUE(e3.text().startsWith(errorLine(path("missing.json"), "Chyba při otevírání souboru.").chopped(1)));
    EXPECT_EQ(e3.text().count('\n'), 1);

    writeFile(path("ok.json"), "{}");
    Capture e4;
    EXPECT_EQ(CliApp::run({"build", path("ok.json"), path("no/dir/x.vrs")}, out.file(), e4.file()), 1);
    EXPECT_EQ(e4.text(), errorLine(path("no/dir/x.vrs"), QStringLiteral("Chyba při vytváření souboru.")));

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"bad.json", "ok.json", "out.vrs"}));
}

TEST_F(CliCommandsTest, ImportAppendsTrainsAndSaves)
{
    Document doc;
    SampleLine::fill(doc, {4, 12, 2, 4});
    doc.newTrainLabel().text = "Os 1";
    writeFile(path("doc.vrs"), bytesOf(doc));
    writeFile(path("jr.txt"), "Os 77;pp\nStanice 1\t\t 6:00\nStanice 2\t 6:05\t 6:06\n-\n");
    EXPECT_EQ(ImportCommand(recording).run({path("doc.vrs"), path("jr.txt"), path("out.vrs")}, out.file(), err.file()),
              0);
    EXPECT_TRUE(err.text().isEmpty());
    // Open (the file has labels: time labels only), then Import's both.
    EXPECT_EQ(labelCalls, (QStringList{"time", "train", "time"}));
    Capture o2, e2;
    ASSERT_EQ(CliApp::run({"dump", path("out.vrs")}, o2.file(), e2.file()), 0);
    const auto json = DocumentJson::Json::parse(o2.text().toStdString());
    ASSERT_EQ(json["trains"].size(), 3u);
    EXPECT_EQ(json["trains"][2]["name"], "Os 77");
    EXPECT_EQ(json["trains"][2]["podlePotreby"], 1);
    EXPECT_EQ(json["trains"][2]["rows"].size(), 3u);
}

TEST_F(CliCommandsTest, ImportFailuresLeaveNoOutput)
{
    smallDocument(false);
    writeFile(path("bad.txt"), "Os 1\nStanice 1\t\t 6:00\nStanice 2\t 6:0x\t\n");
    EXPECT_EQ(cli({"import", path("doc.vrs"), path("bad.txt"), path("out.vrs")}), 1);
    EXPECT_EQ(err.text(), errorLine(path("bad.txt"), QStringLiteral("'0x' is not a valid integer value")));

    Capture e2;
    EXPECT_EQ(CliApp::run({"import", path("doc.vrs"), path("none.txt"), path("out.vrs")}, out.file(), e2.file()), 1);
    EXPECT_EQ(e2.text(), errorLine(path("none.txt"), QStringLiteral("Chyba otevírání souboru.")));

    Capture e3;
    writeFile(path("other.vrs"), QByteArray("\x0DVlakorys 2.0!") + QByteArray(20, '\0'));
    EXPECT_EQ(CliApp::run({"import", path("other.vrs"), path("bad.txt"), path("out.vrs")}, out.file(), e3.file()), 1);
    EXPECT_EQ(e3.text(), errorLine(path("other.vrs"), QStringLiteral("Toto není soubor s vlakorysem.")));

    EXPECT_FALSE(QFile::exists(path("out.vrs")));
}

TEST_F(CliCommandsTest, UsageAndUnknownCommands)
{
    EXPECT_EQ(cli({"dump"}), 1);
    EXPECT_EQ(err.text(), QByteArray("vlakorys-cli: usage: vlakorys-cli dump FILE.vrs\n"));
    Capture e2;
    EXPECT_EQ(CliApp::run({"build", "a.json"}, out.file(), e2.file()), 1);
    EXPECT_EQ(e2.text(), QByteArray("vlakorys-cli: usage: vlakorys-cli build FILE.json OUT.vrs\n"));
    Capture e3;
    EXPECT_EQ(CliApp::run({"import", "a", "b"}, out.file(), e3.file()), 1);
    EXPECT_EQ(e3.text(), QByteArray("vlakorys-cli: usage: vlakorys-cli import DOC.vrs TIMETABLE.txt OUT.vrs\n"));
    Capture e4;
    EXPECT_EQ(CliApp::run({"print"}, out.file(), e4.file()), 1);
    EXPECT_EQ(e4.text().count('\n'), 1);
}
