#include "ProfileFromTrainDialog.h"

#include "DialogPlacement.h"
#include "EditMask.h"
#include "WidgetHelpers.h"

#include "editing/HalfMinuteText.h"
#include "model/Cp1250.h"
#include "model/Document.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using WidgetHelpers::named;

ProfileFromTrainDialog::ProfileFromTrainDialog(Document &doc, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_doc(doc)
{
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QStringLiteral("Jízdní doby z vlaku"));

    Label1 = named(new QLabel(QStringLiteral("Vlak:"), this), "Label1");
    ComboBox1 = named(new QComboBox(this), "ComboBox1");
    CheckBox1 = named(new QCheckBox(QStringLiteral("Pobyty z vlaku"), this), "CheckBox1");
    CheckBox1->setChecked(true);
    Label2 = named(new QLabel(QStringLiteral("Standartní pobyt:"), this), "Label2");
    MaskEdit1 = named(new QLineEdit(this), "MaskEdit1");
    EditMask(dwellMask).apply(MaskEdit1);
    MaskEdit1->setMaxLength(4);
    MaskEdit1->setText(QStringLiteral("0"));
    // Here OK is BitBtn2 and Zrušit BitBtn1.
    const WidgetHelpers::OkCancel buttons =
        WidgetHelpers::okCancel(this, QStringLiteral("OK"), QStringLiteral("&Zrušit"), true, "BitBtn2", "BitBtn1");
    BitBtn2 = buttons.ok;
    BitBtn1 = buttons.cancel;

    auto *form = new QGridLayout;
    form->addWidget(Label1, 0, 0);
    form->addWidget(ComboBox1, 0, 1);
    form->addWidget(CheckBox1, 1, 0, 1, 2);
    form->addWidget(Label2, 2, 0);
    form->addWidget(MaskEdit1, 2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons.row);

    connect(CheckBox1, &QCheckBox::toggled, this, &ProfileFromTrainDialog::CheckBox1Click);
    connect(MaskEdit1, &QLineEdit::editingFinished, this, &ProfileFromTrainDialog::MaskEdit1Exit);
    connect(BitBtn2, &QPushButton::clicked, this, &ProfileFromTrainDialog::BitBtn2Click);

    FormCreate();
}

void ProfileFromTrainDialog::FormCreate()
{
    m_standardDwell = 0;
    CheckBox1Click(CheckBox1->isChecked());
    resize(layout()->sizeHint().expandedTo(QSize(250, 164)));
    DialogPlacement::centre(this);
}

void ProfileFromTrainDialog::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void ProfileFromTrainDialog::FormShow()
{
    DialogPlacement::keepOnScreen(this);
    m_ok = false;
    ComboBox1->setFocus();
}

bool ProfileFromTrainDialog::dwellsFromTrain() const
{
    return CheckBox1->isChecked();
}

void ProfileFromTrainDialog::CheckBox1Click(bool checked)
{
    MaskEdit1->setEnabled(!checked);
    Label2->setEnabled(!checked);
}

void ProfileFromTrainDialog::MaskEdit1Exit()
{
    int32_t value = m_standardDwell;
    HalfMinuteText::parse(EditMask(dwellMask).committedText(MaskEdit1), -1, value);
    m_standardDwell = value;
    MaskEdit1->setText(HalfMinuteText::format(m_standardDwell, -1));
}

void ProfileFromTrainDialog::BitBtn2Click()
{
    // The standard dwell still being typed counts.
    BitBtn2->setFocus();
    if (MaskEdit1->isEnabled())
        MaskEdit1Exit();
    m_ok = true;
    accept();
}

std::optional<int> ProfileFromTrainDialog::ask()
{
    ComboBox1->clear();
    for (const Train &t : m_doc.trains)
        ComboBox1->addItem(cp1250::toUnicode(t.name.view()));
    ComboBox1->setCurrentIndex(0);
    exec();
    if (!m_ok || ComboBox1->currentIndex() < 0)
        return std::nullopt;
    return ComboBox1->currentIndex();
}
