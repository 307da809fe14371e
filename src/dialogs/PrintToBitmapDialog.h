#pragma once

#include "EditMask.h"

#include "editing/PrintPlan.h"

#include <QDialog>

#include <memory>

class Document;
class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// TForm5 "Tisk do bitmapy": a calculator of how large the printed diagram
// and the printer's paper are for a number of layers, an overlap, a scale,
// a time range, a kilometre range and a resolution. It changes nothing in
// the document. Created once at start-up; shown with exec(), which fills it
// from the document (station lists, largest kilometre) and sets its
// defaults. The arithmetic is PrintPlan's; "&Nastavení ..." is the printer
// setup dialog through the Prompter. A time range that is no range (a field
// that is no time, an end before the start) is refused with a message and
// the field left takes back its text. "&Tisk" and "&Exportovat..." close it
// with what the user asked for (action()), which the caller then does with
// choice() and resolution(); the controls keep their values until the next
// showing.
class PrintToBitmapDialog : public QDialog
{
    Q_OBJECT

public:
    PrintToBitmapDialog(const Document &doc, Prompter &prompter, QWidget *parent = nullptr);
    ~PrintToBitmapDialog() override;

    // What closed the dialog: "&Tisk", "&Exportovat..." or nothing asked.
    enum class Action { None, Print, Export };
    Action action() const { return m_action; }

    // What the controls hold.
    PrintPlan::Choice choice() const;
    // The resolution chosen in ComboBox3.
    int resolution() const;

    // The recomputations, each into its labels.
    void computeWidth();
    void computeHeight();
    void computePaper();

public slots:
    void BitBtn1Click(); // "&Tisk"
    void BitBtn3Click(); // "&Nastavení ...": printer setup
    void BitBtn4Click(); // "&Exportovat..."

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    // The station lists and the defaults, without computing.
    void resetControls();
    void enableRanges();
    void stationChanged(QComboBox *changed);
    void timeFieldLeft(QLineEdit *field);
    QString timeRangeProblem() const;
    // "&Tisk" and "&Exportovat..." go on only with a range of the day; a
    // refusal owed from leaving a time field is said now.
    bool timeRangeAccepted();
    PrintPlan &plan();

    const Document &m_doc;
    Prompter &m_prompter;
    std::unique_ptr<PrintPlan> m_plan;
    EditMask m_timeMask;
    bool m_filling = false;
    Action m_action = Action::None;
    // The station combo boxes' indices to go back to, and a time field's
    // text when it was entered.
    int m_stationIndex[2] = {-1, -1};
    QString m_enteredTime;
    // A time field's refusal for the button the focus went to.
    QString m_refusal;

    QSpinBox *SpinEdit1 = nullptr; // layers
    QSpinBox *SpinEdit2 = nullptr; // overlap
    QSpinBox *SpinEdit3 = nullptr; // scale
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QLineEdit *MaskEdit1 = nullptr;
    QLineEdit *MaskEdit2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QRadioButton *RadioButton4 = nullptr;
    QRadioButton *RadioButton5 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QComboBox *ComboBox2 = nullptr;
    QSpinBox *SpinEdit4 = nullptr;
    QSpinBox *SpinEdit5 = nullptr;
    QLabel *Label9 = nullptr;  // diagram height
    QLabel *Label10 = nullptr; // diagram width
    QComboBox *ComboBox3 = nullptr;
    QLabel *Label14 = nullptr; // paper height
    QLabel *Label15 = nullptr; // paper width
    QCheckBox *CheckBox1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *BitBtn4 = nullptr;
};
