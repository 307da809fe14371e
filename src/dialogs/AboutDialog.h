#pragma once

#include <QDialog>

// The about box TForm8: the program's name, version and what it is for.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
};
