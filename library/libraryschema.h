#pragma once

#include <QString>

class QSqlDatabase;

namespace kivo {

// The library's schema as numbered SQL resources (:/kivo/library/schema/NNN_*.sql).
// PRAGMA user_version carries the number of the last step applied to a file.
namespace LibrarySchema {

// The newest schema version this program knows.
int currentVersion();

// The empty string when the open database has the tables and columns that
// version needs, else a short reason.
QString checkShape(QSqlDatabase &db, int version);

// True when the file holds at least one of the library's tables.
bool hasAnyLibraryTable(QSqlDatabase &db);

// Takes in a file of version 1's shape that carries no version: adds the indexes
// version 1 has and stamps the version, inside one transaction; on failure nothing
// is changed and the reason returned.
QString adopt(QSqlDatabase &db);

// Applies the steps after fromVersion up to currentVersion() inside one
// transaction; on any failure everything is rolled back and the reason returned.
QString migrate(QSqlDatabase &db, int fromVersion);

// The version stored in the file; -1 when it cannot be read.
int storedVersion(QSqlDatabase &db);

} // namespace LibrarySchema

} // namespace kivo
