#include "SettingsDialog.h"

#include "DialogPlacement.h"
#include "WidgetHelpers.h"

#include "model/Cp1250.h"
#include "model/Tracks.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

SettingsChoice SettingsChoice::of(const DocumentSettings &s, const LineTracks &tracks)
{
    SettingsChoice c;
    c.timeFont = {cp1250::toUnicode(s.timeFontName), s.timeFontSize};
    c.smallTrainFont = {cp1250::toUnicode(s.trainFontSmallName), s.trainFontSmallSize};
    c.largeTrainFont = {cp1250::toUnicode(s.trainFontLargeName), s.trainFontLargeSize};
    c.penThin = s.penThin;
    c.penMedium = s.penMedium;
    c.penThick = s.penThick;
    c.saveLabelImages = s.saveLabelImages != 0;
    c.mainTracks = tracks.mainTracks;
    c.minHeadway = tracks.minHeadway;
    return c;
}

namespace {

QLabel *label(QWidget *parent, int number, const QString &text = {})
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("Label%1").arg(number));
    return l;
}

} // namespace

SettingsDialog::SettingsDialog(Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_prompter(prompter)
{
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(QStringLiteral("Nastavení"));

    auto *layout = new QVBoxLayout(this);
    m_timeFont = addFontGroup(QStringLiteral("Časové popisky"), 1, 1, Button1);
    m_smallFont = addFontGroup(QStringLiteral("Popisky vlaků malé (Os, Pn...)"), 2, 5, Button2);
    m_largeFont = addFontGroup(QStringLiteral("Popisky vlaků velké (R, Sn, Nex...)"), 3, 9, Button3);

    auto *lines = new QGroupBox(QStringLiteral("Síly čar vlaků"), this);
    lines->setObjectName(QStringLiteral("GroupBox4"));
    auto *linesGrid = new QGridLayout(lines);
    const std::pair<QSpinBox **, const char *> spins[] = {
        {&SpinEdit1, "Tenká (Os).:"}, {&SpinEdit2, "Střední (Rn).:"}, {&SpinEdit3, "Silná (R).:"}};
    int row = 0;
    for (auto [spin, caption] : spins) {
        *spin = new QSpinBox(lines);
        (*spin)->setObjectName(QStringLiteral("SpinEdit%1").arg(row + 1));
        (*spin)->setRange(minimumWidth, maximumWidth);
        (*spin)->findChild<QLineEdit *>()->setMaxLength(1);
        linesGrid->addWidget(label(lines, 13 + row, QString::fromUtf8(caption)), row, 0);
        linesGrid->addWidget(*spin, row, 1);
        ++row;
    }
    linesGrid->setColumnStretch(2, 1);
    layout->addWidget(lines);

    CheckBox1 = new QCheckBox(QStringLiteral("Ukládat bitmapy popisků do souboru"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    layout->addWidget(CheckBox1);

    // The line's tracks: saved with the document, read by the conflict check.
    auto *line = new QGroupBox(QStringLiteral("Trať"), this);
    line->setObjectName(QStringLiteral("GroupBox5"));
    auto *lineGrid = new QGridLayout(line);
    RadioButton1 = new QRadioButton(QStringLiteral("Jednokolejná trať"), line);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2 = new QRadioButton(QStringLiteral("Dvoukolejná trať"), line);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    SpinEdit4 = new QSpinBox(line);
    SpinEdit4->setObjectName(QStringLiteral("SpinEdit4"));
    SpinEdit4->setRange(0, maximumHeadway);
    lineGrid->addWidget(RadioButton1, 0, 0, 1, 2);
    lineGrid->addWidget(RadioButton2, 1, 0, 1, 2);
    lineGrid->addWidget(label(line, 16, QStringLiteral("Nejmenší následné mezidobí (min):")), 2, 0);
    lineGrid->addWidget(SpinEdit4, 2, 1);
    lineGrid->setColumnStretch(2, 1);
    layout->addWidget(line);

    const WidgetHelpers::OkCancel buttons =
        WidgetHelpers::okCancel(this, QStringLiteral("OK"), QStringLiteral("&Zrušit"));
    BitBtn1 = buttons.ok;
    BitBtn2 = buttons.cancel;
    layout->addLayout(buttons.row);

    connect(Button1, &QPushButton::clicked, this, &SettingsDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &SettingsDialog::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &SettingsDialog::Button3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &SettingsDialog::BitBtn1Click);

    fill(SettingsChoice::of(DocumentSettings{}));
    // A fixed border; wide enough for long font names.
    setFixedSize(layout->sizeHint().expandedTo(QSize(360, 0)));
    DialogPlacement::centre(this);
}

SettingsDialog::FontRow SettingsDialog::addFontGroup(const QString &title, int group, int firstLabel,
                                                     QPushButton *&button)
{
    auto *box = new QGroupBox(title, this);
    box->setObjectName(QStringLiteral("GroupBox%1").arg(group));
    auto *grid = new QGridLayout(box);
    FontRow row;
    grid->addWidget(label(box, firstLabel, QStringLiteral("Písmo:")), 0, 0);
    row.name = label(box, firstLabel + 1);
    row.name->setTextFormat(Qt::PlainText); // a font's name, whatever it holds
    grid->addWidget(row.name, 0, 1);
    grid->addWidget(label(box, firstLabel + 2, QStringLiteral("Velikost:")), 1, 0);
    row.size = label(box, firstLabel + 3);
    grid->addWidget(row.size, 1, 1);
    button = new QPushButton(QStringLiteral("Změnit"), box);
    button->setObjectName(QStringLiteral("Button%1").arg(group));
    grid->addWidget(button, 0, 2, 2, 1, Qt::AlignVCenter);
    grid->setColumnStretch(1, 1);
    static_cast<QVBoxLayout *>(layout())->addWidget(box);
    return row;
}

Prompter::Font SettingsDialog::fontOf(const FontRow &row)
{
    return {row.name->text(), row.size->text().toInt()};
}

void SettingsDialog::showFont(const FontRow &row, const Prompter::Font &font)
{
    row.name->setText(font.name);
    row.size->setText(QString::number(font.size));
}

void SettingsDialog::fill(const SettingsChoice &c)
{
    showFont(m_timeFont, c.timeFont);
    showFont(m_smallFont, c.smallTrainFont);
    showFont(m_largeFont, c.largeTrainFont);
    SpinEdit1->setValue(c.penThin);
    SpinEdit2->setValue(c.penMedium);
    SpinEdit3->setValue(c.penThick);
    CheckBox1->setChecked(c.saveLabelImages);
    (c.mainTracks == 2 ? RadioButton2 : RadioButton1)->setChecked(true);
    SpinEdit4->setValue(c.minHeadway);
}

SettingsChoice SettingsDialog::choice() const
{
    SettingsChoice c;
    c.timeFont = fontOf(m_timeFont);
    c.smallTrainFont = fontOf(m_smallFont);
    c.largeTrainFont = fontOf(m_largeFont);
    c.penThin = SpinEdit1->value();
    c.penMedium = SpinEdit2->value();
    c.penThick = SpinEdit3->value();
    c.saveLabelImages = CheckBox1->isChecked();
    c.mainTracks = RadioButton2->isChecked() ? 2 : 1;
    c.minHeadway = SpinEdit4->value();
    return c;
}

void SettingsDialog::changeFont(const FontRow &row)
{
    const Prompter::Font current = fontOf(row);
    const std::optional<Prompter::Font> chosen = m_prompter.chooseFont(current);
    if (!chosen)
        return;
    // A font the dialog can only size in pixels keeps the size shown.
    showFont(row, {chosen->name, chosen->size > 0 ? chosen->size : current.size});
}

void SettingsDialog::Button1Click()
{
    changeFont(m_timeFont);
}

void SettingsDialog::Button2Click()
{
    changeFont(m_smallFont);
}

void SettingsDialog::Button3Click()
{
    changeFont(m_largeFont);
}

void SettingsDialog::BitBtn1Click()
{
    // A width still being typed counts as entered.
    for (QSpinBox *spin : {SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4})
        spin->interpretText();
    m_ok = true;
    accept();
}

void SettingsDialog::showEvent(QShowEvent *event)
{
    DialogPlacement::keepOnScreen(this);
    m_ok = false;
    QDialog::showEvent(event);
}
