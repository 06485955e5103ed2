#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

namespace kivo {

// The response headers as one text: "Name: value" lines, each ended by a NUL
// character, in the order and spelling the server sent. Bytes are kept one to one
// (Latin-1).
QString rawHeaderBlock(const QList<std::pair<QByteArray, QByteArray>> &headers);

// GetHeader's answer from a header block. The name is upper-cased and must be one
// of CONTENT-LENGTH, CONTENT-TYPE, DATE, LAST-MODIFIED, SERVER; its header is then
// looked up spelled exactly as "Content-Length", "Content-Type", "Date",
// "Last-Modified", "Server" at the start of a line (a server writing
// "content-length" is not matched). The value runs to the line's end.
// "0" for an empty block, an unknown name or a header the response lacks; an empty
// name gives the whole block.
QString headerFromBlock(const QString &block, const QString &name);

} // namespace kivo
