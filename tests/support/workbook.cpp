// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "workbook.h"

#include "testbroker.h"

#include <QProcess>
#include <QTcpSocket>

namespace {

// The lines a Python script prints about the workbook: through the test
// broker under Wine, else by running Python here.
QStringList askOpenpyxl(const QByteArray &brokerCommand, const QString &script, const QString &path)
{
    if (testbroker::inUse()) {
        QTcpSocket socket;
        const QByteArray reply =
                testbroker::ask(socket, brokerCommand + ' ' + testbroker::linuxPath(path).toUtf8());
        if (reply.isEmpty() || reply.startsWith("FAILED"))
            return { QStringLiteral("openpyxl failed: ") + QString::fromUtf8(reply) };
        return QString::fromUtf8(reply).split(QChar(0x1f), Qt::SkipEmptyParts);
    }
    QProcess python;
    python.start(QStringLiteral(KESTRIX_PYTHON),
                 { QStringLiteral("-c"), QStringLiteral("import sys, openpyxl\n") + script, path });
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return { QStringLiteral("openpyxl failed: ")
                 + QString::fromUtf8(python.readAllStandardError()) };
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace

QStringList workbookRows(const QString &path)
{
    return askOpenpyxl("WORKBOOK",
                       QStringLiteral("ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                      "for row in ws.iter_rows(values_only=True):\n"
                                      "    print('|'.join('' if v is None else type(v).__name__ "
                                      "+ ':' + str(v) for v in row))\n"),
                       path);
}

QStringList workbookLayout(const QString &path)
{
    return askOpenpyxl("LAYOUT",
                       QStringLiteral("ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                      "print('sheet:' + ws.title)\n"
                                      "for r in ws.merged_cells.ranges:\n"
                                      "    print('merged:' + str(r))\n"
                                      "if ws['A1'].font.b:\n"
                                      "    print('bold:A1')\n"
                                      "for k, d in sorted(ws.column_dimensions.items()):\n"
                                      "    print('width:%s=%g' % (k, d.width))\n"),
                       path);
}

QStringList workbookScript(const QString &script, const QString &path)
{
    return askOpenpyxl("SCRIPT " + script.toUtf8().toBase64(), script, path);
}
