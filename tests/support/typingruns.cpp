// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "typingruns.h"

#include <cmath>
#include <memory>
#include <random>

KeyPace personLikePace(quint32 seed, double medianMs)
{
    auto generator = std::make_shared<std::mt19937>(seed);
    auto spread = std::make_shared<std::lognormal_distribution<double>>(std::log(medianMs), 0.5);
    return [generator, spread] { return (*spread)(*generator); };
}

KeyPace steadyPace(quint32 seed, double medianMs, double spread)
{
    auto generator = std::make_shared<std::mt19937>(seed);
    auto intervals = std::make_shared<std::lognormal_distribution<double>>(
            std::log(medianMs), std::sqrt(std::log(1 + spread * spread)));
    return [generator, intervals] { return (*intervals)(*generator); };
}

KeyPace fixedPace(double ms)
{
    return [ms] { return ms; };
}

KeyPace jitteredPace(quint32 seed, double ms, double share)
{
    auto generator = std::make_shared<std::mt19937>(seed);
    auto intervals = std::make_shared<std::uniform_real_distribution<double>>(ms * (1 - share),
                                                                              ms * (1 + share));
    return [generator, intervals] { return (*intervals)(*generator); };
}

KeyPace withPauses(KeyPace pace, int every, double pauseMs)
{
    auto count = std::make_shared<int>(0);
    return [pace = std::move(pace), every, pauseMs, count] {
        return pace() + (++*count % every == 0 ? pauseMs : 0);
    };
}

KeyTimeline typedRun(const QString &text, const KeyPace &pace, HanziEntry hanzi, qint32 startMs)
{
    KeyTimeline run;
    double atMs = startMs;
    qint32 position = 0;
    for (const QChar character : text) {
        const bool composed = hanzi == HanziEntry::Pinyin && keytimeline::isHanzi(character);
        for (int key = 0; key < (composed ? 4 : 1); ++key) {
            if (key > 0 || position > 0)
                atMs += pace();
            run.keys.push_back({ qint32(atMs), composed });
        }
        run.edits.push_back(
                { qint32(atMs), position++, 0, QString(character),
                  composed ? TimelineEdit::Source::InputMethod : TimelineEdit::Source::Keys });
    }
    return run;
}

KeyTimeline committed(KeyTimeline run, const QString &text, int composing, int arrows)
{
    qint32 atMs = run.keys.back().atMs + 1000;
    for (int k = 0; k < arrows + composing; ++k, atMs += 150)
        run.keys.push_back({ atMs, k >= arrows });
    run.keys.push_back({ atMs, true });
    run.edits.push_back({ atMs, qint32(keytimeline::replayed(run.edits)->size()), 0, text,
                          TimelineEdit::Source::InputMethod });
    return run;
}
