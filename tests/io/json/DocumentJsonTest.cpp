// The JSON form of a document: its exact text (small-document.json), which
// dump prints and tools depend on, and everything build accepts and refuses.
#include "../FileBytes.h"

#include "io/json/DocumentJson.h"
#include "model/ClockTime.h"
#include "model/Document.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using FileBytes::of;

std::string refusal(const QByteArray &json)
{
    Document doc;
    return DocumentJson::fromText(json, doc).toStdString();
}

} // namespace

TEST(DocumentJson, TextOfASmallDocument)
{
    Document doc;
    doc.stations.push_back({"Jablonec n.N. zast\xE1vka", 13000});
    doc.appendKind({.stationIndex = 1, .nakladiste = 1, .zastavka = 1});
    doc.trains.resize(2);
    doc.trains[0].name = "Os 5401";
    doc.trains[0].podlePotreby = 1;
    Document::addRow(doc.trains[0], 1, makeTime(6, 12), 0, 0, 0);
    Document::addRow(doc.trains[0], -987, 0.0, -1, 1, 1);
    doc.trains[1].name = "R 1"; // no rows
    TrainLabel &plain = doc.newTrainLabel();
    plain.text = "R 1";
    plain.time = -0.0;
    plain.level = 1e-7;
    plain.angle = 0.1 + 0.2;
    TrainLabel &imaged = doc.newTrainLabel();
    imaged.text = "Os 5401";
    imaged.time = 0.25;
    imaged.level = 12.5;
    imaged.ascending = 1;
    imaged.visible = 1;
    imaged.angle = -0.7853981635;
    imaged.imageColour = 255;
    imaged.width = 2;
    imaged.height = 1;
    imaged.imageCodes = {2, 0};
    imaged.imageValues = {0};
    doc.profiles.countOf(2) = 1;
    doc.profiles.at(2, 1).name = "Os";
    doc.profiles.at(2, 1).runTimeAt(1) = 7;
    doc.profiles.at(2, 1).dwellAt(2) = 1;

    const QByteArray expected = FileBytes::read(QStringLiteral(VLAKORYS_SOURCE_DIR "/tests/cli/small-document.json"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(DocumentJson::toText(doc).toStdString(), expected.toStdString());

    // The document build saves holds the labels the other way round: the
    // file, once opened, lists them as the JSON does.
    Document back;
    ASSERT_EQ(DocumentJson::fromText(expected, back), QString());
    std::reverse(doc.trainLabels.begin(), doc.trainLabels.end());
    EXPECT_EQ(of(back), of(doc));
}

// A position is a number of kilometres with up to three decimals; a whole
// kilometre is written, as ever, without a fraction. Track numbers appear
// only where they differ from the defaults. Both come back as they were.
TEST(DocumentJson, KilometresToTheMetreAndTrackNumbers)
{
    Document doc;
    for (int32_t metres : {0, 7562, 12000, -350, 2500, 2147483000})
        doc.stations.push_back({"S", metres});
    EXPECT_EQ(DocumentJson::toText(doc).toStdString().find("Tracks"), std::string::npos);
    doc.stations[0].sectionTracks = 3;
    doc.stations[0].sectionHeadway = 2;
    doc.stations[2].stationTracks = 0;
    doc.lineTracks = {2, 0};
    const std::string text = DocumentJson::toText(doc).toStdString();
    for (const char *item : {R"("km": 0, "sectionTracks": 3, "sectionHeadway": 2})", R"("km": 7.562})",
                             R"("km": 12, "stationTracks": 0})", R"("km": -0.35})", R"("km": 2.5})",
                             R"("km": 2147483})", R"("lineTracks": {"mainTracks": 2, "minHeadway": 0})"})
        EXPECT_NE(text.find(item), std::string::npos) << item << "\n" << text;
    Document back;
    ASSERT_EQ(DocumentJson::fromText(QByteArray::fromStdString(text), back), QString());
    EXPECT_EQ(of(back), of(doc));

    Document typed;
    ASSERT_EQ(DocumentJson::fromText(R"({"stations": [{"km": 24.151}, {"km": 24.1510}, {"km": 3e1}, {"km": -0.001}]})",
                                     typed),
              QString());
    EXPECT_EQ(std::tuple(typed.stations[0].metres, typed.stations[1].metres, typed.stations[2].metres,
                         typed.stations[3].metres),
              std::tuple(24151, 24151, 30000, -1));
}

TEST(DocumentJson, MissingKeysTakeTheValuesOfAnEmptyDocument)
{
    Document empty;
    Document fromNothing;
    ASSERT_EQ(DocumentJson::fromText("{}", fromNothing), QString());
    EXPECT_EQ(of(fromNothing), of(empty));

    // Times as day fractions or clock texts, flags as booleans.
    Document partial;
    ASSERT_EQ(DocumentJson::fromText(R"({"settings": {"zoom": 8}, "trains": [{"name": "Os 1", "rows": []},
                        {"rusici": true, "podlePotreby": false,
                         "rows": [{"station": 1, "time": "23:59:30"}, {"station": 4, "time": 0.5}]}],
                        "trainLabels": [{"time": "12:00"}],
                        "profiles": {"direction2": [{"name": "Sp", "dwell": [2]}]}})",
                                     partial),
              QString());
    EXPECT_EQ(std::tuple(partial.settings.zoom, partial.settings.timeFontName, partial.settings.showCategory),
              std::tuple(8, QByteArray("Arial CE"), 1));
    ASSERT_EQ(partial.trains.size(), 2u);
    EXPECT_TRUE(partial.trains[0].isEmpty());
    const Train &t = partial.trains[1];
    EXPECT_EQ(std::tuple(t.rusici, t.podlePotreby, t.row(0).time, t.row(1).time, partial.trainLabels.at(0).time),
              std::tuple(1, 0, makeTime(23, 59, 30), 0.5, 0.5));
    const TravelTimeProfile &p = partial.profiles.at(2, 1);
    EXPECT_EQ(std::tuple(partial.profiles.countOf(2), p.dwellAt(1), p.dwellAt(2), p.runTimeAt(1)),
              std::tuple(1, 2, -1, 0));
}

TEST(DocumentJson, RefusalsNameTheField)
{
    const auto items = [](const char *item, int n) {
        QByteArray out = item;
        for (int i = 1; i < n; ++i)
            out += QByteArray(", ") + item;
        return out;
    };
    const auto image = [](const char *fields) {
        return QByteArray(R"({"trainLabels": [{"image": {"colour": 0, "height": 1, )") + fields + "}}]}";
    };
    const QByteArray name51(51, 'x');
    const struct
    {
        QByteArray json;
        std::string message;
    } cases[] = {
        {"[]", "dokument: očekává se objekt"},
        {R"({"stations": [{"name": "Praha", "kilometr": 3}]})", "stations[0].kilometr: neznámý klíč"},
        {R"({"stations": [{"name": "北京"}]})", "stations[0].name: obsahuje znak, který kódová stránka 1250 nemá"},
        {R"({"stations": [{"name": ")" + name51 + R"("}]})", "stations[0].name: delší než 50 znaků"},
        {R"({"stations": [{"km": 1.5005}]})", "stations[0].km: více než tři desetinná místa (metry)"},
        {R"({"stations": [{"km": 0.0001}]})", "stations[0].km: více než tři desetinná místa (metry)"},
        {R"({"stations": [{"km": 3000000000}]})", "stations[0].km: musí být od -2147483 do 2147483"},
        {R"({"stations": [{"km": -2147483.5}]})", "stations[0].km: musí být od -2147483 do 2147483"},
        {R"({"stations": [{"km": 1e300}]})", "stations[0].km: musí být od -2147483 do 2147483"},
        {R"({"stations": [{"km": "7,5"}]})", "stations[0].km: očekává se číslo"},
        {R"({"stations": {}})", "stations: očekává se seznam"},
        {R"({"stationKinds": [{"stationIndex": 1, "dopravna": 2}]})",
         "stationKinds[0].dopravna: příznak musí být 0 nebo 1"},
        {R"({"trains": [{"name": "Os 123456789012345678"}]})", "trains[0].name: delší než 20 znaků"},
        {R"({"trains": [{"rows": [{}, {"time": "6:60"}]}]})",
         R"(trains[0].rows[1].time: očekává se část dne nebo čas "H:MM" či "H:MM:SS")"},
        {R"({"trains": [{"rows": [{"time": true}]}]})", "trains[0].rows[0].time: očekává se číslo"},
        {R"({"settings": {"zoom": 1}})", "settings.zoom: musí být od 2 do 21"},
        {R"({"settings": {"ratioY": 0}})", "settings.ratioY: musí být od 1 do 100"},
        {R"({"trainLabels": [{"text": "1234567890123456"}]})", "trainLabels[0].text: delší než 15 znaků"},
        {image(R"("width": 1, "codes": "AQA=", "values": "")"),
         "trainLabels[0].image.values: musí mít jednu hodnotu za každý nenulový kód (1)"},
        {image(R"("width": 1, "codes": "**", "values": "")"), "trainLabels[0].image.codes: není platné base64"},
        {image(R"("width": -1, "codes": "AA==", "values": "")"), "trainLabels[0].image.width: musí být od 0 do 65535"},
        {image(R"("width": 1, "values": "")"), "trainLabels[0].image.codes: chybí"},
        {R"({"profiles": {"direction1": [{"name": "123456789012345678901"}]}})",
         "profiles.direction1[0].name: delší než 20 znaků"},
        {R"({"profiles": {"direction1": [)" + items("{}", 100) + "]}}", "profiles.direction1: více než 99 položek"},
        {R"({"stations": [)" + items("{}", 1001) + "]}", "stations: více než 1000 položek"},
        {R"({"stations": [{"sectionTracks": 4}]})", "stations[0].sectionTracks: musí být od 1 do 3"},
        {R"({"stations": [{"sectionHeadway": 61}]})", "stations[0].sectionHeadway: musí být od 0 do 60"},
        {R"({"stations": [{"stationTracks": 100}]})", "stations[0].stationTracks: musí být od 0 do 99"},
        {R"({"lineTracks": {"minHeadway": 61}})", "lineTracks.minHeadway: musí být od 0 do 60"},
        {R"({"lineTracks": {"tracks": 2}})", "lineTracks.tracks: neznámý klíč"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(refusal(c.json), c.message) << c.json.constData();
    // Where the text breaks off, as an editor counts lines and characters.
    EXPECT_EQ(refusal("{\"stations\":\n  [1,\n   \"ž\" x]}"), "není platný JSON: chyba na řádku 3, ve sloupci 8");
}
