#include "QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace {

QString caption()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Vlakorys 1.0") : name;
}

QFileDialog *makeDialog(QWidget *parent, const Prompter::FileDialog &d, QFileDialog::AcceptMode mode)
{
    auto *dialog = new QFileDialog(parent, d.title.isEmpty() ? caption() : d.title);
    dialog->setAcceptMode(mode);
    if (!d.filter.isEmpty())
        dialog->setNameFilters(QtPrompter::qtFilter(d.filter).split(QStringLiteral(";;")));
    dialog->setDefaultSuffix(d.defaultSuffix);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !d.promptOverwrite);
    if (!d.filter.isEmpty())
        dialog->selectNameFilter(dialog->nameFilters().value(d.filterIndex));
    if (!d.initialFileName.isEmpty())
        dialog->selectFile(d.initialFileName);
    return dialog;
}

} // namespace

QtPrompter::QtPrompter(QWidget *parent) : m_parent(parent)
{
}

QtPrompter::~QtPrompter() = default;

bool QtPrompter::askYesNo(const QString &text)
{
    return QMessageBox::question(m_parent, caption(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
           == QMessageBox::Yes;
}

Prompter::SaveChoice QtPrompter::askSaveChanges(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, caption(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_parent);
    // The standard buttons keep the desktop's order and roles; their texts
    // are the program's own.
    box.button(QMessageBox::Save)->setText(QStringLiteral("Uložit"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Neukládat"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Zrušit"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

void QtPrompter::information(const QString &text)
{
    QMessageBox::information(m_parent, caption(), text);
}

void QtPrompter::error(const QString &text)
{
    QMessageBox::critical(m_parent, caption(), text);
}

std::optional<QString> QtPrompter::openFileName(const FileDialog &d)
{
    std::unique_ptr<QFileDialog> dialog(makeDialog(m_parent, d, QFileDialog::AcceptOpen));
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
}

std::optional<QStringList> QtPrompter::openFileNames(const FileDialog &d)
{
    std::unique_ptr<QFileDialog> dialog(makeDialog(m_parent, d, QFileDialog::AcceptOpen));
    dialog->setFileMode(QFileDialog::ExistingFiles);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles();
}

std::optional<QString> QtPrompter::existingFolder(const QString &title, const QString &start)
{
    const QString chosen = QFileDialog::getExistingDirectory(m_parent, title.isEmpty() ? caption() : title, start);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtPrompter::saveFileName(const FileDialog &d)
{
    std::unique_ptr<QFileDialog> dialog(makeDialog(m_parent, d, QFileDialog::AcceptSave));
    dialog->setFileMode(QFileDialog::AnyFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
}

std::optional<Prompter::SavedFile> QtPrompter::saveFileAs(const FileDialog &d)
{
    std::unique_ptr<QFileDialog> dialog(makeDialog(m_parent, d, QFileDialog::AcceptSave));
    dialog->setFileMode(QFileDialog::AnyFile);
    // "PDF (*.pdf)": a name typed without a suffix takes the chosen filter's.
    const auto suffixOf = [](const QString &filter) {
        const qsizetype dot = filter.indexOf(QStringLiteral("*."));
        return dot < 0 ? QString() : filter.mid(dot + 2).section(u')', 0, 0).section(u' ', 0, 0);
    };
    const QStringList filters = dialog->nameFilters();
    dialog->setDefaultSuffix(suffixOf(filters.value(d.filterIndex)));
    QFileDialog *raw = dialog.get();
    QObject::connect(raw, &QFileDialog::filterSelected, raw,
                     [raw, suffixOf](const QString &filter) { raw->setDefaultSuffix(suffixOf(filter)); });
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return SavedFile{dialog->selectedFiles().constFirst(),
                     static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog->selectedNameFilter())))};
}

std::optional<Prompter::Font> QtPrompter::chooseFont(const Font &initial)
{
    bool ok = false;
    // The dialog lists installed families: it starts at the one that draws
    // the name ("Arial CE" is drawn in a substitute), and that family chosen
    // again keeps the name.
    const QString drawnIn = QFontInfo(QFont(initial.name)).family();
    QFont start(drawnIn, initial.size);
    start.setStyleName(QFontInfo(start).styleName()); // else the dialog may start at "Italic"
    const QFont chosen = QFontDialog::getFont(&ok, start, m_parent, caption());
    if (!ok)
        return std::nullopt;
    return Font{chosen.family() == drawnIn ? initial.name : chosen.family(), chosen.pointSize()};
}

QPrinter &QtPrompter::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    return *m_printer;
}

QSize QtPrompter::printerPageSize()
{
    if (!m_printerChosen && QPrinterInfo::defaultPrinter().isNull())
        return noPrinterPage;
    QPrinter &p = printer();
    const QSize size = p.pageLayout().fullRectPixels(p.resolution()).size();
    return size.isEmpty() ? noPrinterPage : size;
}

bool QtPrompter::printerSetup()
{
    QPrintDialog dialog(&printer(), m_parent);
    dialog.setWindowTitle(caption());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // Printing to a PDF file has no device resolution of its own; give it
    // the 300 dpi a machine without a printer is reckoned with.
    if (m_printer->outputFormat() == QPrinter::PdfFormat)
        m_printer->setResolution(300);
    m_printerChosen = true;
    return true;
}

bool QtPrompter::print(const std::function<bool(QPagedPaintDevice &printer)> &job)
{
    QPrintDialog dialog(&printer(), m_parent);
    dialog.setWindowTitle(caption());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (m_printer->outputFormat() == QPrinter::PdfFormat)
        m_printer->setResolution(300);
    m_printerChosen = true;
    return job(*m_printer);
}

QString QtPrompter::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        QString description = parts[i];
        const qsizetype open = description.lastIndexOf(u'(');
        if (open >= 0)
            description = description.left(open).trimmed();
        out << QStringLiteral("%1 (%2)").arg(description, pattern.replace(u';', u' '));
    }
    return out.join(QStringLiteral(";;"));
}
