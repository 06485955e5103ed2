#pragma once

#include <QString>

namespace kivo {

// Whether the file is a program this machine can start: an ELF file of the same
// class, byte order and machine as the running program, an executable (or
// position-independent executable) with an entry point, whose header tables and
// loadable segments all lie inside the file, so a cut-off download is refused too.
// On refusal `why` says what is wrong.
bool isProgramForThisMachine(const QString &path, QString *why);

} // namespace kivo
