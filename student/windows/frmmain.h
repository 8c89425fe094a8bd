#pragma once
// FrmMain: the typing window. Shows the target text with the examinee's
// progress laid over it, runs the exam clock and takes the result. The
// comparison, paging and clock live in TypingSession and ExamClock; this
// class wires the controls to them.
#include "exam/examclock.h"
#include "transfer/examinee.h"
#include "exam/examsession.h"
#include "transfer/resultupload.h"
#include "exam/typingsession.h"

#include <QColor>
#include <QWidget>

#include <memory>

class InputMethods;
class Messages;
class PageView;
class TypingBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QStatusBar;
class QTabWidget;
class QTimer;
class StatusPanel;

// What the typing window uses from outside; tests put in their own.
struct FrmMainServices
{
    // The system's implementations when empty.
    std::unique_ptr<InputMethods> inputMethods;
    std::shared_ptr<Messages> messages;
    // Off in tests, which drive the clock, prompt and status ticks
    // themselves; the timers then never fire.
    bool runTimers = true;
};

class FrmMain : public QWidget
{
    Q_OBJECT
public:
    // The start-up runs here: the exam text is read from te.txt in
    // workFolder, and the window ends it by taking the zero result.
    FrmMain(const Examinee &examinee, const QString &workFolder, QWidget *parent = nullptr);
    FrmMain(const Examinee &examinee, const QString &workFolder, FrmMainServices services,
            QWidget *parent = nullptr);
    ~FrmMain() override;

    static QString websiteAddress();

    const Examinee &examinee() const { return m_examinee; }
    const QString &workFolder() const { return m_workFolder; }
    const TypingSession &session() const { return m_session; }
    const ExamClock &clock() const { return *m_clock; }
    const ExamSession &exam() const { return *m_exam; }
    int topLine() const { return m_topLine; }
    float speed() const { return m_speed; }
    float accuracy() const { return m_accuracy; }
    ResultUpload &upload() { return *m_upload; }

public slots:
    // Enter (key code 13) goes to the exam session, which starts the exam
    // once.
    void startExam(int keyCode);
    // The one place where a result is taken: at the end of start-up, every
    // so often while the examinee types, when the time is up, and when the
    // examinee ends the exam.
    void SaveResult(ResultProgress::Phase phase);
    void showProgress();
    void showPage();

    // Timer1, Timer2 and Timer3.
    void onClockTick();
    void onStatusTick();
    void onPromptTick();

signals:
    // CmdExit was pressed: the exam session decides what happens.
    void exitRequested();
    // The examinee has left: before the start, once the final result has
    // arrived, or after agreeing to leave without it. The program ends here.
    void examLeft();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void buildStatusBar();
    void loadExamText();
    void prepareClock();
    void switchTimer(QTimer *timer, bool on);

    void onScrollChanged(int value);
    void onTypedTextChanged();
    void followCaret(int typedLen);
    void showOverlays();
    void runExitDialogue();
    void onPhaseChanged(ExamSession::Phase phase);
    void beginTyping();
    void endTyping();
    void askExaminee(ExamSession::Question question);
    void tell(const QString &text);
    void onFinalOutcome(ResultUpload::State state);
    void onUploadStateChanged(ResultUpload::State state);
    void showInfo(const QString &text, const QColor &color);
    void showFinish();
    void leave();
    void onStatusPanelClicked(const QString &key);

    Examinee m_examinee;
    QString m_workFolder;
    std::unique_ptr<InputMethods> m_inputMethods;
    std::shared_ptr<Messages> m_messages;
    bool m_runTimers = true;

    TypingSession m_session;
    std::unique_ptr<ExamClock> m_clock;
    PromptBlinker m_blinker;
    std::unique_ptr<ResultUpload> m_upload;
    std::unique_ptr<ExamSession> m_exam;
    int m_topLine = 0;
    float m_speed = 0.0f;
    float m_accuracy = 0.0f;

    QLabel *m_lblBanName = nullptr;
    QLabel *m_lblExamNumber = nullptr;
    QLabel *m_lblName = nullptr;
    QComboBox *m_combo1 = nullptr;
    QPushButton *m_cmdExit = nullptr;
    QTabWidget *m_ssTab1 = nullptr;
    QLabel *m_lblTime = nullptr;
    PageView *m_lblGetText = nullptr;
    QScrollBar *m_vScroll1 = nullptr;
    QLabel *m_lblInfo = nullptr;
    TypingBox *m_txtWrite = nullptr;
    QStatusBar *m_statusBar1 = nullptr;
    QList<StatusPanel *> m_panels;
    QTimer *m_timer1 = nullptr;
    QTimer *m_timer2 = nullptr;
    QTimer *m_timer3 = nullptr;
};
