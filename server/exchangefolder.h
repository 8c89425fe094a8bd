#pragma once
// The exchange folder as the console sees it: the message when it is
// missing, and emptying it for the next exam.
#include <QStringList>

// The message for a missing exchange folder, naming the folder to set up.
QString exchangeFolderMissingMessage(const QString &exchangeFolder);

// Deletes every plain file of the folder (result files, te.txt, se.dll) and
// result files whose names begin with a dot; folders, other hidden files and
// system files stay. Returns "name：reason" for each
// file that could not be deleted; the others are deleted all the same.
QStringList removeExchangeFiles(const QString &folder);
