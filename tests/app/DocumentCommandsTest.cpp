// New, and the settings written when the main window closes.
#include "app/DocumentCommands.h"
#include "ScriptedPrompter.h"
#include "app/Session.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DocumentCommandsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    const QString ini = dir.filePath(QStringLiteral("Vlakorys.ini"));
    Session session{prompter, SettingsFile(ini)};
    Document &doc = session.document;
};

} // namespace

TEST_F(DocumentCommandsTest, NewKeepsKindRecordsForTheNextStations)
{
    doc.appendKind({.stationIndex = 1, .hradlo = 1});
    doc.legacyDopravna = {1, 2};
    doc.noDocument = false;
    doc.redrawNeeded = false;
    DocumentCommands::newDocument(session);
    EXPECT_EQ(doc.stationKinds.size(), 1u);
    EXPECT_TRUE(doc.legacyDopravna.empty());
    EXPECT_TRUE(doc.noDocument);
    EXPECT_TRUE(doc.redrawNeeded);
}

TEST_F(DocumentCommandsTest, CloseWritesOnlyTheZoom)
{
    doc.settings.zoom = 12;
    doc.settings.penThick = 9;
    DocumentCommands::writeCloseSettings(session);
    DocumentSettings s;
    SettingsFile(ini).readInto(s);
    EXPECT_EQ(s.zoom, 12);
    EXPECT_EQ(s.penThick, 3);
}
