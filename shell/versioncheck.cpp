#include "shell/versioncheck.h"

namespace kivo {

bool isNewerVersion(const QString &published, const QString &current)
{
    return QString::compare(published.trimmed(), current, Qt::CaseSensitive) > 0;
}

QString newVersionMessage(const QString &published, const QString &downloadPageUrl)
{
    return u"发现新版本V"_qs + published.trimmed() + u"，请下载最新版本。\n\r"_qs + downloadPageUrl;
}

} // namespace kivo
