#include "examexit.h"

ExitDecision decideExit(bool started, qint32 typedLen, qint32 targetLen, bool clockRunning)
{
    if (!started)
        return ExitDecision::LeaveAtOnce;
    // In 64 bits, so a target length near the lower limit cannot wrap.
    const bool wholeTextTyped = qint64(typedLen) >= qint64(targetLen) - 2;
    return wholeTextTyped || !clockRunning ? ExitDecision::AskToConfirm : ExitDecision::NotFinished;
}

QString confirmExitQuestion()
{
    return QStringLiteral("是否真的要退出考试？");
}

QString notFinishedMessage()
{
    return QStringLiteral("目标文字还没有输完，不能退出考试！");
}
