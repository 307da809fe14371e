#include "io/czptt/Sr70Codebook.h"

#include "CzpttTestData.h"
#include "model/Cp1250.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Positions = std::vector<std::pair<int32_t, QString>>;

Positions positionsOf(const Sr70Codebook::Entry &e)
{
    Positions p;
    for (const Sr70Codebook::Position &pos : e.positions)
        p.emplace_back(pos.metres, pos.section);
    return p;
}

const char *header = "Evidenční číslo;Název;Kvalifikátor - popis;Stav - popis;Km poloha;TUDU;Km polohy další;"
                     "TUDU další;GPS N (DEG);GPS E (DEG)\n";

} // namespace

TEST(Sr70Codebook, TheCodebookAsExported)
{
    Sr70Codebook book;
    const Sr70Codebook::ReadResult r = book.readFile(CzpttTestData::sr70Path());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(std::tuple(r.entries, r.skippedRows), std::tuple(4367, 0));

    const struct
    {
        const char *code, *name;
        DayPointKind kind;
        Positions positions;
        double latitude, longitude;
    } cases[] = {
        {"35442", "Vsetín", DayPointKind::Station, {{37877, "2362C5"}}, 49.334866, 17.994348},
        // A further position without a section is of no use.
        {"35443", "Vsetín-Bečva", DayPointKind::TimingPoint, {{36169, "2362C1"}}, 49.320358, 17.994585},
        {"35332", "Velké Karlovice zastávka", DayPointKind::Halt, {{26100, "237110"}}, 49.358689, 18.285997},
        {"33522", "Nový Hrozenkov", DayPointKind::FreightPoint, {{19501, "2371D1"}}, 49.340750, 18.204118},
        {"35162", "Valašské Meziříčí", DayPointKind::Station, Positions(4, {25057, "2361G1"}), 49.474507, 17.960638},
    };
    for (const auto &c : cases) {
        const Sr70Codebook::Entry *e = book.find(QString::fromUtf8(c.code));
        ASSERT_NE(e, nullptr) << c.code;
        EXPECT_EQ(std::tuple(e->name, e->kind, positionsOf(*e)),
                  std::tuple(QString::fromUtf8(c.name), c.kind, c.positions))
            << c.code;
        EXPECT_DOUBLE_EQ(e->latitude.value_or(0), c.latitude) << c.code;
        EXPECT_DOUBLE_EQ(e->longitude.value_or(0), c.longitude) << c.code;
    }
    EXPECT_EQ(book.find(QStringLiteral("99999")), nullptr);
}

TEST(Sr70Codebook, RowsItCannotReadAreSkippedAndCounted)
{
    const QString text = QString::fromUtf8(header)
                         // A name in quotes with a line break, a ";" and doubled quotes.
                         + "100016;\"Dlouhá \"\"Ves\"\";\nhoření\";Zastávka;Aktivní;1,5;1000A1;-;-;N50,1°;E15,2°\n"
                         // Not a number, a code too short, too few columns.
                         + "1000X2;Špatné číslo;Zastávka;Aktivní;1;1000A1;-;-;-;-\n" + "1234;Krátké;Zastávka\n"
                         + "100032;Málo sloupců\n"
                         + "\n"
                         // A cancelled point and an active one of the same five digits.
                         + "100040;Stará;Zastávka;Zrušen;0,000;-;-;-;-;-\n"
                         + "100041;Nová;Hláska a zastávka;Aktivní;-2,25;1000B1;-;-;S10,5°;W20,25°\n"
                         // Kilometres that are no number; a row over the limit; a quote never closed.
                         + "100057;Bez polohy;Odbočka (dopravna);Aktivní;abc;1000A1;3,1; 1000C1;-;-\n" + "100060;"
                         + QString(Sr70Codebook::recordLimit, u'x') + ";Zastávka\n"
                         + "100065;\"Neukončená;Zastávka;Aktivní;1;1000A1;-;-;-;-\n";
    Sr70Codebook book;
    const Sr70Codebook::ReadResult r = book.read(cp1250::fromUnicode(text));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(std::tuple(r.entries, r.skippedRows), std::tuple(3, 5));

    const Sr70Codebook::Entry *quoted = book.find(QStringLiteral("10001"));
    ASSERT_NE(quoted, nullptr);
    EXPECT_EQ(std::tuple(quoted->name, positionsOf(*quoted), quoted->latitude, quoted->longitude),
              std::tuple(QStringLiteral("Dlouhá \"Ves\";\nhoření"), Positions{{1500, "1000A1"}},
                         std::optional<double>(50.1), std::optional<double>(15.2)));
    const Sr70Codebook::Entry *active = book.find(QStringLiteral("10004"));
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(std::tuple(active->name, active->kind, positionsOf(*active), active->latitude, active->longitude),
              std::tuple(QStringLiteral("Nová"), DayPointKind::SignalPost, Positions{{-2250, "1000B1"}},
                         std::optional<double>(-10.5), std::optional<double>(-20.25)));
    const Sr70Codebook::Entry *unplaced = book.find(QStringLiteral("10005"));
    ASSERT_NE(unplaced, nullptr);
    EXPECT_EQ(std::tuple(unplaced->kind, positionsOf(*unplaced)),
              std::tuple(DayPointKind::Junction, Positions{{3100, "1000C1"}}));

    // Not a codebook at all.
    const Sr70Codebook::ReadResult foreign = book.read("stop_id,stop_name\n1,A\n");
    EXPECT_FALSE(foreign.ok);
    EXPECT_TRUE(foreign.error.startsWith(QStringLiteral("Soubor není číselník SR70"))) << foreign.error.toStdString();
    EXPECT_TRUE(book.isEmpty());
    EXPECT_FALSE(book.readFile(QStringLiteral("/nonexistent/SR70.csv")).ok);
}

TEST(Sr70Codebook, SavedAsUtf8ItReadsTheSame)
{
    const QString text = QString::fromUtf8(header) + "100016;Dlouhá Ves-hoření;Zastávka;Aktivní;1,5;1000A1;-;-;-;-\n";
    const QByteArray utf8 = text.toUtf8();
    for (const QByteArray &bytes : {cp1250::fromUnicode(text), utf8, "\xEF\xBB\xBF" + utf8}) {
        Sr70Codebook book;
        ASSERT_TRUE(book.read(bytes).ok) << bytes.left(3).toHex().toStdString();
        EXPECT_EQ(book.find(QStringLiteral("10001"))->name, QStringLiteral("Dlouhá Ves-hoření"));
    }
}
