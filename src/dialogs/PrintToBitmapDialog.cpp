#include "PrintToBitmapDialog.h"

#include "DialogPlacement.h"
#include "Prompter.h"

#include "model/Cp1250.h"
#include "model/Document.h"
#include "model/Kilometres.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// A spin edit that takes any number of as many digits as its maximum has
// and, when it is left, sets a value outside its limits back to the nearer
// limit (Qt's own refuses such keys as they are typed).
class LimitedSpinBox : public QSpinBox
{
public:
    LimitedSpinBox(const char *name, int minimum, int maximum, QWidget *parent) : QSpinBox(parent)
    {
        setObjectName(QString::fromLatin1(name));
        setRange(minimum, maximum);
        setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    }

protected:
    QValidator::State validate(QString &input, int &pos) const override
    {
        const QValidator::State state = QSpinBox::validate(input, pos);
        if (state != QValidator::Invalid)
            return state;
        return isNumber(input) ? QValidator::Intermediate : QValidator::Invalid;
    }

    void fixup(QString &input) const override
    {
        if (isNumber(input))
            input = QString::number(std::clamp(input.trimmed().toInt(), minimum(), maximum()));
    }

private:
    bool isNumber(const QString &input) const
    {
        const QString t = input.trimmed();
        return !t.isEmpty() && t.size() <= QString::number(maximum()).size()
               && std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
    }
};

QLabel *label(QWidget *parent, const char *name, const QString &text = {})
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QRadioButton *radio(QWidget *parent, const char *name, const QString &text)
{
    auto *r = new QRadioButton(text, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

QGroupBox *group(QWidget *parent, const char *name, const QString &title)
{
    auto *g = new QGroupBox(title, parent);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

} // namespace

PrintToBitmapDialog::PrintToBitmapDialog(const Document &doc, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_doc(doc), m_prompter(prompter), m_timeMask(QStringLiteral("!90:00;1;_"))
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Tisk do bitmapy"));
    auto *layout = new QVBoxLayout(this);

    auto *numbers = new QGridLayout;
    SpinEdit1 = new LimitedSpinBox("SpinEdit1", PrintPlan::minLayers, PrintPlan::maxLayers, this);
    SpinEdit2 = new LimitedSpinBox("SpinEdit2", PrintPlan::minOverlap, PrintPlan::maxOverlap, this);
    SpinEdit3 = new LimitedSpinBox("SpinEdit3", PrintPlan::minScale, PrintPlan::maxScale, this);
    SpinEdit3->setSingleStep(PrintPlan::scaleStep);
    numbers->addWidget(label(this, "Label1", QStringLiteral("Počet vrstev vlakorysu:")), 0, 0);
    numbers->addWidget(SpinEdit1, 0, 1);
    numbers->addWidget(label(this, "Label2", QStringLiteral("Velikost překryvu pro rozdělení (min):")), 1, 0);
    numbers->addWidget(SpinEdit2, 1, 1);
    numbers->addWidget(label(this, "Label3", QStringLiteral("Měřítko (%):")), 2, 0);
    numbers->addWidget(SpinEdit3, 2, 1);
    numbers->setColumnStretch(2, 1);
    layout->addLayout(numbers);

    QGroupBox *times = group(this, "GroupBox1", QStringLiteral("Časový rozsah"));
    RadioButton1 = radio(times, "RadioButton1", QStringLiteral("Vše"));
    RadioButton2 = radio(times, "RadioButton2", QStringLiteral("Od:"));
    MaskEdit1 = new QLineEdit(times);
    MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    MaskEdit2 = new QLineEdit(times);
    MaskEdit2->setObjectName(QStringLiteral("MaskEdit2"));
    auto *timesGrid = new QGridLayout(times);
    timesGrid->addWidget(RadioButton1, 0, 0);
    timesGrid->addWidget(RadioButton2, 1, 0);
    timesGrid->addWidget(MaskEdit1, 1, 1);
    timesGrid->addWidget(label(times, "Label4", QStringLiteral("do:")), 1, 2);
    timesGrid->addWidget(MaskEdit2, 1, 3);
    timesGrid->setColumnStretch(4, 1);
    for (QLineEdit *edit : {MaskEdit1, MaskEdit2}) {
        m_timeMask.apply(edit);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00:00")) + 16);
        edit->installEventFilter(this);
    }
    layout->addWidget(times);

    QGroupBox *kms = group(this, "GroupBox2", QStringLiteral("Kilometrový rozsah:"));
    RadioButton3 = radio(kms, "RadioButton3", QStringLiteral("Vše"));
    RadioButton4 = radio(kms, "RadioButton4", QStringLiteral("Od stanice:"));
    RadioButton5 = radio(kms, "RadioButton5", QStringLiteral("Od kilometru:"));
    ComboBox1 = new QComboBox(kms);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox2 = new QComboBox(kms);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    for (QComboBox *combo : {ComboBox1, ComboBox2}) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(16);
        combo->installEventFilter(this);
    }
    SpinEdit4 = new LimitedSpinBox("SpinEdit4", PrintPlan::minKm, PrintPlan::maxKmField, kms);
    SpinEdit5 = new LimitedSpinBox("SpinEdit5", PrintPlan::minKm, PrintPlan::maxKmField, kms);
    auto *kmsGrid = new QGridLayout(kms);
    kmsGrid->addWidget(RadioButton3, 0, 0);
    kmsGrid->addWidget(RadioButton4, 1, 0);
    kmsGrid->addWidget(ComboBox1, 1, 1);
    kmsGrid->addWidget(label(kms, "Label5", QStringLiteral("do stanice:")), 1, 2);
    kmsGrid->addWidget(ComboBox2, 1, 3);
    kmsGrid->addWidget(RadioButton5, 2, 0);
    kmsGrid->addWidget(SpinEdit4, 2, 1, Qt::AlignLeft);
    kmsGrid->addWidget(label(kms, "Label6", QStringLiteral("do kilometru:")), 2, 2);
    kmsGrid->addWidget(SpinEdit5, 2, 3, Qt::AlignLeft);
    layout->addWidget(kms);

    auto *sizes = new QHBoxLayout;
    QGroupBox *diagram = group(this, "GroupBox3", QStringLiteral("Rozměr vlakorysu (mm)"));
    auto *diagramGrid = new QGridLayout(diagram);
    Label9 = label(diagram, "Label9");
    Label10 = label(diagram, "Label10");
    diagramGrid->addWidget(label(diagram, "Label7", QStringLiteral("Výška:")), 0, 0);
    diagramGrid->addWidget(Label9, 0, 1);
    diagramGrid->addWidget(label(diagram, "Label8", QStringLiteral("Šířka:")), 1, 0);
    diagramGrid->addWidget(Label10, 1, 1);
    diagramGrid->setColumnStretch(1, 1);
    QGroupBox *paper = group(this, "GroupBox4", QStringLiteral("Rozměr papíru (mm)"));
    auto *paperGrid = new QGridLayout(paper);
    Label14 = label(paper, "Label14");
    Label15 = label(paper, "Label15");
    paperGrid->addWidget(label(paper, "Label12", QStringLiteral("Výška:")), 0, 0);
    paperGrid->addWidget(Label14, 0, 1);
    paperGrid->addWidget(label(paper, "Label13", QStringLiteral("Šířka:")), 1, 0);
    paperGrid->addWidget(Label15, 1, 1);
    paperGrid->setColumnStretch(1, 1);
    sizes->addWidget(diagram);
    sizes->addWidget(paper);

    QLabel *resolutionCaption =
        label(this, "Label11",
              QStringLiteral("Rozlišení (DPI) (Nezávislé na rozlišení tiskárny - mělo by být takové, aby vypočtené "
                             "rozměry papíru odpovídaly rozměrům papíru v tiskárně): "));
    resolutionCaption->setWordWrap(true);
    ComboBox3 = new QComboBox(this);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->addItems({QStringLiteral("75 X 75"), QStringLiteral("144 X 144"), QStringLiteral("150 X 150"),
                         QStringLiteral("180 X 180"), QStringLiteral("300 X 300"), QStringLiteral("360 X 360")});
    ComboBox3->setCurrentIndex(4);
    auto *resolutionRow = new QHBoxLayout;
    resolutionRow->addWidget(resolutionCaption, 1);
    resolutionRow->addWidget(ComboBox3, 0, Qt::AlignBottom);
    layout->addLayout(resolutionRow);
    layout->addLayout(sizes);

    CheckBox1 = new QCheckBox(QStringLiteral("Přidat legendu stanic"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    layout->addWidget(CheckBox1);

    BitBtn1 = new QPushButton(QStringLiteral("&Tisk"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("&Zrušit"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn3 = new QPushButton(QStringLiteral("&Nastavení ..."), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn4 = new QPushButton(QStringLiteral("&Exportovat..."), this);
    BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn4);
    buttons->addWidget(BitBtn2);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn3);
    layout->addLayout(buttons);

    // Width: layers, overlap, scale, the time range; height: layers, scale,
    // the kilometre range and its fields, the legend; paper: resolution.
    auto whenChecked = [this](QRadioButton *button, void (PrintToBitmapDialog::*compute)()) {
        connect(button, &QRadioButton::toggled, this, [this, compute](bool checked) {
            if (!checked)
                return;
            enableRanges();
            (this->*compute)();
        });
    };
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this] {
        computeWidth();
        computeHeight();
    });
    connect(SpinEdit2, &QSpinBox::valueChanged, this, &PrintToBitmapDialog::computeWidth);
    connect(SpinEdit3, &QSpinBox::valueChanged, this, [this] {
        computeWidth();
        computeHeight();
    });
    connect(SpinEdit3, &QSpinBox::editingFinished, this,
            [this] { SpinEdit3->setValue(PrintPlan::scaleOnLeaving(SpinEdit3->value())); });
    whenChecked(RadioButton1, &PrintToBitmapDialog::computeWidth);
    whenChecked(RadioButton2, &PrintToBitmapDialog::computeWidth);
    whenChecked(RadioButton3, &PrintToBitmapDialog::computeHeight);
    whenChecked(RadioButton4, &PrintToBitmapDialog::computeHeight);
    whenChecked(RadioButton5, &PrintToBitmapDialog::computeHeight);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { stationChanged(ComboBox1); });
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, [this] { stationChanged(ComboBox2); });
    connect(SpinEdit4, &QSpinBox::valueChanged, this, &PrintToBitmapDialog::computeHeight);
    connect(SpinEdit5, &QSpinBox::valueChanged, this, &PrintToBitmapDialog::computeHeight);
    connect(CheckBox1, &QCheckBox::toggled, this, &PrintToBitmapDialog::computeHeight);
    connect(ComboBox3, &QComboBox::currentIndexChanged, this, &PrintToBitmapDialog::computePaper);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, &PrintToBitmapDialog::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &PrintToBitmapDialog::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &PrintToBitmapDialog::BitBtn4Click);

    resetControls();
    enableRanges();
    setFixedSize(layout->sizeHint().expandedTo(QSize(460, 0)));
    DialogPlacement::centre(this);
}

PrintToBitmapDialog::~PrintToBitmapDialog() = default;

PrintPlan &PrintToBitmapDialog::plan()
{
    if (!m_plan)
        m_plan = std::make_unique<PrintPlan>(m_doc);
    return *m_plan;
}

void PrintToBitmapDialog::showEvent(QShowEvent *event)
{
    DialogPlacement::keepOnScreen(this);
    FormShow();
    QDialog::showEvent(event);
}

void PrintToBitmapDialog::FormShow()
{
    m_action = Action::None;
    m_refusal.clear();
    resetControls();
    enableRanges();
    computeWidth();
    computeHeight();
    computePaper();
}

void PrintToBitmapDialog::resetControls()
{
    m_filling = true;
    m_plan = std::make_unique<PrintPlan>(m_doc); // the largest kilometre of the document now
    ComboBox1->clear();
    ComboBox2->clear();
    int lowest = -1;
    int highest = -1;
    for (size_t i = 0; i < m_doc.stations.size(); ++i) {
        const Station &s = m_doc.stations[i];
        const QString name = cp1250::toUnicode(s.name.view());
        ComboBox1->addItem(name);
        ComboBox2->addItem(name);
        const int index = static_cast<int>(i);
        if (lowest < 0 || s.metres < m_doc.stations[static_cast<size_t>(lowest)].metres)
            lowest = index;
        if (highest < 0 || s.metres > m_doc.stations[static_cast<size_t>(highest)].metres)
            highest = index;
    }
    // The whole line, from its lowest to its highest kilometre.
    ComboBox1->setCurrentIndex(lowest);
    ComboBox2->setCurrentIndex(highest);
    m_stationIndex[0] = lowest;
    m_stationIndex[1] = highest;
    SpinEdit1->setValue(1);
    SpinEdit2->setValue(0);
    SpinEdit3->setValue(100);
    MaskEdit1->setText(QStringLiteral("00:00"));
    MaskEdit2->setText(QStringLiteral("23:59"));
    RadioButton1->setChecked(true);
    RadioButton3->setChecked(true);
    SpinEdit4->setValue(PrintPlan::minKm);
    SpinEdit5->setValue(PrintPlan::maxKmField);
    CheckBox1->setChecked(true);
    m_filling = false;
}

void PrintToBitmapDialog::enableRanges()
{
    MaskEdit1->setEnabled(RadioButton2->isChecked());
    MaskEdit2->setEnabled(RadioButton2->isChecked());
    ComboBox1->setEnabled(RadioButton4->isChecked());
    ComboBox2->setEnabled(RadioButton4->isChecked());
    SpinEdit4->setEnabled(RadioButton5->isChecked());
    SpinEdit5->setEnabled(RadioButton5->isChecked());
}

PrintPlan::Choice PrintToBitmapDialog::choice() const
{
    PrintPlan::Choice c;
    c.layers = SpinEdit1->value();
    c.overlap = SpinEdit2->value();
    c.scale = SpinEdit3->value();
    c.timeRange = RadioButton2->isChecked() ? PrintPlan::TimeRange::Span : PrintPlan::TimeRange::All;
    c.fromMinute = PrintPlan::minuteOfText(m_timeMask.committedText(MaskEdit1)).value_or(0);
    c.toMinute = PrintPlan::minuteOfText(m_timeMask.committedText(MaskEdit2)).value_or(23 * 60 + 59);
    c.kmRange = RadioButton4->isChecked()   ? PrintPlan::KmRange::Stations
                : RadioButton5->isChecked() ? PrintPlan::KmRange::Kilometres
                                            : PrintPlan::KmRange::All;
    c.fromStation = ComboBox1->currentIndex();
    c.toStation = ComboBox2->currentIndex();
    c.fromMetres = SpinEdit4->value() * Kilometres::metresPerKm;
    c.toMetres = SpinEdit5->value() * Kilometres::metresPerKm;
    c.legend = CheckBox1->isChecked();
    return c;
}

int PrintToBitmapDialog::resolution() const
{
    return PrintPlan::resolutionOf(ComboBox3->currentText());
}

void PrintToBitmapDialog::computeWidth()
{
    if (m_filling)
        return;
    Label10->setText(QString::number(PrintPlan::millimetres(plan().widthPixels(choice()))));
}

void PrintToBitmapDialog::computeHeight()
{
    if (m_filling)
        return;
    Label9->setText(QString::number(PrintPlan::millimetres(plan().heightPixels(choice()))));
}

void PrintToBitmapDialog::computePaper()
{
    if (m_filling)
        return;
    const QSize paper = PrintPlan::paperMillimetres(m_prompter.printerPageSize(), resolution());
    Label14->setText(QString::number(paper.height()));
    Label15->setText(QString::number(paper.width()));
}

void PrintToBitmapDialog::BitBtn1Click()
{
    if (!timeRangeAccepted())
        return;
    m_action = Action::Print;
    accept();
}

void PrintToBitmapDialog::BitBtn4Click()
{
    if (!timeRangeAccepted())
        return;
    m_action = Action::Export;
    accept();
}

void PrintToBitmapDialog::BitBtn3Click()
{
    if (!m_refusal.isEmpty())
        m_prompter.error(std::exchange(m_refusal, QString()));
    m_prompter.printerSetup();
    computePaper();
}

void PrintToBitmapDialog::stationChanged(QComboBox *changed)
{
    if (m_filling)
        return;
    int &remembered = m_stationIndex[changed == ComboBox1 ? 0 : 1];
    if (plan().stationsInOrder(ComboBox1->currentIndex(), ComboBox2->currentIndex())) {
        remembered = changed->currentIndex();
    } else {
        const QSignalBlocker block(changed);
        changed->setCurrentIndex(remembered);
    }
    computeHeight();
}

QString PrintToBitmapDialog::timeRangeProblem() const
{
    return PrintPlan::timeRangeProblem(m_timeMask.committedText(MaskEdit1), m_timeMask.committedText(MaskEdit2));
}

void PrintToBitmapDialog::timeFieldLeft(QLineEdit *field)
{
    // No time of day, or a range that ends before it starts: refused, and
    // the field takes back what it held when it was entered. A box opened
    // while a button is being pressed would leave the button down, so when
    // the focus went to one of the buttons, the button says it instead.
    const QString problem = timeRangeProblem();
    if (!problem.isEmpty()) {
        field->setText(m_enteredTime);
        auto *button = qobject_cast<QPushButton *>(QApplication::focusWidget());
        if (button && button->window() == this)
            m_refusal = problem;
        else
            m_prompter.error(problem);
    }
    computeWidth();
}

bool PrintToBitmapDialog::timeRangeAccepted()
{
    if (!m_refusal.isEmpty()) {
        m_prompter.error(std::exchange(m_refusal, QString()));
        return false;
    }
    if (!RadioButton2->isChecked())
        return true;
    const QString problem = timeRangeProblem();
    if (problem.isEmpty())
        return true;
    m_prompter.error(problem);
    return false;
}

bool PrintToBitmapDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == MaskEdit1 || watched == MaskEdit2) {
        auto *field = static_cast<QLineEdit *>(watched);
        if (event->type() == QEvent::FocusIn)
            m_enteredTime = field->text();
        else if (event->type() == QEvent::FocusOut)
            timeFieldLeft(field);
    } else if (event->type() == QEvent::FocusIn && (watched == ComboBox1 || watched == ComboBox2)) {
        m_stationIndex[watched == ComboBox1 ? 0 : 1] = static_cast<QComboBox *>(watched)->currentIndex();
    }
    return QDialog::eventFilter(watched, event);
}
