#pragma once

#include "StringGrid.h"
#include "editing/ProfileEditor.h"

#include <QDialog>

class Prompter;
class ProfileFromTrainDialog;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The travel-time editor TForm10 "Jízdní doby": a direction, a profile
// number, the profile's name and its running and dwell times per station.
// The rules are ProfileEditor's, which edits the document's profile table
// in place; the command restores it on Cancel. "Jízd. doby z vlaku" derives
// a new profile from a train through TForm11.
class ProfileDialog : public QDialog
{
    Q_OBJECT

public:
    ProfileDialog(Document &doc, Prompter &prompter, QWidget *parent = nullptr);
    ~ProfileDialog() override;

    ProfileEditor &editor() { return m_editor; }
    void setFromTrainDialog(ProfileFromTrainDialog *dialog) { m_fromTrain = dialog; }

    // Cleared when shown, set by OK.
    bool ok() const { return m_ok; }

    // The command's filling before showing.
    void fill();

    StringGrid *grid() const { return StringGrid1; }

    static inline const QString noTrainsMessage = QStringLiteral("V dokumentu není žádný vlak.");

public slots:
    void BitBtn1Click();
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void RadioGroup1Click(int direction);
    void SpinEdit1Change(int value);
    void Edit1Change(const QString &text);
    void StringGrid1Click(int column, int row);
    void StringGrid1SetEditText(const StringGrid::Commit &commit);
    QString StringGrid1GetEditMask(int column, int row) const;
    void showProfile();
    void showNumbers();
    void showCursor();

    Document &m_doc;
    ProfileEditor m_editor;
    Prompter &m_prompter;
    ProfileFromTrainDialog *m_fromTrain = nullptr;
    bool m_ok = false;
    bool m_busy = false;

    QLabel *Label1 = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QGroupBox *RadioGroup1 = nullptr;
    QButtonGroup *m_directions = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit1 = nullptr;
    StringGrid *StringGrid1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *Button1 = nullptr;
};
