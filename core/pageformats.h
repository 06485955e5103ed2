#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivo {

// Separators shared by server payloads, row tags and stored settings.
inline const QString kFieldSep = QStringLiteral("\u32A3"); // ㊣
inline const QString kRecordSep = QStringLiteral("\u32A3\u32A3"); // ㊣㊣
inline const QString kTagSep = QStringLiteral("|||");
inline const QString kLineBreak = QStringLiteral("<br>");
inline const QString kHiddenBodyMarker = QStringLiteral("<body style=\"display:none;\">");
inline const QString kBodyEnd = QStringLiteral("</body>");

// Free text (a title, search words) made fit to stand as one field of a "|||" text:
// each "|" in it becomes its full-width look-alike "｜", so a title can never add
// fields or change what the others mean (nor join a separator next to it). Used
// wherever such a text is built.
QString asTagField(const QString &freeText);

// Splits text into fields. An empty text has no fields at all (not one empty
// field), so a reader that needs at least N fields finds none in it.
QStringList splitFields(const QString &text, const QString &sep);

// A data page: the hidden-body marker, the mirrored payload, then "</body>".
namespace HiddenDataPage {
// The payload of a page: markers deleted, text up to the first "</body>",
// unmirrored. Empty when the page holds no "</body>". CR and LF are kept.
QString payloadOf(const QString &pageText);
// The page the server sends for a payload.
QString wrap(const QString &payload);
} // namespace HiddenDataPage

// List payloads: records ended by "㊣㊣", fields separated by "㊣". CR and LF are
// removed first; the text after the last record separator is not a record.
QList<QStringList> splitListPayload(QString payload);
// Writes empty fields as one blank, so that no record is cut short.
QString joinListPayload(const QList<QStringList> &records);

// What one list record is, by its first two fields.
enum class ListRecordKind { Invalid, Song, Summary, Category, TreePaging };
ListRecordKind classifyListRecord(const QStringList &fields);

// Builders the demo server and tests use to produce well-formed records.
namespace ListRecords {
QStringList song(int kind, const QString &title, const QString &added, int popularity, const QString &id,
    const QString &url, const QString &url1, const QString &url2);
QStringList summary(int total, int pageCount, int currentPage);
QStringList category(int kind, const QString &caption, int entryCount, const QString &id, const QString &pagePath);
QStringList treePaging(int pageCount, int currentPage);
} // namespace ListRecords

// The start-up page "dl.asp": notice, announcement page, link, limits, date, version.
struct Notice
{
    QString noticeLine; // field 0
    QString announcementUrl; // field 1, trimmed; empty when blank
    QString linkTarget, linkCaption; // field 2 "target|||caption", when it has two parts
    std::optional<qint16> maxQueuedDownloads; // field 3 when numeric
    std::optional<qint16> dailyDownloadLimit; // field 4 when numeric
    std::optional<QDateTime> serverDate; // field 5 when it is a date
    std::optional<QString> publishedVersion; // field 6 when present
};

// Parses a notice payload (already unmirrored). Empty when "DLXX㊣" or "㊣END㊣"
// is missing or fewer than three fields remain.
std::optional<Notice> parseNoticePayload(const QString &payload);
// The payload text for a set of raw fields (for the demo server and tests).
QString buildNoticePayload(const QStringList &fields);

// Numbers and dates the way the server writes them; nullopt when the text is not one.
std::optional<qint16> parseInt16(const QString &text);
std::optional<QDateTime> parseServerDate(const QString &text);

} // namespace kivo
