#pragma once

#include "PromptDialog.h"

#include <optional>

class QLabel;
class QLineEdit;

// TForm6: asks "Najdi vlak..." for a train number. Created once at start-up
// and centred on the screen; brought back onto it whenever shown.
class FindTrainDialog : public PromptDialog
{
    Q_OBJECT

public:
    static constexpr QSize windowSize{234, 117};

    explicit FindTrainDialog(QWidget *parent = nullptr);

    QLineEdit *edit() const { return Edit1; }

    // Clears the text and shows the dialog modally; the text as typed when
    // it ended with OK.
    std::optional<QString> ask();

protected:
    void prepare() override;

private:
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
};
