#pragma once

#include "model/Records.h"
#include "render/DiagramWindow.h"

#include <QObject>

class AnalogClock;
class QAction;
class Diagram;
class MainMenu;
class QCheckBox;
class QIcon;
class QLabel;
class QSpinBox;
class QToolButton;
class QWidget;

// The tool panel Panel1 at the top of TForm1. Its buttons for New, Open,
// Save, the two lists and Exit show the main menu's actions; zoom, "Akt."
// and the three check boxes run the diagram's view commands; the ratio's
// spin edits and the check boxes hold document settings (shown from and
// taken into the document around reading a file); Label1 shows the scale.
// A scroll key pressed on a check box or a spin edit scrolls the diagram
// when it is released there.
class ToolPanel : public QObject
{
    Q_OBJECT

public:
    static constexpr int height = 36;

    // The diagram is only used once the window is built: the diagram's
    // window reads the panel's check boxes, so the panel is made first.
    ToolPanel(QWidget &parent, MainMenu &menu, Diagram &diagram);

    QWidget *widget() const { return Panel1; }
    // Across the top of the client area, the clock near its right edge.
    void place(int width);

    bool isChecked(DiagramWindow::CheckBox box) const;
    void setChecked(DiagramWindow::CheckBox box, bool checked);
    void setZoomText(const QString &text);
    // "Konflikty": whether the conflicts are marked (ConflictCommands).
    QCheckBox *conflictsBox() const { return CheckBoxKonflikty; }

    // The document's settings into the controls (SpinEdit1 and SpinEdit2
    // the ratio, CheckBox1..3 the three flags, Label1 the scale) with the
    // render-in-progress flag up, so that their handlers do nothing; values
    // the controls cannot hold (a ratio of 0 from a damaged file) come back
    // as the controls hold them; the view's scale follows.
    void showDocumentSettings();
    // LabelKoleje: the line's main tracks and headway in force, shown after
    // every change of the document ("Jednokolejná trať, interval 3 min").
    void showTracks();
    static QString tracksText(const LineTracks &line);
    // Start-up: the settings the controls begin with.
    void takeStartSettings();

    void SpeedButton7Click(); // zoom in
    void SpeedButton8Click(); // zoom out
    void SpeedButton9Click(); // "Akt."
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolButton *addSpeedButton(const char *objectName, const QString &hint, const QIcon &icon);
    QToolButton *addActionButton(const char *objectName, QAction *action, const QString &hint, const QIcon &icon);
    QCheckBox *box(DiagramWindow::CheckBox box) const;

    Diagram &m_diagram;
    QWidget *Panel1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *LabelKoleje = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QSpinBox *SpinEdit2 = nullptr;
    QToolButton *SpeedButton7 = nullptr;
    QToolButton *SpeedButton8 = nullptr;
    QToolButton *SpeedButton9 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    QCheckBox *CheckBoxKonflikty = nullptr;
    AnalogClock *AnalogClock1 = nullptr;

    // The scroll key last pressed on a check box or spin edit, which scrolls
    // when it is released there.
    QObject *m_scrollKeyTarget = nullptr;
    int m_scrollKey = 0;
};
