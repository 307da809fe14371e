#pragma once

#include "import/ImportSession.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <optional>

class Document;
class Prompter;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class SettingsFile;

// "Import" of a day of real trains: the sources (CZPTT messages in files,
// folders and archives, or one GTFS feed), the day on a calendar limited to
// the days the sources cover, the routes of a feed (railway routes first
// and chosen), and the line: the document's stations, or a new line between
// two end stations offered as the ends most of the day's trains share. The
// count of what would come in is shown as the choices change; reading the
// sources shows its progress and can be stopped. The SR70 codebook that
// gives a CZPTT line its kilometres is remembered in the settings file; its
// path may be typed. The calendar opens on the day chosen before (when the
// sources cover it) or on their first day; the ends the dialog offers
// follow the day until the user picks others.
class RealImportDialog : public QDialog
{
    Q_OBJECT

public:
    RealImportDialog(ImportSession::Format format, const Document &doc, Prompter &prompter, SettingsFile &settings,
                     QWidget *parent = nullptr);
    ~RealImportDialog() override;

    // Shows the dialog modally; the choice when it ended with Importovat.
    std::optional<ImportChoice> ask();

    // Reads the sources as the buttons do (a GTFS feed replaces the one
    // before); false when nothing could be read.
    bool addSources(const QStringList &sources);
    // Loads the codebook and remembers it; false, with a message, when the
    // file holds none.
    bool useCodebook(const QString &path);

    // The day to open the calendar on when the sources cover it (the day
    // chosen the last time); the day chosen.
    void preferDay(QDate day) { m_preferredDay = day; }
    QDate chosenDay() const;

    // The choice as the controls stand.
    ImportChoice choice() const;
    QString previewText() const;

public slots:
    void reject() override;

private:
    void addFilesClicked();
    void addFolderClicked();
    void removeClicked();
    void codebookClicked();
    void codebookTyped();
    void importClicked();

    void readSources();
    void sourceChanged();
    void dayChanged();
    void linePointsChanged();
    void updatePreview();
    void setReading(bool reading);
    QStringList chosenRoutes() const;

    ImportSession::Format m_format;
    const Document &m_doc;
    Prompter &m_prompter;
    SettingsFile &m_settings;
    std::shared_ptr<ImportSession> m_session;
    std::shared_ptr<const Sr70Codebook> m_codebook;
    QString m_codebookPath;
    QDate m_preferredDay;
    QStringList m_defaultEnds; // the ends last offered by the program
    bool m_filling = false;    // controls being set by the program
    std::atomic<bool> m_stop{false};
    std::optional<ImportChoice> m_choice;

    QListWidget *m_sourceList = nullptr;
    QPushButton *m_addFiles = nullptr;
    QPushButton *m_addFolder = nullptr;
    QPushButton *m_remove = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_stopButton = nullptr;
    QLabel *m_sourceInfo = nullptr;
    QLineEdit *m_codebookEdit = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QGroupBox *m_routesBox = nullptr;
    QListWidget *m_routeList = nullptr;
    QCheckBox *m_newLine = nullptr;
    QComboBox *m_from = nullptr;
    QComboBox *m_to = nullptr;
    QLabel *m_preview = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QPushButton *m_import = nullptr;
};
