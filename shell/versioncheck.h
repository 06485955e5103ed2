#pragma once

#include <QString>

namespace kivo {

inline const QString kCurrentVersion = QStringLiteral(KIVO_VERSION);

// True when the published version sorts after ours by plain character codes
// ("1.4" after "1.31", "1.100" before it). The published text is trimmed first,
// so a trailing blank from the server does not trigger an update at every start.
bool isNewerVersion(const QString &published, const QString &current);

// "发现新版本V1.4，请下载最新版本。" followed by LF, CR and the download page.
QString newVersionMessage(const QString &published, const QString &downloadPageUrl);

} // namespace kivo
