#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A row of the end-to-end cases file (tests/endtoend_cases.txt), shared with the Windows run
// and the web test: its name and its values in the order of the test's columns.
struct EndToEndCase
{
    QByteArray name;
    QStringList values;

    QString text(int column) const { return values.value(column); }
    QByteArray bytes(int column) const { return values.value(column).toUtf8(); }
};

// The rows under "== test: columns". The columns named there must be the ones given, so that
// the file and the test cannot drift apart; a mismatch, a missing file or a row with the wrong
// number of values fails the current data function.
QList<EndToEndCase> endToEndCases(const QString &test, const QStringList &columns);
