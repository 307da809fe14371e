#pragma once

#include "StringGrid.h"
#include "editing/TrainListEditor.h"

#include <QDialog>

class KilometreDialog;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class StationListBox;

// The train list editor TForm3 "Seznam vlaků": trains by name on the left,
// the current train's rows in the middle, the stations to insert on the
// right, and the insertion options and flags. The rules are
// TrainListEditor's, which changes the document as the user types; this
// window shows that state and passes on what the user does. There is no
// cancel: closing the window is the same as OK.
class TrainListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TrainListDialog(Document &doc, QWidget *parent = nullptr);
    ~TrainListDialog() override;

    TrainListEditor &editor() { return m_editor; }
    // "Vložit kilometr" asks this dialog (TForm4) for the kilometre.
    void setKilometreDialog(KilometreDialog *dialog) { m_kilometreDialog = dialog; }

    // The driver's filling before showing: stations, trains, "Na konec",
    // the train grid as the active control.
    void fill();

    StringGrid *trainGrid() const { return StringGrid1; }
    StringGrid *rowGrid() const { return StringGrid2; }
    StationListBox *stationList() const { return ListBox1; }

public slots:
    void BitBtn3Click();
    void Odstranitpoloku1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void FormCreate();
    void FormShow();
    void StringGrid1Click(int column, int row);
    void StringGrid1SetEditText(const StringGrid::Commit &commit);
    void StringGrid2Click(int column, int row);
    void StringGrid2SetEditText(const StringGrid::Commit &commit);
    QString StringGrid2GetEditMask(int column, int row) const;
    void ListBox1Click(int row);
    void ListBox1DblClick(int row);
    void ListBox1KeyDown(bool down);
    void ListBox1KeyUp();
    void ListBox1EnterUp(bool shift);
    void showStationSelection();
    void CheckBox1Click(bool checked);
    void CheckBox2Click(bool checked);
    void CheckBox3Click(bool checked);
    void CheckBox4Click(bool checked);
    void showTrains();
    void showRows();
    void showFlags();

    TrainListEditor m_editor;
    KilometreDialog *m_kilometreDialog = nullptr;
    bool m_busy = false;

    QLabel *Label1 = nullptr;
    StringGrid *StringGrid1 = nullptr;
    QLabel *Label2 = nullptr;
    StringGrid *StringGrid2 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *Odstranitpoloku1 = nullptr;
    QLabel *Label3 = nullptr;
    StationListBox *ListBox1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *BorRadio1 = nullptr;
    QRadioButton *BorRadio2 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    QCheckBox *CheckBox4 = nullptr;
};
