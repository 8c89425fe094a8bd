#include "workbook.h"

#include "testbroker.h"

#include <QProcess>
#include <QTcpSocket>

QStringList workbookRows(const QString &path)
{
    if (testbroker::inUse()) {
        QTcpSocket socket;
        const QByteArray reply =
                testbroker::ask(socket, "WORKBOOK " + testbroker::linuxPath(path).toUtf8());
        if (reply.isEmpty() || reply.startsWith("FAILED"))
            return { QStringLiteral("openpyxl failed: ") + QString::fromUtf8(reply) };
        return QString::fromUtf8(reply).split(QChar(0x1f), Qt::SkipEmptyParts);
    }
    QProcess python;
    python.start(QStringLiteral(KESTRIX_PYTHON),
                 { QStringLiteral("-c"),
                   QStringLiteral("import sys, openpyxl\n"
                                  "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                  "for row in ws.iter_rows(values_only=True):\n"
                                  "    print('|'.join('' if v is None else type(v).__name__ + ':' "
                                  "+ str(v) for v in row))\n"),
                   path });
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return { QStringLiteral("openpyxl failed: ")
                 + QString::fromUtf8(python.readAllStandardError()) };
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}
