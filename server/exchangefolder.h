#pragma once
// Emptying the exchange folder for the next exam.
#include <QStringList>

// Deletes every plain file of the folder (result files, te.txt, se.dll);
// folders, hidden and system files stay. Returns "name：reason" for each
// file that could not be deleted; the others are deleted all the same.
QStringList removeExchangeFiles(const QString &folder);
