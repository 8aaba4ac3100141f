#include "EndToEndCases.h"

#include <QFile>
#include <QtTest>

namespace {

QString value(const QString &field)
{
    const QString trimmed = field.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith(QLatin1Char('"'))
        && trimmed.endsWith(QLatin1Char('"')))
        return trimmed.mid(1, trimmed.size() - 2);
    return trimmed;
}

void fail(const QString &message)
{
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

} // namespace

QList<EndToEndCase> endToEndCases(const QString &test, const QStringList &columns)
{
    const QString path = QStringLiteral(OSTREL_ENDTOEND_CASES);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fail(path + QStringLiteral(": ") + file.errorString());
        return {};
    }
    QList<EndToEndCase> rows;
    bool inTest = false, found = false;
    int lineNumber = 0;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        if (line.endsWith(QLatin1Char('\n')))
            line.chop(1);
        ++lineNumber;
        const QString where = QStringLiteral("%1:%2: ").arg(path).arg(lineNumber);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("== "))) {
            const QString name = line.mid(3).section(QLatin1Char(':'), 0, 0);
            inTest = name == test;
            if (!inTest)
                continue;
            found = true;
            QStringList named;
            for (const QString &column : line.section(QLatin1Char(':'), 1).split(QLatin1Char('|')))
                named.append(column.trimmed());
            if (named != columns) {
                fail(where + QStringLiteral("columns ") + named.join(QLatin1Char(','))
                     + QStringLiteral(", the test has ") + columns.join(QLatin1Char(',')));
                return {};
            }
            continue;
        }
        if (!inTest)
            continue;
        const QStringList fields = line.split(QLatin1Char('|'));
        if (fields.size() != columns.size() + 1) {
            fail(where + QStringLiteral("%1 values, not %2").arg(fields.size() - 1).arg(columns.size()));
            return {};
        }
        EndToEndCase row{value(fields.first()).toUtf8(), {}};
        for (int i = 1; i < fields.size(); ++i)
            row.values.append(value(fields.at(i)));
        rows.append(row);
    }
    if (!found)
        fail(path + QStringLiteral(": no rows for ") + test);
    return rows;
}
