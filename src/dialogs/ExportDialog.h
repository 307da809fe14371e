#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

// TForm14 "Exportovat": what "Exportovat..." writes, the sheet that "Tisk..." plans
// (its layers, scale and ranges as the print dialog last held them) or the
// diagram as the window shows it. "&Uložit..." goes on to the save dialog,
// whose filter decides the format. Created once at start-up, the last of
// the windows.
class ExportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ExportDialog(QWidget *parent = nullptr);

    // The sheet as the print dialog holds it, in a few words.
    void setSheetSummary(const QString &summary);
    // True when the view was chosen rather than the sheet.
    bool viewChosen() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QRadioButton *RadioButton1 = nullptr; // the sheet
    QRadioButton *RadioButton2 = nullptr; // the view
    QLabel *Label1 = nullptr;             // the sheet's summary
    QPushButton *BitBtn1 = nullptr;       // "&Uložit..."
    QPushButton *BitBtn2 = nullptr;       // "&Zrušit"
};
