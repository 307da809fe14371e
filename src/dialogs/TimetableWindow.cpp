#include "TimetableWindow.h"

#include "TimetableModel.h"

#include "io/FileMessages.h"
#include "table/TimetableFiles.h"
#include "table/TimetablePages.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr TimetableFiles::Format formats[] = {TimetableFiles::Format::Pdf, TimetableFiles::Format::Csv,
                                              TimetableFiles::Format::Html};

QTableView *makeView(QAbstractItemModel *model, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setModel(model);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setFixedHeight(2 * view->fontMetrics().lineSpacing() + 8);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Both views keep a horizontal bar, so their rows stay level.
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return view;
}

} // namespace

TimetableWindow::TimetableWindow(Prompter &prompter, QWidget *parent) : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("TimetableWindow"));
    setWindowTitle(QStringLiteral("Tabulka jízdního řádu"));
    setModal(false);
    resize(900, 600);
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Smery"));
    for (int direction = 1; direction <= 2; ++direction)
        m_tabs->addTab(makeTab(direction), QStringLiteral("Směr %1").arg(direction));
    layout->addWidget(m_tabs);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *print = buttons->addButton(QStringLiteral("Tisk..."), QDialogButtonBox::ActionRole);
    print->setObjectName(QStringLiteral("TiskTabulky"));
    QPushButton *exportButton = buttons->addButton(QStringLiteral("Exportovat..."), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("ExportovatTabulku"));
    QPushButton *close = buttons->addButton(QStringLiteral("Zavřít"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    for (QPushButton *b : {print, exportButton, close})
        b->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(print, &QPushButton::clicked, this, &TimetableWindow::print);
    connect(exportButton, &QPushButton::clicked, this, &TimetableWindow::exportFile);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

QWidget *TimetableWindow::makeTab(int direction)
{
    auto *tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("Smer%1").arg(direction));
    auto *row = new QHBoxLayout(tab);
    row->setSpacing(0);
    const size_t i = index(direction);
    m_stations[i] = new TimetableModel(TimetableModel::Part::Stations, this);
    m_trains[i] = new TimetableModel(TimetableModel::Part::Trains, this);
    QTableView *stations = makeView(m_stations[i], tab);
    stations->setObjectName(QStringLiteral("Stanice%1").arg(direction));
    stations->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stations->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    stations->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    stations->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Expanding);
    QTableView *trains = makeView(m_trains[i], tab);
    trains->setObjectName(QStringLiteral("Vlaky%1").arg(direction));
    connect(trains->verticalScrollBar(), &QScrollBar::valueChanged, stations->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(stations->verticalScrollBar(), &QScrollBar::valueChanged, trains->verticalScrollBar(),
            &QScrollBar::setValue);
    row->addWidget(stations);
    row->addWidget(trains, 1);
    m_stationViews[i] = stations;
    m_trainViews[i] = trains;
    return tab;
}

void TimetableWindow::setDocument(const Document &doc, const QString &line)
{
    m_line = line;
    for (int direction = 1; direction <= 2; ++direction) {
        const size_t i = index(direction);
        auto table = std::make_shared<const TimetableTable>(doc, direction);
        m_tabs->setTabText(static_cast<int>(i),
                           table->title().isEmpty() ? QStringLiteral("Směr %1").arg(direction) : table->title());
        // Every train column as wide as the widest time or heading.
        const QFontMetrics fm = m_trainViews[i]->fontMetrics();
        int width = fm.horizontalAdvance(TimetableTable::timeText(2 * (23 * 60 + 59) + 1));
        for (const TimetableTable::Column &c : table->columns())
            for (const QString &part : c.name.split(u' ', Qt::SkipEmptyParts))
                width = std::max(width, fm.horizontalAdvance(part));
        m_trainViews[i]->horizontalHeader()->setDefaultSectionSize(width + 12);
        m_stations[i]->setTable(table);
        m_trains[i]->setTable(std::move(table));
    }
}

namespace {

std::vector<TimetableTable> shownTables(const std::array<TimetableModel *, 2> &models)
{
    std::vector<TimetableTable> tables;
    for (const TimetableModel *m : models)
        if (m->table())
            tables.push_back(*m->table());
    return tables;
}

} // namespace

bool TimetableWindow::print()
{
    const std::vector<TimetableTable> tables = shownTables(m_trains);
    TimetablePages::Result result = TimetablePages::Result::Failed;
    bool ran = false;
    const bool printed = m_prompter.print([&](QPagedPaintDevice &printer) {
        ran = true;
        result = TimetablePages::print(printer, tables, m_line);
        return result == TimetablePages::Result::Ok;
    });
    if (printed)
        return true;
    if (ran)
        m_prompter.error(result == TimetablePages::Result::NoRoom ? paperTooSmall : printError);
    return false;
}

QString TimetableWindow::unknownSuffix(const QString &path)
{
    return QStringLiteral("Neznámá přípona souboru „%1“. Tabulku jízdního řádu lze uložit jako PDF (.pdf), CSV "
                          "(.csv) nebo HTML (.html).")
        .arg(QFileInfo(path).fileName());
}

bool TimetableWindow::exportFile()
{
    Prompter::FileDialog d;
    d.title = QStringLiteral("Exportovat tabulku jízdního řádu");
    d.filter = fileFilter;
    d.defaultSuffix = QStringLiteral("pdf");
    d.initialFileName = m_fileName;
    d.promptOverwrite = true;
    if (const std::optional<TimetableFiles::Format> f = TimetableFiles::formatOf(m_fileName))
        d.filterIndex = static_cast<int>(std::find(std::begin(formats), std::end(formats), *f) - std::begin(formats));
    const std::optional<Prompter::SavedFile> saved = m_prompter.saveFileAs(d);
    if (!saved)
        return false;
    m_fileName = saved->path;
    std::optional<TimetableFiles::Format> format = TimetableFiles::formatOf(saved->path);
    if (QFileInfo(saved->path).suffix().isEmpty())
        format = formats[std::clamp(saved->filterIndex, 0, static_cast<int>(std::size(formats)) - 1)];
    if (!format) {
        m_prompter.error(unknownSuffix(saved->path));
        return false;
    }
    const SafeFile::Result written = TimetableFiles::write(saved->path, *format, shownTables(m_trains), m_line);
    if (written)
        return true;
    m_prompter.error(FileMessages::naming(writeError, saved->path, written.cause));
    return false;
}
