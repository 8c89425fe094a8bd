// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "grading/judgingstandard.h"

#include "settings/consolepreferences.h"

#include <QDir>

#include <cmath>

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 10);
}

}  // namespace

const QVector<JudgingStandard::Setting> &JudgingStandard::settings()
{
    using S = JudgingStandard;
    // The mark each setting belongs to, shown above its group.
    const QString hanziMark = tr("汉字未经输入法输入");
    const QString rhythmMark = tr("按键节奏不像人工输入");
    const QString pieceMark = tr("大段文字无按键输入");
    const QString pasteMark = tr("输入法粘贴");
    const QString disagreeMark = tr("按键记录与成绩不符");
    const QString speedMark = tr("速度上限");
    static const QVector<Setting> all {
        { QStringLiteral("hanziByKeys"), hanziMark, tr("达到字数"), true, 1, 10000,
          [](const S &s) { return double(s.typing.hanziByKeys); },
          [](S &s, double v) { s.typing.hanziByKeys = qint32(v); } },
        { QStringLiteral("evenStretchIntervals"), rhythmMark, tr("过匀：停顿之间按键间隔共计"),
          true, 20, 10000, [](const S &s) { return double(s.typing.evenStretchIntervals); },
          [](S &s, double v) { s.typing.evenStretchIntervals = qint32(v); } },
        // Named anew when the stretches between breaks came to be pooled: a
        // "minSpread" kept in a file was set for a single stretch's measure.
        { QStringLiteral("pooledMinSpread"), rhythmMark, tr("过匀：间隔离散度低于"), false, 0, 2,
          [](const S &s) { return s.typing.minSpread; },
          [](S &s, double v) { s.typing.minSpread = v; } },
        { QStringLiteral("burstIntervals"), rhythmMark, tr("过快：连续按键间隔数"), true, 5, 10000,
          [](const S &s) { return double(s.typing.burstIntervals); },
          [](S &s, double v) { s.typing.burstIntervals = qint32(v); } },
        { QStringLiteral("fastestMeanMs"), rhythmMark, tr("过快：平均间隔低于（毫秒）"), false, 0,
          1000, [](const S &s) { return s.typing.fastestMeanMs; },
          [](S &s, double v) { s.typing.fastestMeanMs = v; } },
        { QStringLiteral("breakMs"), rhythmMark, tr("停顿长于此不计（毫秒）"), true, 200, 60000,
          [](const S &s) { return double(s.typing.breakMs); },
          [](S &s, double v) { s.typing.breakMs = qint32(v); } },
        { QStringLiteral("largePieceChars"), pieceMark, tr("一次出现至少（字）"), true, 2, 100000,
          [](const S &s) { return double(s.typing.largePieceChars); },
          [](S &s, double v) { s.typing.largePieceChars = qint32(v); } },
        { QStringLiteral("keysPerChar"), pieceMark, tr("每字按键少于"), false, 0, 20,
          [](const S &s) { return s.typing.keysPerChar; },
          [](S &s, double v) { s.typing.keysPerChar = v; } },
        { QStringLiteral("pastedShare"), pasteMark, tr("超过所打文字的比例"), false, 0, 1,
          [](const S &s) { return s.typing.pastedShare; },
          [](S &s, double v) { s.typing.pastedShare = v; } },
        { QStringLiteral("pastedMinChars"), pasteMark, tr("且至少（字）"), true, 1, 100000,
          [](const S &s) { return double(s.typing.pastedMinChars); },
          [](S &s, double v) { s.typing.pastedMinChars = qint32(v); } },
        { QStringLiteral("graceSeconds"), disagreeMark, tr("按键记录可超出用时（秒）"), true, 0,
          600, [](const S &s) { return double(s.typing.graceSeconds); },
          [](S &s, double v) { s.typing.graceSeconds = qint32(v); } },
        { QStringLiteral("speedCeiling"), speedMark, tr("每分钟最多字数"), true, 30, 3000,
          [](const S &s) { return double(s.speedCeiling); },
          [](S &s, double v) { s.speedCeiling = qint32(v); } },
    };
    return all;
}

JudgingStandard::Reading JudgingStandard::fromTexts(const QStringList &texts)
{
    JudgingStandard standard;
    for (int i = 0; i < settings().size() && i < texts.size(); ++i) {
        const Setting &setting = settings()[i];
        bool ok = false;
        const double value = texts[i].trimmed().toDouble(&ok);
        const bool fits = ok && value >= setting.lowest && value <= setting.highest
                && (!setting.whole || value == std::floor(value));
        if (!fits)
            return { std::nullopt,
                     tr("%1的“%2”应为%3到%4之间的%5。")
                             .arg(setting.mark, setting.label, number(setting.lowest),
                                  number(setting.highest), setting.whole ? tr("整数") : tr("数")) };
        setting.set(standard, value);
    }
    return { standard, {} };
}

QStringList JudgingStandard::texts() const
{
    QStringList texts;
    for (const Setting &setting : settings())
        texts << number(setting.get(*this));
    return texts;
}

JudgingStandard::Reading JudgingStandard::fromNamedTexts(const QMap<QString, QString> &named)
{
    QStringList texts = JudgingStandard().texts();
    for (int i = 0; i < settings().size(); ++i)
        texts[i] = named.value(settings()[i].name, texts[i]);
    return fromTexts(texts);
}

QMap<QString, QString> JudgingStandard::namedTexts() const
{
    QMap<QString, QString> named;
    const QStringList values = texts();
    for (int i = 0; i < settings().size(); ++i)
        named.insert(settings()[i].name, values[i]);
    return named;
}

JudgingStandard::Reading JudgingStandard::load(const QString &applicationFolder)
{
    const ConsolePreferences preferences(applicationFolder);
    if (QString problem = preferences.judgingProblem(); !problem.isEmpty())
        return { std::nullopt, problem };
    Reading reading = fromNamedTexts(preferences.judgingTexts());
    if (!reading.standard)
        reading.problem =
                tr("设置文件 %1 中的判定标准有误：%2")
                        .arg(QDir::toNativeSeparators(preferences.path()), reading.problem);
    return reading;
}

QString JudgingStandard::save(const QString &applicationFolder) const
{
    return ConsolePreferences(applicationFolder).setJudgingTexts(namedTexts());
}
