// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/answeralignment.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

// The step into a cell of the table, preferred in this order on a tie so
// that a wrong character stays a wrong character, not a slip.
enum Step : std::uint8_t { Along, Extra, Missing };

constexpr int kBand = 2 * AnswerAlignment::kWidestShift + 1;

}  // namespace

AnswerAlignment::AnswerAlignment(QStringView target, QStringView typed)
{
    // Typing further past the end than any shift can follow is all extra.
    const int targetLen = int(target.size());
    const int typedLen = int(std::min<qsizetype>(typed.size(), targetLen + kWidestShift));
    m_errorCount = int(typed.size()) - typedLen;

    // Row i holds the cost of the first i typed characters against the
    // target's first j = i + d - kWidestShift, for d across the band.
    std::vector<Step> steps(size_t(typedLen + 1) * kBand);
    std::vector<int> previous(kBand, INT_MAX);
    std::vector<int> current(kBand, INT_MAX);
    for (int i = 0; i <= typedLen; ++i) {
        for (int d = 0; d < kBand; ++d) {
            const int j = i + d - kWidestShift;
            int best = INT_MAX;
            Step step = Along;
            if (j >= 0 && j <= targetLen) {
                if (i == 0 && j == 0)
                    best = 0;
                if (i > 0 && j > 0 && previous[size_t(d)] != INT_MAX)
                    best = previous[size_t(d)] + (typed[i - 1] == target[j - 1] ? 0 : 1);
                if (i > 0 && d + 1 < kBand && previous[size_t(d + 1)] != INT_MAX
                    && previous[size_t(d + 1)] + 1 < best) {
                    best = previous[size_t(d + 1)] + 1;
                    step = Extra;
                }
                if (j > 0 && d > 0 && current[size_t(d - 1)] != INT_MAX
                    && current[size_t(d - 1)] + 1 < best) {
                    best = current[size_t(d - 1)] + 1;
                    step = Missing;
                }
            }
            current[size_t(d)] = best;
            steps[size_t(i) * kBand + size_t(d)] = step;
        }
        std::swap(previous, current);
    }

    // Where the typing stopped in the target: the cheapest end, and of equal
    // ones the least shifted.
    int end = -1;
    for (int d = 0; d < kBand; ++d) {
        if (previous[size_t(d)] == INT_MAX)
            continue;
        if (end < 0 || previous[size_t(d)] < previous[size_t(end)]
            || (previous[size_t(d)] == previous[size_t(end)]
                && std::abs(d - kWidestShift) < std::abs(end - kWidestShift)))
            end = d;
    }

    // Walked back, then read forward: runs of one kind make one slip, and
    // a run counts as a slip only when aligned typing follows it.
    struct Move
    {
        Step step;
        int i;  // typed characters before it
        int j;  // target characters before it
    };
    std::vector<Move> moves;
    for (int i = typedLen, j = i + end - kWidestShift; i > 0 || j > 0;) {
        const Step step = steps[size_t(i) * kBand + size_t(j - i + kWidestShift)];
        i -= step == Missing ? 0 : 1;
        j -= step == Extra ? 0 : 1;
        moves.push_back({ step, i, j });
    }
    std::reverse(moves.begin(), moves.end());
    std::vector<Slip> runs;
    for (size_t k = 0; k < moves.size(); ++k) {
        const Move &move = moves[k];
        if (move.step == Along) {
            const bool right = typed[move.i] == target[move.j];
            ++(right ? m_rightCount : m_errorCount);
            if (right && !runs.empty()) {
                m_slips.insert(m_slips.end(), runs.begin(), runs.end());
                runs.clear();
            }
            continue;
        }
        ++m_errorCount;
        const SlipKind kind = move.step == Extra ? SlipKind::Extra : SlipKind::Missing;
        const QChar sign = move.step == Extra ? typed[move.i] : target[move.j];
        const bool continues = k > 0 && moves[k - 1].step == move.step;
        if (continues)
            runs.back().text += sign;
        else
            runs.push_back({ kind, move.j, QString(sign) });
    }
}
