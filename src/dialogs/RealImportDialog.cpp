#include "RealImportDialog.h"

#include "Prompter.h"

#include "io/FileMessages.h"
#include "io/SettingsFile.h"
#include "model/Document.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <thread>
#include <tuple>

namespace {

const QString czpttFilter =
    QStringLiteral("Jízdní řád SŽ (*.xml;*.zip;*.gz)|*.xml;*.zip;*.gz|Všechny soubory (*.*)|*.*");
const QString gtfsFilter = QStringLiteral("Jízdní řád GTFS (*.zip)|*.zip|Všechny soubory (*.*)|*.*");
const QString codebookFilter = QStringLiteral("Číselník SR70 (*.csv)|*.csv|Všechny soubory (*.*)|*.*");

const QString noSourceText = QStringLiteral("Zvolte zdroje jízdního řádu.");
const QString stoppedText = QStringLiteral("Čtení zdrojů bylo přerušeno.");
const QString noCodebookQuestion =
    QStringLiteral("Kilometry stanic dává číselník dopravních bodů SR70, který není zvolen. Vybrat jej?\n\n"
                   "Bez něj se stanice rozmístí podle jízdních dob nejrychlejšího vlaku.");

QString routeText(const GtfsRoute &r)
{
    QString text = r.shortName;
    if (!r.longName.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" – ")) + r.longName;
    return text.isEmpty() ? r.id : text;
}

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

void fillNames(QComboBox *box, const QStringList &names, const QString &wanted)
{
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(static_cast<int>(names.indexOf(wanted)));
    if (box->currentIndex() < 0)
        box->setEditText(wanted);
}

} // namespace

RealImportDialog::RealImportDialog(ImportSession::Format format, const Document &doc, Prompter &prompter,
                                   SettingsFile &settings, QWidget *parent)
    : QDialog(parent), m_format(format), m_doc(doc), m_prompter(prompter), m_settings(settings)
{
    const bool czptt = format == ImportSession::Format::Czptt;
    setObjectName(QStringLiteral("RealImportDialog"));
    setWindowTitle(czptt ? QStringLiteral("Import – Jízdní řád SŽ (CZPTT)") : QStringLiteral("Import – GTFS"));
    auto *layout = new QVBoxLayout(this);

    auto *sources = new QGroupBox(czptt ? QStringLiteral("Zdroje") : QStringLiteral("Jízdní řád GTFS"), this);
    sources->setObjectName(QStringLiteral("SourcesBox"));
    auto *sourcesLayout = new QGridLayout(sources);
    m_sourceList = new QListWidget(sources);
    m_sourceList->setObjectName(QStringLiteral("SourceList"));
    m_sourceList->setMaximumHeight(czptt ? 90 : 28);
    m_addFiles = button("AddFilesButton", czptt ? QStringLiteral("Přidat soubory...") : QStringLiteral("Archiv ZIP..."),
                        sources);
    m_addFolder =
        button("AddFolderButton", czptt ? QStringLiteral("Přidat složku...") : QStringLiteral("Složka..."), sources);
    m_remove = button("RemoveButton", QStringLiteral("Odebrat"), sources);
    m_remove->setVisible(czptt);
    auto *sourceButtons = new QVBoxLayout;
    sourceButtons->addWidget(m_addFiles);
    sourceButtons->addWidget(m_addFolder);
    sourceButtons->addWidget(m_remove);
    sourceButtons->addStretch();
    sourcesLayout->addWidget(m_sourceList, 0, 0);
    sourcesLayout->addLayout(sourceButtons, 0, 1);
    m_progress = new QProgressBar(sources);
    m_progress->setObjectName(QStringLiteral("ReadProgress"));
    m_stopButton = button("StopButton", QStringLiteral("Přerušit"), sources);
    sourcesLayout->addWidget(m_progress, 1, 0);
    sourcesLayout->addWidget(m_stopButton, 1, 1);
    m_sourceInfo = new QLabel(noSourceText, sources);
    m_sourceInfo->setObjectName(QStringLiteral("SourceInfo"));
    m_sourceInfo->setWordWrap(true);
    sourcesLayout->addWidget(m_sourceInfo, 2, 0, 1, 2);
    layout->addWidget(sources);

    if (czptt) {
        auto *codebook = new QGroupBox(QStringLiteral("Číselník SR70 (kilometry nové trati)"), this);
        codebook->setObjectName(QStringLiteral("CodebookBox"));
        auto *row = new QHBoxLayout(codebook);
        m_codebookEdit = new QLineEdit(codebook);
        m_codebookEdit->setObjectName(QStringLiteral("CodebookEdit"));
        connect(m_codebookEdit, &QLineEdit::editingFinished, this, &RealImportDialog::codebookTyped);
        row->addWidget(m_codebookEdit);
        QPushButton *choose = button("CodebookButton", QStringLiteral("Vybrat..."), codebook);
        row->addWidget(choose);
        connect(choose, &QPushButton::clicked, this, &RealImportDialog::codebookClicked);
        layout->addWidget(codebook);
    }

    auto *middle = new QHBoxLayout;
    auto *dayBox = new QGroupBox(QStringLiteral("Den"), this);
    dayBox->setObjectName(QStringLiteral("DayBox"));
    auto *dayLayout = new QVBoxLayout(dayBox);
    m_calendar = new QCalendarWidget(dayBox);
    m_calendar->setObjectName(QStringLiteral("DayCalendar"));
    m_calendar->setLocale(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    m_calendar->setFirstDayOfWeek(Qt::Monday);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    dayLayout->addWidget(m_calendar);
    middle->addWidget(dayBox);

    m_routesBox = new QGroupBox(QStringLiteral("Linky"), this);
    m_routesBox->setObjectName(QStringLiteral("RoutesBox"));
    auto *routesLayout = new QVBoxLayout(m_routesBox);
    m_routeList = new QListWidget(m_routesBox);
    m_routeList->setObjectName(QStringLiteral("RouteList"));
    routesLayout->addWidget(m_routeList);
    m_routesBox->setVisible(!czptt);
    middle->addWidget(m_routesBox);
    layout->addLayout(middle);

    auto *line = new QGroupBox(QStringLiteral("Trať"), this);
    line->setObjectName(QStringLiteral("LineBox"));
    auto *lineLayout = new QFormLayout(line);
    m_newLine = new QCheckBox(QStringLiteral("Nová trať z dat"), line);
    m_newLine->setObjectName(QStringLiteral("NewLineCheck"));
    lineLayout->addRow(m_newLine);
    for (QComboBox **box : {&m_from, &m_to}) {
        *box = new QComboBox(line);
        (*box)->setEditable(true);
        (*box)->setInsertPolicy(QComboBox::NoInsert);
        (*box)->setMinimumContentsLength(28);
        (*box)->completer()->setFilterMode(Qt::MatchContains);
        (*box)->completer()->setCaseSensitivity(Qt::CaseInsensitive);
        (*box)->completer()->setCompletionMode(QCompleter::PopupCompletion);
    }
    m_from->setObjectName(QStringLiteral("FromCombo"));
    m_to->setObjectName(QStringLiteral("ToCombo"));
    lineLayout->addRow(QStringLiteral("Od stanice:"), m_from);
    lineLayout->addRow(QStringLiteral("Do stanice:"), m_to);
    layout->addWidget(line);

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("PreviewLabel"));
    m_preview->setWordWrap(true);
    layout->addWidget(m_preview);

    m_buttons = new QDialogButtonBox(this);
    m_import = m_buttons->addButton(QStringLiteral("Importovat"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("ImportButton"));
    QPushButton *cancel = m_buttons->addButton(QStringLiteral("Zrušit"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(m_buttons);

    // A document without stations can only take a new line.
    const bool hasStations = !doc.noDocument && !doc.stations.empty();
    m_newLine->setChecked(!hasStations);
    m_newLine->setEnabled(hasStations);

    connect(m_addFiles, &QPushButton::clicked, this, &RealImportDialog::addFilesClicked);
    connect(m_addFolder, &QPushButton::clicked, this, &RealImportDialog::addFolderClicked);
    connect(m_remove, &QPushButton::clicked, this, &RealImportDialog::removeClicked);
    connect(m_stopButton, &QPushButton::clicked, this, [this] { m_stop = true; });
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &RealImportDialog::dayChanged);
    connect(m_routeList, &QListWidget::itemChanged, this, [this] {
        if (!m_filling)
            dayChanged();
    });
    connect(m_newLine, &QCheckBox::toggled, this, [this] { updatePreview(); });
    for (QComboBox *box : {m_from, m_to})
        connect(box, &QComboBox::currentTextChanged, this, [this] { updatePreview(); });
    connect(m_import, &QPushButton::clicked, this, &RealImportDialog::importClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (czptt) {
        const QString remembered = m_settings.readCodebookPath();
        if (!remembered.isEmpty() && QFileInfo::exists(remembered)) {
            auto book = std::make_shared<Sr70Codebook>();
            if (book->readFile(remembered).ok) {
                m_codebook = std::move(book);
                m_codebookPath = remembered;
                m_codebookEdit->setText(remembered);
            }
        }
    }
    setReading(false);
    sourceChanged();
}

RealImportDialog::~RealImportDialog() = default;

std::optional<ImportChoice> RealImportDialog::ask()
{
    m_choice.reset();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return std::move(m_choice);
}

void RealImportDialog::reject()
{
    // A reading under way ends at its next file; the dialog closes after.
    m_stop = true;
    QDialog::reject();
}

bool RealImportDialog::addSources(const QStringList &sources)
{
    if (sources.isEmpty())
        return false;
    if (m_format == ImportSession::Format::Gtfs)
        m_sourceList->clear();
    for (const QString &s : sources) {
        if (m_sourceList->findItems(s, Qt::MatchExactly).isEmpty())
            m_sourceList->addItem(s);
    }
    readSources();
    return m_session && m_session->ok();
}

void RealImportDialog::addFilesClicked()
{
    Prompter::FileDialog dialog;
    if (m_format == ImportSession::Format::Czptt) {
        dialog.title = QStringLiteral("Jízdní řád SŽ");
        dialog.filter = czpttFilter;
        if (const std::optional<QStringList> chosen = m_prompter.openFileNames(dialog))
            addSources(*chosen);
        return;
    }
    dialog.title = QStringLiteral("Jízdní řád GTFS");
    dialog.filter = gtfsFilter;
    dialog.defaultSuffix = QStringLiteral("zip");
    if (const std::optional<QString> chosen = m_prompter.openFileName(dialog))
        addSources({*chosen});
}

void RealImportDialog::addFolderClicked()
{
    const QString title = m_format == ImportSession::Format::Czptt ? QStringLiteral("Složka se zprávami CZPTT")
                                                                   : QStringLiteral("Složka jízdního řádu GTFS");
    if (const std::optional<QString> chosen = m_prompter.existingFolder(title, QString()))
        addSources({*chosen});
}

void RealImportDialog::removeClicked()
{
    const QList<QListWidgetItem *> chosen = m_sourceList->selectedItems();
    if (chosen.isEmpty())
        return;
    qDeleteAll(chosen);
    readSources();
}

void RealImportDialog::codebookClicked()
{
    Prompter::FileDialog dialog;
    dialog.title = QStringLiteral("Číselník SR70");
    dialog.filter = codebookFilter;
    dialog.defaultSuffix = QStringLiteral("csv");
    dialog.initialFileName = m_codebookEdit ? m_codebookEdit->text() : QString();
    if (const std::optional<QString> chosen = m_prompter.openFileName(dialog))
        useCodebook(*chosen);
}

void RealImportDialog::codebookTyped()
{
    const QString path = m_codebookEdit->text().trimmed();
    if (path == m_codebookPath)
        return;
    if (path.isEmpty()) {
        m_codebook.reset();
        m_codebookPath.clear();
        if (m_session)
            m_session->setCodebook(nullptr);
        dayChanged();
    } else if (!useCodebook(path)) {
        m_codebookEdit->setText(m_codebookPath);
    }
}

bool RealImportDialog::useCodebook(const QString &path)
{
    auto book = std::make_shared<Sr70Codebook>();
    const Sr70Codebook::ReadResult read = book->readFile(path);
    if (!read.ok) {
        m_prompter.error(QStringLiteral("Číselník „%1“ nelze použít: %2").arg(path, read.error));
        return false;
    }
    m_codebook = std::move(book);
    m_codebookPath = path;
    if (m_session)
        m_session->setCodebook(m_codebook);
    if (m_codebookEdit)
        m_codebookEdit->setText(path);
    if (const SafeFile::Result written = m_settings.writeCodebookPath(path); !written)
        m_prompter.error(FileMessages::naming(SettingsFile::writeErrorMessage, m_settings.path(), written.cause));
    // The codebook tells which points are stations of a new line.
    dayChanged();
    return true;
}

void RealImportDialog::readSources()
{
    QStringList sources;
    for (int i = 0; i < m_sourceList->count(); ++i)
        sources << m_sourceList->item(i)->text();
    m_session.reset();
    if (sources.isEmpty()) {
        m_sourceInfo->setText(noSourceText);
        sourceChanged();
        return;
    }

    // The reading runs beside the dialog, which shows how far it got and
    // takes the stop button; the reader asks for the flag between files.
    m_stop = false;
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> finished{false};
    std::shared_ptr<ImportSession> read;
    setReading(true);
    std::thread worker([&] {
        read = ImportSession::read(m_format, sources, [&](qint64 d, qint64 t) {
            done = d;
            total = t;
            return !m_stop.load();
        });
        finished = true;
    });
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        const qint64 t = total.load();
        if (t > 0) {
            m_progress->setRange(0, 1000);
            m_progress->setValue(static_cast<int>(std::min<qint64>(1000, done.load() * 1000 / t)));
        }
        if (finished.load())
            loop.quit();
    });
    poll.start(30);
    loop.exec();
    worker.join();
    setReading(false);

    if (read->cancelled()) {
        m_sourceInfo->setText(stoppedText);
    } else if (!read->ok()) {
        m_sourceInfo->setText(read->error());
    } else {
        m_session = read;
        m_session->setCodebook(m_codebook);
        const QString span = read->firstDay().isValid() ? QStringLiteral(" (dny %1 – %2)")
                                                              .arg(RealTimetableImport::dayText(read->firstDay()),
                                                                   RealTimetableImport::dayText(read->lastDay()))
                                                        : QString();
        m_sourceInfo->setText(m_format == ImportSession::Format::Czptt
                                  ? QStringLiteral("Načteno: %1 tras vlaků%2.").arg(read->trainPaths()).arg(span)
                                  : QStringLiteral("Načteno: %1 linek%2.").arg(read->routes().size()).arg(span));
    }
    sourceChanged();
}

void RealImportDialog::setReading(bool reading)
{
    m_progress->setVisible(reading);
    m_stopButton->setVisible(reading);
    m_progress->setRange(0, 0); // busy until the size is known
    for (QWidget *w :
         {static_cast<QWidget *>(m_addFiles), static_cast<QWidget *>(m_addFolder), static_cast<QWidget *>(m_remove),
          static_cast<QWidget *>(m_calendar), static_cast<QWidget *>(m_routeList), static_cast<QWidget *>(m_import)})
        w->setEnabled(!reading);
}

void RealImportDialog::sourceChanged()
{
    m_filling = true;
    m_routeList->clear();
    if (m_session) {
        for (const GtfsRoute &r : m_session->routes()) {
            auto *item = new QListWidgetItem(routeText(r), m_routeList);
            item->setData(Qt::UserRole, r.id);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(r.isRail() ? Qt::Checked : Qt::Unchecked);
        }
    }
    if (m_session && m_session->firstDay().isValid()) {
        const QDate first = m_session->firstDay();
        const QDate last = m_session->lastDay();
        m_calendar->setDateRange(first, last);
        const bool covered = m_preferredDay.isValid() && m_preferredDay >= first && m_preferredDay <= last;
        m_calendar->setSelectedDate(covered ? m_preferredDay : first);
    }
    m_filling = false;
    dayChanged();
}

QStringList RealImportDialog::chosenRoutes() const
{
    QStringList routes;
    for (int i = 0; i < m_routeList->count(); ++i) {
        const QListWidgetItem *item = m_routeList->item(i);
        if (item->checkState() == Qt::Checked)
            routes << item->data(Qt::UserRole).toString();
    }
    return routes;
}

QDate RealImportDialog::chosenDay() const
{
    return m_session ? m_calendar->selectedDate() : m_preferredDay;
}

void RealImportDialog::dayChanged()
{
    if (m_filling)
        return;
    if (m_session) {
        m_preferredDay = m_calendar->selectedDate();
        const QStringList routes = chosenRoutes();
        // A feed with no route chosen has nothing to import (none named
        // would read every railway route).
        if (m_format == ImportSession::Format::Czptt || !routes.isEmpty())
            m_session->chooseDay(m_calendar->selectedDate(), routes);
        else
            m_session->clearDay();
    }
    linePointsChanged();
}

void RealImportDialog::linePointsChanged()
{
    const QStringList names = m_session ? m_session->endNames() : QStringList();
    // Ends the program offered follow the day; those the user chose stay
    // while the day has them.
    QString from = m_from->currentText();
    QString to = m_to->currentText();
    if (!names.contains(from) || !names.contains(to) || QStringList{from, to} == m_defaultEnds) {
        if (const auto ends = m_session ? m_session->defaultEnds() : std::nullopt) {
            std::tie(from, to) = *ends;
            m_defaultEnds = {from, to};
        }
    }
    m_filling = true;
    fillNames(m_from, names, from);
    fillNames(m_to, names, to);
    m_filling = false;
    updatePreview();
}

void RealImportDialog::updatePreview()
{
    if (m_filling)
        return;
    m_from->setEnabled(m_newLine->isChecked());
    m_to->setEnabled(m_newLine->isChecked());
    QString text; // the sources' line says what is missing
    bool ok = false;
    if (m_session) {
        const RealTimetableImport::Preview preview =
            m_session->preview(m_doc, m_newLine->isChecked(), m_from->currentText(), m_to->currentText());
        text = preview.text();
        ok = preview.ok();
    }
    m_preview->setText(text);
    m_import->setEnabled(ok && m_progress->isHidden());
}

QString RealImportDialog::previewText() const
{
    return m_preview->text();
}

ImportChoice RealImportDialog::choice() const
{
    return m_session ? m_session->choice(m_newLine->isChecked(), m_from->currentText(), m_to->currentText())
                     : ImportChoice();
}

void RealImportDialog::importClicked()
{
    if (m_format == ImportSession::Format::Czptt && m_newLine->isChecked() && !m_codebook
        && m_prompter.askYesNo(noCodebookQuestion))
        codebookClicked();
    if (!m_import->isEnabled())
        return;
    m_choice = choice();
    accept();
}
