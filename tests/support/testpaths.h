#pragma once

#include <QString>

namespace kivo::test {

inline QString buildDir() { return QStringLiteral(KIVO_BUILD_DIR); }
inline QString sourceDir() { return QStringLiteral(KIVO_SOURCE_DIR); }
inline QString programDir() { return buildDir() + QStringLiteral("/bin"); }
inline QString toolsDir() { return buildDir() + QStringLiteral("/tools"); }
inline QString demoMediaDir() { return QStringLiteral(KIVO_DEMO_MEDIA_DIR); }

} // namespace kivo::test
