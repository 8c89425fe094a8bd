#pragma once
// The examiner's console window: toolbar, results view and settings view.
// It wires the widgets to the console's logic (settings, login gate,
// results store, collector, export) and holds the console state.
#include "windows/consolehooks.h"
#include "windows/frmabout.h"
#include "collect/backgroundcollector.h"
#include "publish/consolesettings.h"
#include "class/liveclass.h"
#include "publish/logingate.h"
#include "collect/resultcollector.h"
#include "collect/resultstore.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QToolBar;
class QToolButton;
class ClassTableModel;

namespace console {

struct ConsoleFolders
{
    QString application;  // time.txt, test.txt, scratch files, article/
    QString program;  // where the manual ships, beside the program
    QString exchange;  // the folder the FTP service publishes
    QString database;  // the results database file (cj.mdb)
    QString exports;  // where exported workbooks are written; made when absent
};

class FrmMain : public QWidget
{
    Q_OBJECT

public:
    static QString manualFileName() { return QStringLiteral("安装使用说明.html"); }
    // While login is open the results are collected this often.
    static constexpr int kAutoCollectMillis = 5000;

    FrmMain(ConsoleFolders folders, ConsoleHooks hooks, QWidget *parent = nullptr);
    ~FrmMain() override;

    qint16 examMinutes() const { return m_examMinutes; }
    const QString &chosenArticlePath() const { return m_articlePath; }
    FrmAbout *aboutBox() const { return m_about; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    // The collection the clock runs while login is open, on the collector's
    // thread: the view stays as it is, the result shows when it is in, and
    // a failure shows in the counts line instead of a box.
    void collectQuietly();
    // Until the collection under way has been shown.
    void waitForCollection() { m_background.wait(); }
    bool collectionUnderWay() const { return m_background.busy(); }
    const QTimer &collectClock() const { return m_collectClock; }

private:
    void buildToolbar();
    void buildResultsView();
    void buildSettingsView();
    QToolButton *addToolbarButton(const QString &key, const QString &caption,
                                  const QString &toolTip, const QString &imageKey);

    void showResultsView(bool restoreGeometry);
    void placeFrames();
    void showCount();
    void readPublishedLength();
    // Shows a collection's rows and counts.
    void showCollection(const CollectionReport &report);
    void showQuietCollection(const CollectionReport &report);
    void showLiveRows();
    ExamFacts examFacts() const;
    void showGateState();

    // One slot per toolbar command and help menu entry.
    void openOrCloseLogin();
    void openLogin();
    void closeLogin();

    void openSettingsPanel();
    void chooseArticle();
    void chooseExchangeFolder();
    void saveSettings();
    void cancelSettings();
    void setExamText(const QString &text);

    void collectResults();
    void clearResults();
    void exportResults();
    void loadRoster();

    void openManual();
    void showAbout();

    void tell(const QString &text);
    bool ask(const QString &question);
    // False when another console has login open on the folder and the
    // examiner does not want `action` all the same.
    bool mayActBesideOtherConsole(const QString &action);
    void offerToWithdrawPublishedExam();

    ConsoleFolders m_folders;
    ConsoleHooks m_hooks;
    ConsoleSettings m_settings;
    LoginGate m_gate;
    std::unique_ptr<ResultStore> m_store;
    LiveClass m_live;
    ClassTableModel *m_model = nullptr;
    QTimer m_collectClock;
    BackgroundCollector m_background;
    std::optional<qint32> m_publishedLength;
    QString m_publishedStamp;  // size and time of the te.txt last counted

    qint16 m_examMinutes = examlimits::kDefaultExamMinutes;
    QString m_articlePath;
    QString m_examText;  // the exam text as saved: every line followed by CR LF

    QToolBar *m_toolbar = nullptr;
    QToolButton *m_beginStop = nullptr;
    QToolButton *m_clearLast = nullptr;
    QGroupBox *m_frameCJ = nullptr;
    QGroupBox *m_frameCJ1 = nullptr;
    QGroupBox *m_frameSet = nullptr;
    QTableView *m_grid = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_liveCounts = nullptr;
    QPushButton *m_exportButton = nullptr;
    QComboBox *m_testTime = nullptr;
    QPlainTextEdit *m_textBox = nullptr;
    QLabel *m_wordCount = nullptr;
    QLabel *m_exchangeLabel = nullptr;
    QPointer<FrmAbout> m_about;
};

}  // namespace console
