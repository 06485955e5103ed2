#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <mutex>

namespace kivo::demo {

// What a test can switch on for one path.
enum class FaultKind {
    None,
    Hang,
    Drip,
    Error500,
    Reset,
    Truncate,
    Garbage,
    Huge,
    Stall, // half the body, then silence until the client leaves
    Noise, // random bytes instead of an HTTP response (no status, no Content-Length)
    Page, // a web page with status 200 in place of the body
};

FaultKind faultKindFromName(const QString &name, bool *ok);

// The start-up page's fields as the server currently sends them.
struct NoticeFields
{
    QString noticeLine, announcement, link, queueLimit, dailyLimit, date, version;
    int fieldCount = 7; // how many of them the page carries
};

// Everything tests can read or change while the server runs; shared by the
// handler threads.
class DemoState
{
public:
    DemoState();

    void logRequest(const QString &line);
    QStringList requestLog() const;
    void clearLog();

    void setFault(const QString &path, FaultKind kind);
    FaultKind faultFor(const QString &path) const;
    void clearFaults();

    // Field names: notice, announcement, link, queue, daily, date, version, count.
    bool setNoticeField(const QString &name, const QString &value);
    NoticeFields notice() const;
    void resetNotice();

    // The whole update file went out: the start-up page announces the player's own
    // version again, so the updated player does not update once more.
    void updateServedWhole();

    // What "kxrjzf.asp" received, one decoded query per dedication, keys in order.
    using QueryFields = QList<QPair<QString, QString>>;
    void recordDedication(const QueryFields &fields);
    QList<QueryFields> dedications() const;
    void clearDedications();

    void setUpdateFile(const QString &path);
    QString updateFile() const;
    // Bytes per second for the update file; 0: as fast as the connection goes.
    void setUpdateRate(int bytesPerSecond);
    int updateRate() const;

private:
    mutable std::mutex m_mutex;
    QStringList m_log;
    QMap<QString, FaultKind> m_faults;
    NoticeFields m_notice;
    QList<QueryFields> m_dedications;
    QString m_updateFile;
    int m_updateRate = 0;
};

// Paths are compared without leading slashes or backslashes, in lower case.
QString normalisedPath(const QString &path);

} // namespace kivo::demo
