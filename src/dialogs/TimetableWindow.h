#pragma once

#include "Prompter.h"

#include <QDialog>
#include <QString>

#include <array>

class Document;
class QTabWidget;
class QTableView;
class TimetableModel;

// "Tabulka jízdního řádu": the line's trains as the printed timetable, one
// tab per direction named by its end stations. Each tab shows the station
// columns beside the train columns, which scroll under their headings while
// the stations stay. The window stays open while the user edits; its owner
// hands it the document again after every change. "Tisk..." prints both
// directions on as many pages as they need, "Exportovat..." writes them as
// PDF, CSV or HTML.
class TimetableWindow : public QDialog
{
    Q_OBJECT

public:
    TimetableWindow(Prompter &prompter, QWidget *parent = nullptr);

    // The tables anew from the document; line names the pages and files.
    void setDocument(const Document &doc, const QString &line);

    QTabWidget *tabs() const { return m_tabs; }
    TimetableModel *stationModel(int direction) const { return m_stations[index(direction)]; }
    TimetableModel *trainModel(int direction) const { return m_trains[index(direction)]; }
    QTableView *trainView(int direction) const { return m_trainViews[index(direction)]; }

    // True when the tables were printed or written.
    bool print();
    bool exportFile();

    static inline const QString printError = QStringLiteral("Chyba při tisku tabulky jízdního řádu.");
    static inline const QString paperTooSmall =
        QStringLiteral("Papír tiskárny je pro tabulku jízdního řádu příliš malý.");
    static inline const QString writeError = QStringLiteral("Chyba při ukládání tabulky jízdního řádu.");
    static inline const QString fileFilter =
        QStringLiteral("Dokument PDF (*.pdf)|*.pdf|Tabulka CSV (*.csv)|*.csv|Stránka HTML (*.html)|*.html");
    static QString unknownSuffix(const QString &path);

private:
    static size_t index(int direction) { return static_cast<size_t>(direction - 1); }
    QWidget *makeTab(int direction);

    Prompter &m_prompter;
    QString m_line;
    QString m_fileName; // the export dialog's, kept from one export to the next
    QTabWidget *m_tabs = nullptr;
    std::array<TimetableModel *, 2> m_stations{};
    std::array<TimetableModel *, 2> m_trains{};
    std::array<QTableView *, 2> m_stationViews{};
    std::array<QTableView *, 2> m_trainViews{};
};
