#pragma once

#include <QDialog>

class QPushButton;
class QVBoxLayout;

// The shape of the small modal questions (TForm4, TForm6): a field above
// "&OK" and Zrušit, a fixed size, centred when made and brought back onto
// the screen whenever shown. ok() is cleared when shown and set by OK.
class PromptDialog : public QDialog
{
    Q_OBJECT

public:
    bool ok() const { return m_ok; }

public slots:
    void BitBtn1Click();

protected:
    PromptDialog(QWidget *parent, const char *name, const QString &title);

    // The subclass lays its field out here, then calls finish.
    QVBoxLayout *fieldLayout() const { return m_layout; }
    // Adds the buttons below the field and fixes the size, at least minimum.
    void finish(const QString &cancelText, QSize minimum);

    // Shows the dialog modally; whether it ended with OK.
    bool run();

    // On show, once ok() is cleared: the field made ready and focused.
    virtual void prepare() = 0;
    // On OK, before the dialog closes: what is still being typed taken.
    virtual void take() {}

    void showEvent(QShowEvent *event) override;

    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;

private:
    bool m_ok = false;
    QVBoxLayout *m_layout = nullptr;
};
