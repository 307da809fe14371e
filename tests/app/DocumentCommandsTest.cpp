#include "app/DocumentCommands.h"
#include "app/Session.h"
#include "ScriptedPrompter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DocumentCommands, NewKeepsKindRecordsForTheNextStations)
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    Session session(prompter, SettingsFile(dir.filePath(QStringLiteral("Vlakorys.ini"))));
    Document &doc = session.document;
    StationKind k;
    k.stationIndex = 1;
    k.hradlo = 1;
    doc.appendKind(k);
    doc.legacyDopravna = {1, 2};
    doc.noDocument = false;
    DocumentCommands::newDocument(session);
    EXPECT_EQ(doc.stationKinds.size(), 1u);
    EXPECT_TRUE(doc.legacyDopravna.empty());
    EXPECT_TRUE(doc.noDocument);
    EXPECT_TRUE(doc.redrawNeeded);
}

TEST(DocumentCommands, CloseWritesOnlyTheZoom)
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    const QString ini = dir.filePath(QStringLiteral("Vlakorys.ini"));
    Session session(prompter, SettingsFile(ini));
    session.document.settings.zoom = 12;
    session.document.settings.penThick = 9;
    DocumentCommands::writeCloseSettings(session);
    DocumentSettings s;
    SettingsFile(ini).readInto(s);
    EXPECT_EQ(s.zoom, 12);
    EXPECT_EQ(s.penThick, 3);
}
