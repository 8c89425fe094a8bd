// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FrmMain: the typing window. Shows the target text with the examinee's
// progress laid over it, the exam clock and the figures. The exam's course,
// the comparison, paging and scoring live in ExamSession, TypingSession and
// ExamClock, the records on their way in ExamRecords; this class shows their
// phases and asks the examinee.
#include "exam/examclock.h"
#include "exam/examrecords.h"
#include "exam/examsession.h"
#include "exam/typingsession.h"
#include "transfer/examinee.h"
#include "transfer/priorrecords.h"
#include "transfer/resultupload.h"

#include <QColor>
#include <QWidget>

#include <memory>

class InputMethods;
class InputMethodSwitch;
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
    // The unfinished session to continue; a new session when empty.
    std::optional<ResumePoint> resume;
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

    const Examinee &examinee() const { return m_exam->examinee(); }
    const QString &workFolder() const { return m_workFolder; }
    const TypingSession &session() const { return m_exam->typing(); }
    const ExamClock &clock() const { return *m_clock; }
    const ExamSession &exam() const { return *m_exam; }
    int topLine() const { return m_topLine; }
    float speed() const { return m_exam->figures().speed; }
    float accuracy() const { return m_exam->figures().accuracy; }
    ExamRecords &records() { return *m_records; }
    ResultUpload &upload() { return m_records->upload(); }

public slots:
    // Enter (Return or the keypad's Enter) goes to the exam session, which
    // starts the exam once; other keys do nothing.
    void startExam(Qt::Key key);
    void showProgress();
    void showPage();
    // An entry of Combo1 was chosen.
    void chooseInputMethod(int index);

    // The ticks of the exam clock, the status bar's clock and the prompt.
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
    // The tab of the settings, which the examinee cannot open, and the
    // status bar's panels by place.
    static constexpr int kSettingsTab = 1;
    static constexpr int kTimePanel = 0;
    static constexpr int kWebsitePanel = 2;
    static constexpr int kNotePanel = 3;

    // The controls, their names and geometry (frmmaincontrols.cpp).
    void buildWindow();
    void buildStatusBar();
    void buildTimers();
    // Gives the target text area the size a page needs in its font and
    // moves and grows what lies beside and below it, so that nothing else
    // shrinks.
    void placeControls();

    void loadExamText();
    void resumeFrom(const ResumePoint &point);
    void showWaitingPrompt();
    void switchTimer(QTimer *timer, bool on);
    void onScrollChanged(int value);
    void onTypedTextChanged();
    void showOverlays();
    void runExitDialogue();
    void onPhaseChanged(ExamSession::Phase phase);
    void beginTyping();
    void endTyping();
    void askExaminee(ExamSession::Question question);
    void tell(const QString &text);
    void onUploadStateChanged();
    void showInfo(const QString &text, const QColor &color);
    void showFinish();
    void showStatusNote();
    void leave();
    void onStatusPanelClicked(const QString &key);

    QString m_workFolder;
    std::shared_ptr<Messages> m_messages;
    bool m_runTimers = true;

    std::unique_ptr<ExamClock> m_clock;
    PromptBlinker m_blinker;
    std::unique_ptr<ExamSession> m_exam;
    std::unique_ptr<ExamRecords> m_records;
    int m_topLine = 0;
    std::unique_ptr<InputMethodSwitch> m_inputSwitch;

    QLabel *m_department = nullptr;
    QLabel *m_examNumber = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_inputMethodLabel = nullptr;
    QComboBox *m_inputMethods = nullptr;
    QWidget *m_sideFrame = nullptr;
    QPushButton *m_endExam = nullptr;
    QTabWidget *m_tabs = nullptr;
    QLabel *m_timeCaption = nullptr;
    QLabel *m_timeLeft = nullptr;
    PageView *m_page = nullptr;
    QScrollBar *m_pageScroll = nullptr;
    QLabel *m_infoLine = nullptr;
    TypingBox *m_typingBox = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QList<StatusPanel *> m_panels;
    QTimer *m_examTick = nullptr;
    QTimer *m_statusTick = nullptr;
    QTimer *m_promptTick = nullptr;
};
