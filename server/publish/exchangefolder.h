// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exchange folder as the console sees it: the message when it is
// missing, emptying it for the next exam, and the note of the console that
// has login open.
#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include <optional>

// The message for a missing exchange folder: the folder to set up, that it
// does not exist (on a drive that may not), and the way to another one.
QString exchangeFolderMissingMessage(const QString &exchangeFolder);

// Empties the folder for the next exam with removeExchangeFiles(). Refuses,
// deleting nothing, when the folder is missing or is one of `ownFolders`
// (the console's program, settings or database folder, reached by any path):
// a mistaken setting must not delete the console's own files. Returns the
// examiner's message; empty when every file went.
QString clearExchangeFolder(const QString &folder, const QStringList &ownFolders);
// Whether the folder is one of `ownFolders` or holds one, reached by any path.
bool holdsOwnFolder(const QString &folder, const QStringList &ownFolders);

// Deletes every plain file of the folder (result files, te.txt, se.dll) and
// result files whose names begin with a dot, and the folders lying where
// the console writes (see freeWritePlace()); other folders, other hidden
// files and system files stay. Returns "name：reason" for each entry that
// could not be deleted; the others are deleted all the same.
QStringList removeExchangeFiles(const QString &folder);
// The names removeExchangeFiles() would delete.
QStringList exchangeFilesToRemove(const QString &folder);

// Makes room for a file the console writes or deletes (se.dll, te.txt,
// pb.txt, a result file): a folder of that name is removed when empty and
// named, never emptied, when it holds anything. The problem or empty.
QString freeWritePlace(const QString &path);

// Which console is at work: the machine's name and the process.
struct ConsoleIdentity
{
    QString machine;
    qint64 process = 0;

    static ConsoleIdentity current();
    friend bool operator==(const ConsoleIdentity &a, const ConsoleIdentity &b)
    {
        return a.machine == b.machine && a.process == b.process;
    }
};

// The note a console leaves in the exchange folder while it has login open,
// so that a second console on the same folder (another machine, or a second
// copy on this one) knows before it publishes, withdraws or clears.
class ConsoleMarker
{
    Q_DECLARE_TR_FUNCTIONS(ConsoleMarker)
public:
    // Not a .zip: the collector passes it by; clearing deletes it.
    static QString fileName() { return QStringLiteral("console-in-use.txt"); }
    // A console that crashed on another machine cannot take its note back;
    // after this long the note no longer counts.
    static constexpr qint64 kFreshSeconds = 12 * 3600;

    struct Note
    {
        ConsoleIdentity owner;
        QDateTime since;  // UTC
    };

    ConsoleMarker(QString exchangeFolder, ConsoleIdentity self);

    // Leaves the note naming this console; the problem names the file.
    QString leave(const QDateTime &nowUtc) const;
    // Takes the note away (whoever left it: login is closed now).
    void remove() const;
    // Another console's note that still counts at `nowUtc`: not this
    // console's, not older than kFreshSeconds, and on this machine only
    // while its process still runs.
    std::optional<Note> otherConsole(const QDateTime &nowUtc) const;

    // The warning before `action` (开放登录, 禁止登录, 清空), for a yes/no question.
    static QString warning(const Note &note, const QString &action);

private:
    QString path() const;

    QString m_folder;
    ConsoleIdentity m_self;
};
