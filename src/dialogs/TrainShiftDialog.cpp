#include "TrainShiftDialog.h"

#include "WidgetHelpers.h"

#include "editing/TrainListEditor.h"
#include "editing/TrainShift.h"
#include "render/DiagramView.h"

#include <algorithm>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using WidgetHelpers::named;

TrainShiftDialog::TrainShiftDialog(Mode mode, Document &doc, TrainListEditor &editor, QWidget *parent)
    : QDialog(parent), m_mode(mode), m_doc(doc), m_editor(editor)
{
    setObjectName(mode == Mode::Shift ? QStringLiteral("TrainShiftDialog") : QStringLiteral("TrainSeriesDialog"));
    setWindowTitle(mode == Mode::Shift ? QStringLiteral("Posunout vlak") : QStringLiteral("Kopírovat s intervalem"));
    auto *form = new QFormLayout;
    if (mode == Mode::Shift) {
        m_minutes = named(new QDoubleSpinBox(this), "MinutesEdit");
        m_minutes->setDecimals(1);
        m_minutes->setSingleStep(0.5);
        m_minutes->setSuffix(QStringLiteral(" min"));
        m_fromRow = named(new QCheckBox(QStringLiteral("Jen od zvoleného řádku dál"), this), "FromRowBox");
        form->addRow(QStringLiteral("Posun:"), m_minutes);
        form->addRow(m_fromRow);
        connect(m_fromRow, &QCheckBox::toggled, this, &TrainShiftDialog::limitMinutes);
    } else {
        m_count = named(new QSpinBox(this), "CountEdit");
        m_count->setRange(1, 99);
        m_interval = named(new QSpinBox(this), "IntervalEdit");
        m_interval->setRange(1, 1439);
        m_interval->setValue(60);
        m_interval->setSuffix(QStringLiteral(" min"));
        m_numberStep = named(new QSpinBox(this), "NumberStepEdit");
        m_numberStep->setRange(-9999, 9999);
        m_numberStep->setValue(2);
        form->addRow(QStringLiteral("Počet kopií:"), m_count);
        form->addRow(QStringLiteral("Interval:"), m_interval);
        form->addRow(QStringLiteral("Krok čísla vlaku:"), m_numberStep);
    }
    const WidgetHelpers::OkCancel buttons =
        WidgetHelpers::okCancel(this, QStringLiteral("&OK"), QStringLiteral("&Zrušit"));
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.row);
}

void TrainShiftDialog::limitMinutes()
{
    // The spin box offers only what the rows allow: from a row on, that row
    // never before the one ahead of it.
    const Train &train = m_doc.trains[static_cast<size_t>(m_train)];
    const int from = m_fromRow->isChecked() ? m_row : 0;
    m_minutes->setRange(TrainShift::held(train, from, -TrainShift::perDay) / double(TrainShift::perMinute),
                        TrainShift::held(train, from, TrainShift::perDay) / double(TrainShift::perMinute));
}

bool TrainShiftDialog::run()
{
    const Train *train = m_editor.currentTrain();
    if (!train || train->isEmpty())
        return false;
    m_train = static_cast<int>(train - m_doc.trains.data());
    m_row = std::clamp(m_editor.rowCursor() - 1, 0, train->rowCount() - 1);
    if (m_mode == Mode::Shift) {
        m_fromRow->setEnabled(m_row > 0);
        m_fromRow->setChecked(false);
        limitMinutes();
        m_minutes->setValue(0.0);
    }
    if (exec() != QDialog::Accepted)
        return false;
    const int trainRow = m_editor.currentTrainRow();
    const int rowCursor = m_editor.rowCursor();
    if (m_mode == Mode::Shift) {
        const int amount = Geometry::round(m_minutes->value() * TrainShift::perMinute);
        TrainShift::shift(m_doc, m_train, m_fromRow->isChecked() ? m_row : 0, amount);
    } else {
        TrainShift::copySeries(m_doc, m_train, m_count->value(), m_interval->value() * TrainShift::perMinute,
                               m_numberStep->value());
    }
    m_editor.fill();
    m_editor.setTrainCursor(trainRow);
    m_editor.setRowCursor(rowCursor);
    return true;
}
