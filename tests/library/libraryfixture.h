#pragma once

#include "library/librarydatabase.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

namespace kivo::test {

// A fresh library in a temporary folder, opened, plus a second raw connection
// for looking at what is really stored.
struct LibraryFixture
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data/kx.dat"));
    LibraryDatabase db;
    QString rawName = QStringLiteral("raw-%1").arg(quintptr(this));

    bool setUp()
    {
        if (!dir.isValid() || LibraryDatabase::create(path).status != LibraryCreateOutcome::Status::Created)
            return false;
        if (!db.open(path).ok())
            return false;
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), rawName);
        raw.setDatabaseName(path);
        return raw.open();
    }
    ~LibraryFixture()
    {
        QSqlDatabase::database(rawName, false).close();
        QSqlDatabase::removeDatabase(rawName);
    }

    // Runs a statement on the raw connection; returns the first column of the first row.
    QVariant raw(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(QSqlDatabase::database(rawName, false));
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec()) {
            qWarning("raw statement failed: %s", qPrintable(sql));
            return {};
        }
        return q.next() ? q.value(0) : QVariant();
    }
    int count(const QString &table) { return raw(QStringLiteral("SELECT count(*) FROM ") + table).toInt(); }
};

} // namespace kivo::test
