#pragma once

#include <QMainWindow>

class AnalogClock;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QScrollBar;
class QSpinBox;
class QToolButton;
class PaintBox;
struct Session;

// The main window TForm1: menu, tool panel Panel1, the diagram surface
// PaintBox1 and the scroll bars ScrollBar1 (horizontal) and ScrollBar2
// (vertical). Controls carry the names users of the program and its
// documentation know as their objectName; handlers keep their names too.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int panelHeight = 36;
    static constexpr int stationColumnWidth = 40;

    explicit MainWindow(Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    Session &session() { return m_session; }
    PaintBox *paintBox() const { return PaintBox1; }
    QScrollBar *horizontalBar() const { return ScrollBar1; }
    QScrollBar *verticalBar() const { return ScrollBar2; }

    // The scale label's text for a zoom step: zoom * 100 div 4 and " %".
    static QString zoomText(int zoom);

    // Document settings held by the tool panel's controls, pushed into them
    // and pulled from them around reading and writing files.
    void showDocumentSettings();

public slots:
    void Nov1Click();    // New
    void Konec1Click();  // Exit
    void Oaplikaci1Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormResize();
    void createMenu();
    void createToolPanel();
    QAction *addItem(QMenu *menu, const char *objectName, const QString &caption,
                     const QKeySequence &shortcut = {});
    QToolButton *addSpeedButton(const char *objectName, const QString &hint, const QIcon &icon);
    void render();

    Session &m_session;

    QWidget *m_client = nullptr;
    QWidget *Panel1 = nullptr;
    PaintBox *PaintBox1 = nullptr;
    QScrollBar *ScrollBar1 = nullptr;
    QScrollBar *ScrollBar2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QSpinBox *SpinEdit2 = nullptr;
    QToolButton *SpeedButton9 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    AnalogClock *AnalogClock1 = nullptr;

    QAction *Tiskdobitmapy1 = nullptr;
    QMenu *Editace1 = nullptr;

public:
    // Set by the program at start-up (AppWindows); the about box TForm8.
    QWidget *aboutBox = nullptr;
};
