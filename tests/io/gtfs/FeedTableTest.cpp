#include "io/gtfs/FeedTable.h"
#include "io/gtfs/GtfsValues.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A sequential device giving its bytes a few at a time, as a pipe or an
// archive member may: records cross every read.
class Trickle : public QIODevice
{
public:
    Trickle(QByteArray bytes, int step) : m_bytes(std::move(bytes)), m_step(step) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>({maxSize, m_step, m_bytes.size() - m_at});
        memcpy(data, m_bytes.constData() + m_at, size_t(n));
        m_at += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    int m_step;
    qint64 m_at = 0;
};

// Every record as "line:field|field…", a left out one as "line:!", and how
// the table ended.
std::vector<std::string> walk(QIODevice &device, qint64 limit = qint64{1} << 30)
{
    FeedTable table(device, limit);
    std::vector<std::string> out;
    FeedTable::Status s = table.readHeader();
    if (s == FeedTable::Status::Row) {
        out.push_back("header:" + std::to_string(table.header().size()));
        s = table.next();
    }
    for (; s == FeedTable::Status::Row || s == FeedTable::Status::Malformed; s = table.next()) {
        std::string row = std::to_string(table.line()) + ':';
        if (s == FeedTable::Status::Malformed) {
            row += '!';
        } else {
            for (int i = 0; i < table.fieldCount(); ++i)
                row += (i ? "|" : "") + std::string(table.field(i));
        }
        out.push_back(row);
    }
    out.push_back(s == FeedTable::Status::End ? "end" : s == FeedTable::Status::TooLarge ? "too large" : "error");
    return out;
}

std::vector<std::string> walkBytes(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return walk(buffer);
}

} // namespace

TEST(FeedTable, Records)
{
    using Rows = std::vector<std::string>;
    const struct
    {
        const char *what;
        QByteArray bytes;
        Rows rows;
    } cases[] = {
        {"byte-order mark, CR LF, no end of line at the end",
         "\xEF\xBB\xBFid,name\r\n1,Alfa\r\n2,Beta",
         {"header:2", "2:1|Alfa", "3:2|Beta", "end"}},
        {"quotes: commas, doubled quotes, a line break; blanks trimmed",
         "a,b\n\"x,y\",\"say \"\"hi\"\"\"\n\"two\nlines\", c \n3,\"\"\n",
         {"header:2", "2:x,y|say \"hi\"", "3:two\nlines|c", "5:3|", "end"}},
        {"empty lines left out, lone CR line ends", "a\r\r\n\n1\r2\n\n", {"header:1", "4:1", "5:2", "end"}},
        {"ragged rows: missing fields read as empty, extra ones kept",
         "a,b,c\n1\n1,2,3,4\n",
         {"header:3", "2:1", "3:1|2|3|4", "end"}},
        {"a quote inside an unquoted field is text", "a,b\n5\" gauge,x\n", {"header:2", "2:5\" gauge|x", "end"}},
        {"text after a closing quote: that line is left out",
         "a,b\n\"x\"y,1\n2,3\n",
         {"header:2", "2:!", "3:2|3", "end"}},
        {"a quote never closed costs its own line only",
         "a,b\n1,2\n\"open,3\n4,5\n",
         {"header:2", "2:1|2", "3:!", "4:4|5", "end"}},
        {"an empty table", "", {"end"}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(walkBytes(c.bytes), c.rows) << c.what;
        for (int step : {1, 3}) {
            Trickle trickle(c.bytes, step);
            EXPECT_EQ(walk(trickle), c.rows) << c.what << " (read " << step << " bytes at a time)";
        }
    }
}

TEST(FeedTable, ColumnsByName)
{
    QBuffer buffer;
    buffer.setData("stop_id, stop_name ,stop_lat\nX,Alfa\n");
    buffer.open(QIODevice::ReadOnly);
    FeedTable table(buffer, 1000);
    ASSERT_EQ(table.readHeader(), FeedTable::Status::Row);
    ASSERT_EQ(table.next(), FeedTable::Status::Row);
    EXPECT_EQ(std::make_tuple(table.field(table.column("stop_name")), table.column("stop_lat"),
                              table.field(table.column("stop_lat")), table.column("parent_station"),
                              table.field(table.column("parent_station"))),
              std::make_tuple("Alfa", 2, "", -1, ""));
}

// Records longer than a read, one longer than any record may be, and a
// table that passes its limit.
TEST(FeedTable, Bounds)
{
    QByteArray big = "a,b\n";
    const QByteArray longField(300000, 'x');
    big += "\"" + longField + "\",1\n";
    big += QByteArray(FeedTable::recordLimit + 10, 'y') + ",2\n";
    big += "\"" + QByteArray(FeedTable::recordLimit + 10, 'z') + "\n";
    big += "last,3\n";
    const std::vector<std::string> rows = walkBytes(big);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1], "2:" + longField.toStdString() + "|1");
    EXPECT_EQ(std::vector<std::string>(rows.begin() + 2, rows.end()),
              (std::vector<std::string>{"3:!", "4:!", "5:last|3", "end"}));

    const QByteArray table = "a\n" + QByteArray(5000, '1') + "\n";
    QBuffer sized;
    sized.setData(table);
    sized.open(QIODevice::ReadOnly);
    Trickle unsized(table, 1000);
    EXPECT_EQ(walk(sized, 4000), std::vector<std::string>{"too large"});
    EXPECT_EQ(walk(unsized, 4000), (std::vector<std::string>{"header:1", "too large"}));
}

TEST(GtfsValues, Times)
{
    const struct
    {
        const char *text;
        std::optional<int32_t> seconds;
    } cases[] = {
        {"05:00:00", 18000}, {"5:00:00", 18000}, {"25:43:00", 92580}, {"0:00:00", 0}, {"123:00:01", 442801},
        {"25:61:00", {}},    {"24:00:60", {}},   {"5:0:00", {}},      {"05:00", {}},  {"1234:00:00", {}},
        {"-1:00:00", {}},    {":00:00", {}},     {"5:00:00 ", {}},    {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GtfsValues::time(c.text), c.seconds) << c.text;
}

TEST(GtfsValues, DatesAndNumbers)
{
    EXPECT_EQ(GtfsValues::date("20170724"), QDate(2017, 7, 24));
    for (const char *bad : {"2017-07-24", "20170230", "2017072", "201707245", "2017O724"})
        EXPECT_EQ(GtfsValues::date(bad), std::nullopt) << bad;
    EXPECT_EQ(GtfsValues::number("-122.394992"), -122.394992);
    EXPECT_EQ(GtfsValues::number("+1e3"), 1000.0);
    for (const char *bad : {"", "1,5", "nan", "inf", "1e999", "+-1", "12 km"})
        EXPECT_EQ(GtfsValues::number(bad), std::nullopt) << bad;
    EXPECT_EQ(GtfsValues::integer("-7"), -7);
    for (const char *bad : {"", "1.0", "2147483648", "+-1"})
        EXPECT_EQ(GtfsValues::integer(bad), std::nullopt) << bad;
    EXPECT_FALSE(GtfsValues::validCoordinates(0, 0));
    EXPECT_FALSE(GtfsValues::validCoordinates(91, 14));
    EXPECT_TRUE(GtfsValues::validCoordinates(0, 14));
}
