// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The members of a zip archive (an .xlsx workbook), found through its
// central directory and inflated with zlib, never beyond kMaxPartBytes.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace xlsx {

// No part is inflated beyond this: a small file may inflate to gigabytes.
constexpr qint64 kMaxPartBytes = 16 * 1024 * 1024;

class ZipArchive
{
public:
    explicit ZipArchive(QByteArray bytes) : m_bytes(std::move(bytes)) { }

    // Lists the members; false when this is no zip archive we can read.
    bool index();

    bool contains(const QString &name) const { return m_members.contains(name); }
    // The members' names in the order of the central directory.
    const QStringList &names() const { return m_names; }

    // Whether the last member() failed because the part inflates beyond
    // kMaxPartBytes, rather than being missing or damaged.
    bool tooLarge() const { return m_tooLarge; }

    // The member's bytes, inflated to at most kMaxPartBytes whatever the
    // directory declares; empty when missing, damaged or larger.
    std::optional<QByteArray> member(const QString &name) const;

private:
    struct Member
    {
        quint32 method = 0;
        quint32 packedSize = 0;
        quint32 size = 0;
        quint32 localHeader = 0;
    };
    QByteArray m_bytes;
    QHash<QString, Member> m_members;
    QStringList m_names;
    mutable bool m_tooLarge = false;
};

}  // namespace xlsx
