#pragma once

#include <QString>

class Diagram;
class Prompter;
class StationListDialog;
class TrainListDialog;

// The station list and train list commands of the main window ("&Stanice
// ...", "&Vlaky ..." and their tool buttons): fill the dialog from the
// document, show it, and afterwards store, ask, make the labels and redraw
// the diagram.
namespace ListCommands {

inline const QString deleteTrainsQuestion = QStringLiteral(
    "Chcete odstranit všechny vlaky? Doporučuje se to pokud jste udělali zásadní změny v seznamu stanic (např. "
    "přidávání, mazání), jinak se změní názvy stanic u vlaků. Pokud jse jenom přejmenovávali, tak vlaky nemusíte "
    "mazat.");
inline const QString noStationsMessage = QStringLiteral("Musíte zadat alespoň jednu stanici");
inline const QString newTrainLabelsQuestion = QStringLiteral("Chcete vytvořit popisky u nových vlaků?");
inline const QString allTrainLabelsQuestion = QStringLiteral(
    "Chcete znovu vytvořit popisky? Pokud jste přidávali anebo odebírali vlaky tak je nutné je znovu vytvořit. "
    "Pokud zvolíte Ano, tak ztratíte původní rozmístění popisků.");

// Station list: on OK the grid becomes the station list (after the question
// whether to delete all trains), on cancel the kinds are restored.
void stationList(Diagram &diagram, Prompter &prompter, StationListDialog &dialog);

// Train list: refused without stations; afterwards the train count, the two
// label questions, the minute labels and a redraw.
void trainList(Diagram &diagram, Prompter &prompter, TrainListDialog &dialog);

// The steps after the train list dialog has closed.
void afterTrainList(Diagram &diagram, Prompter &prompter, int trainCount);

} // namespace ListCommands
