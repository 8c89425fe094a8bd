#pragma once
// What CmdExit (and the typing window's close box) does, decided from the
// exam's state alone.
#include <QString>

enum class ExitDecision {
    LeaveAtOnce,    // the exam has not started: end the program, no question
    AskToConfirm,   // "是否真的要退出考试？" with Yes and No
    NotFinished,    // "目标文字还没有输完，不能退出考试！", typing goes on
};

// Leaving a started exam is allowed once the whole target except its final
// line break (CR LF) has been typed, or when the exam clock has stopped.
ExitDecision decideExit(bool started, qint32 typedLen, qint32 targetLen, bool clockRunning);

QString confirmExitQuestion();
QString notFinishedMessage();
