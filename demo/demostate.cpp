#include "demo/demostate.h"

namespace kivo::demo {

FaultKind faultKindFromName(const QString &name, bool *ok)
{
    static const QMap<QString, FaultKind> kinds = {
        {QStringLiteral("off"), FaultKind::None},
        {QStringLiteral("hang"), FaultKind::Hang},
        {QStringLiteral("drip"), FaultKind::Drip},
        {QStringLiteral("500"), FaultKind::Error500},
        {QStringLiteral("reset"), FaultKind::Reset},
        {QStringLiteral("truncate"), FaultKind::Truncate},
        {QStringLiteral("garbage"), FaultKind::Garbage},
        {QStringLiteral("huge"), FaultKind::Huge},
        {QStringLiteral("stall"), FaultKind::Stall},
        {QStringLiteral("noise"), FaultKind::Noise},
        {QStringLiteral("page"), FaultKind::Page},
    };
    *ok = kinds.contains(name);
    return kinds.value(name, FaultKind::None);
}

QString normalisedPath(const QString &path)
{
    qsizetype from = 0;
    while (from < path.size() && (path.at(from) == u'/' || path.at(from) == u'\\'))
        ++from;
    return path.mid(from).toLower();
}

DemoState::DemoState()
{
    resetNotice();
}

void DemoState::logRequest(const QString &line)
{
    std::lock_guard lock(m_mutex);
    m_log.append(line);
}

QStringList DemoState::requestLog() const
{
    std::lock_guard lock(m_mutex);
    return m_log;
}

void DemoState::clearLog()
{
    std::lock_guard lock(m_mutex);
    m_log.clear();
}

void DemoState::recordDedication(const QueryFields &fields)
{
    std::lock_guard lock(m_mutex);
    m_dedications.append(fields);
}

QList<DemoState::QueryFields> DemoState::dedications() const
{
    std::lock_guard lock(m_mutex);
    return m_dedications;
}

void DemoState::clearDedications()
{
    std::lock_guard lock(m_mutex);
    m_dedications.clear();
}

void DemoState::setFault(const QString &path, FaultKind kind)
{
    std::lock_guard lock(m_mutex);
    if (kind == FaultKind::None)
        m_faults.remove(normalisedPath(path));
    else
        m_faults.insert(normalisedPath(path), kind);
}

FaultKind DemoState::faultFor(const QString &path) const
{
    std::lock_guard lock(m_mutex);
    return m_faults.value(normalisedPath(path), FaultKind::None);
}

void DemoState::clearFaults()
{
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

bool DemoState::setNoticeField(const QString &name, const QString &value)
{
    std::lock_guard lock(m_mutex);
    QString *field = nullptr;
    if (name == u"notice")
        field = &m_notice.noticeLine;
    else if (name == u"announcement")
        field = &m_notice.announcement;
    else if (name == u"link")
        field = &m_notice.link;
    else if (name == u"queue")
        field = &m_notice.queueLimit;
    else if (name == u"daily")
        field = &m_notice.dailyLimit;
    else if (name == u"date")
        field = &m_notice.date;
    else if (name == u"version")
        field = &m_notice.version;
    if (field) {
        *field = value;
        return true;
    }
    if (name == u"count") {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 0 || n > 7)
            return false;
        m_notice.fieldCount = n;
        return true;
    }
    return false;
}

NoticeFields DemoState::notice() const
{
    std::lock_guard lock(m_mutex);
    return m_notice;
}

void DemoState::resetNotice()
{
    std::lock_guard lock(m_mutex);
    // "{host}" and "{today}" are filled in per request: the address the client
    // reached this server at, and the server's date.
    m_notice = NoticeFields {};
    m_notice.noticeLine = QStringLiteral("欢迎使用Kivo播放器！本地演示服务器已经为您准备好新歌。");
    m_notice.announcement = QStringLiteral("http://{host}/notice.htm");
    m_notice.link = QStringLiteral("http://{host}/softhelp.asp|||点此查看使用帮助");
    m_notice.date = QStringLiteral("{today}");
    m_notice.queueLimit = QStringLiteral("30");
    m_notice.dailyLimit = QStringLiteral("200");
    m_notice.version = QStringLiteral(KIVO_VERSION);
}

void DemoState::updateServedWhole()
{
    std::lock_guard lock(m_mutex);
    m_notice.version = QStringLiteral(KIVO_VERSION);
}

void DemoState::setUpdateFile(const QString &path)
{
    std::lock_guard lock(m_mutex);
    m_updateFile = path;
}

QString DemoState::updateFile() const
{
    std::lock_guard lock(m_mutex);
    return m_updateFile;
}

void DemoState::setUpdateRate(int bytesPerSecond)
{
    std::lock_guard lock(m_mutex);
    m_updateRate = std::max(0, bytesPerSecond);
}

int DemoState::updateRate() const
{
    std::lock_guard lock(m_mutex);
    return m_updateRate;
}

} // namespace kivo::demo
