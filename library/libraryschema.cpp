#include "library/libraryschema.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <map>

namespace kivo::LibrarySchema {

namespace {

const QString kSchemaDir = QStringLiteral(":/kivo/library/schema");

// The steps by number, from the resource names "NNN_what.sql".
std::map<int, QString> schemaSteps()
{
    std::map<int, QString> steps;
    const QStringList names = QDir(kSchemaDir).entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        bool ok = false;
        const int number = name.section(QLatin1Char('_'), 0, 0).toInt(&ok);
        if (ok && number > 0)
            steps[number] = kSchemaDir + QLatin1Char('/') + name;
    }
    return steps;
}

// Qt's SQLite driver runs one statement per exec: split the script at the ';'
// that ends a line, leaving out "--" comment lines.
QStringList statementsOf(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList statements;
    QString current;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (trimmed.endsWith(QLatin1Char(';'))) {
            statements << current.trimmed();
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

struct TableShape
{
    const char *table;
    QStringList columns;
};

QList<TableShape> shapeOfVersion1()
{
    auto cols = [](std::initializer_list<const char *> names) {
        QStringList l;
        for (const char *n : names)
            l << QString::fromLatin1(n);
        return l;
    };
    return {
        {"class", cols({"id", "title"})},
        {"list", cols({"id", "classid", "title", "url", "url1", "url2", "musicid", "baiduid", "addtime"})},
        {"ls", cols({"id", "title"})},
        {"lslist", cols({"id", "lsid", "title", "url", "url1", "url2", "musicid", "baiduid", "listid", "addtime"})},
        {"cd", cols({"id", "title", "specialid"})},
        {"config", cols({"addtime", "downday", "content"})},
    };
}

} // namespace

int currentVersion()
{
    const auto steps = schemaSteps();
    return steps.empty() ? 0 : steps.rbegin()->first;
}

int storedVersion(QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return -1;
    return q.value(0).toInt();
}

QString checkShape(QSqlDatabase &db, int version)
{
    if (version != 1)
        return QStringLiteral("未知的数据结构版本 %1").arg(version);
    for (const TableShape &shape : shapeOfVersion1()) {
        const QString table = QString::fromLatin1(shape.table);
        QSqlQuery q(db);
        // A table name cannot be bound; these names are our own constants.
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
            return q.lastError().text();
        QStringList present;
        while (q.next())
            present << q.value(1).toString();
        if (present.isEmpty())
            return QStringLiteral("缺少数据表 %1").arg(table);
        for (const QString &column : shape.columns) {
            if (!present.contains(column))
                return QStringLiteral("数据表 %1 缺少字段 %2").arg(table, column);
        }
    }
    return {};
}

bool hasAnyLibraryTable(QSqlDatabase &db)
{
    for (const TableShape &shape : shapeOfVersion1()) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
        q.addBindValue(QString::fromLatin1(shape.table));
        if (q.exec() && q.next())
            return true;
    }
    return false;
}

QString adopt(QSqlDatabase &db)
{
    const auto steps = schemaSteps();
    if (steps.empty())
        return QStringLiteral("程序中缺少数据结构定义");
    const QStringList statements = statementsOf(steps.begin()->second);
    if (!db.transaction())
        return db.lastError().text();
    auto fail = [&db](const QString &reason) {
        db.rollback();
        return reason.isEmpty() ? QStringLiteral("未知错误") : reason;
    };
    // The tables are there already; of the first step only the indexes are new.
    static const QString kCreateIndex = QStringLiteral("CREATE INDEX ");
    for (const QString &sql : statements) {
        if (!sql.startsWith(kCreateIndex))
            continue;
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ") + sql.mid(kCreateIndex.size())))
            return fail(q.lastError().text());
    }
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(steps.begin()->first)))
        return fail(q.lastError().text());
    if (!db.commit())
        return fail(db.lastError().text());
    return {};
}

QString migrate(QSqlDatabase &db, int fromVersion)
{
    const auto steps = schemaSteps();
    if (steps.empty())
        return QStringLiteral("程序中缺少数据结构定义");
    if (!db.transaction())
        return db.lastError().text();
    auto fail = [&db](const QString &reason) {
        db.rollback();
        return reason.isEmpty() ? QStringLiteral("未知错误") : reason;
    };
    int reached = fromVersion;
    for (const auto &[number, resource] : steps) {
        if (number <= fromVersion)
            continue;
        const QStringList statements = statementsOf(resource);
        if (statements.isEmpty())
            return fail(QStringLiteral("无法读取 %1").arg(resource));
        for (const QString &sql : statements) {
            QSqlQuery q(db);
            if (!q.exec(sql))
                return fail(q.lastError().text());
        }
        reached = number;
    }
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(reached)))
        return fail(q.lastError().text());
    if (!db.commit())
        return fail(db.lastError().text());
    return {};
}

} // namespace kivo::LibrarySchema
