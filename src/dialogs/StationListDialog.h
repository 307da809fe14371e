#pragma once

#include "StringGrid.h"
#include "editing/StationListEditor.h"

#include <QDialog>

#include <array>

class Prompter;
class QCheckBox;
class QPushButton;

// The station list editor TForm2 "Seznam stanic": the grid of names,
// kilometres and track numbers and the seven kind boxes. Its rules are
// StationListEditor's; this window shows that state and passes on what the
// user does, and tells the user why a kilometre or a number was refused.
// Created once at start-up and shown again and again by the station list
// command.
class StationListDialog : public QDialog
{
    Q_OBJECT

public:
    StationListDialog(Document &doc, Prompter &prompter, QWidget *parent = nullptr);
    ~StationListDialog() override;

    StationListEditor &editor() { return m_editor; }
    StringGrid *grid() const { return StringGrid1; }
    QCheckBox *kindBox(StationListEditor::Kind kind) const { return m_boxes[static_cast<size_t>(kind)]; }

    // Set when the dialog is shown, cleared by OK.
    bool cancelled() const { return m_cancelled; }

    // The driver's filling before showing: the grid from the document, the
    // grid as the active control.
    void fill();

    // New: the first data row's name and kilometre cells become empty.
    void clearFirstRow();

public slots:
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormHide();
    void StringGrid1Click(int column, int row);
    void StringGrid1SetEditText(const StringGrid::Commit &commit);
    QString StringGrid1GetEditMask(int column, int row) const;
    void kindBoxClick(StationListEditor::Kind kind, bool checked);
    void showGrid();
    void showKinds();

    StationListEditor m_editor;
    Prompter &m_prompter;
    bool m_cancelled = true;
    bool m_refused = false; // a cell was refused; OK clears it before its own commit

    StringGrid *StringGrid1 = nullptr;
    QCheckBox *BorCheck1 = nullptr; // Dopravna
    QCheckBox *CheckBox1 = nullptr; // Hradlo
    QCheckBox *CheckBox2 = nullptr; // Hláska
    QCheckBox *CheckBox3 = nullptr; // Odbočka
    QCheckBox *CheckBox4 = nullptr; // Zastávka
    QCheckBox *CheckBox5 = nullptr; // Nákladiště
    QCheckBox *CheckBox6 = nullptr; // Kilometr
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    std::array<QCheckBox *, StationListEditor::KindCount> m_boxes{};
};
