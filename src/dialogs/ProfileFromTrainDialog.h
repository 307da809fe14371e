#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

class Document;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// TForm11 "Jízdní doby z vlaku": which train a new travel-time profile is
// taken from, and whether its dwells come from the train's stops or are one
// standard dwell at every station. The standard dwell is kept between
// openings.
class ProfileFromTrainDialog : public QDialog
{
    Q_OBJECT

public:
    static inline const QString dwellMask = QStringLiteral("cccc;0; ");

    explicit ProfileFromTrainDialog(Document &doc, QWidget *parent = nullptr);

    // The train names in list order, the first selected, shown modally; the
    // chosen train's position when it ended with OK.
    std::optional<int> ask();

    bool ok() const { return m_ok; }
    bool dwellsFromTrain() const;
    // In half-minutes; -1 for none.
    int32_t standardDwell() const { return m_standardDwell; }

public slots:
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void CheckBox1Click(bool checked);
    void MaskEdit1Exit();

    Document &m_doc;
    bool m_ok = false;
    int32_t m_standardDwell = 0;

    QLabel *Label1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *MaskEdit1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn1 = nullptr;
};
