// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One publication of an exam: each 允许登录 gets a new random id, so that a
// record or a checkpoint of an earlier sitting of the same text and time is
// never taken for this one's. The console publishes it beside te.txt and
// se.dll (pb.txt, two record lines: the id, whether login codes are
// required); clients that do not know the file never ask for it. Every
// record names its publication in its "publication" section.
#include "exchange/recordsections.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

struct Publication
{
    QString id;  // hex digits; empty for an exam published without one
    bool codesRequired = false;

    static QString fileName() { return QStringLiteral("pb.txt"); }
    static QString sectionName() { return QStringLiteral("publication"); }
    // 32 hex digits from the system's secure random source.
    static QString newId();

    QByteArray toRecordLines() const;
    // Empty when the bytes are not a whole publication file.
    static std::optional<Publication> fromRecordLines(QByteArrayView bytes);

    // The section a record of this publication carries.
    RecordSection section() const;
};

// The publication a record names; empty for a record without the section
// (an older client's, or one of an exam published without an id).
QString publicationOf(const std::vector<RecordSection> &sections);
