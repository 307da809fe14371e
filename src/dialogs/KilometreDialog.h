#pragma once

#include "PromptDialog.h"

#include <optional>

class QSpinBox;

// TForm4 "Kilometr": asks the train list editor for the kilometre of a bare
// kilometre point, -999 ... 999. Created once at start-up; the train list
// dialog is its only user.
class KilometreDialog : public PromptDialog
{
    Q_OBJECT

public:
    static constexpr int minimum = -999;
    static constexpr int maximum = 999;

    explicit KilometreDialog(QWidget *parent = nullptr);

    int value() const;
    QSpinBox *spinEdit() const { return SpinEdit1; }

    // Shows the dialog modally; the value when it ended with OK.
    std::optional<int> ask();

protected:
    void prepare() override;
    void take() override;

private:
    QSpinBox *SpinEdit1 = nullptr;
};
