#pragma once

#include "editing/NewTrain.h"

#include <QDialog>

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class StringGrid;

// TForm13 "Přidat vlak": confirms a train laid with the insert-train tool.
// The caller fills the read-only table with the train's rows; the user picks
// the category and number (both kept between openings) and the two flags
// (cleared on every show). The dialog changes no document data.
class AddTrainDialog : public QDialog
{
    Q_OBJECT

public:
    enum Column { StationColumn = 0, RunTimeColumn, ArrivalColumn, DwellColumn, DepartureColumn, ColumnCount };

    explicit AddTrainDialog(QWidget *parent = nullptr);

    void setRows(std::vector<AddTrainRow> rows);
    // Shows the dialog modally with these rows; the choice on OK.
    std::optional<NewTrainChoice> ask(std::vector<AddTrainRow> rows);

    bool ok() const { return m_ok; }
    NewTrainChoice choice() const;
    StringGrid *grid() const { return StringGrid1; }

public slots:
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    QString cell(int column, int row) const;

    std::vector<AddTrainRow> m_rows;
    bool m_ok = false;

    QLabel *Label1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLabel *Label2 = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    StringGrid *StringGrid1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
};
