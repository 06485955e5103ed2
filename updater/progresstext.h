#pragma once

#include <QString>

#include <optional>

namespace kivo {

// A byte count with thousands separators, as the format "###,###" prints it:
// 2048000 → "2,048,000", and nothing at all for 0.
QString formatThousands(qint64 bytes);

// Label1 during the transfer: "1,024字节/2,048,000字节".
QString progressText(qint64 received, qint64 fileSize);

// ProgressBar1: the whole percent received, 0..100; none when the size is unknown (0).
std::optional<int> progressPercent(qint64 received, qint64 fileSize);

} // namespace kivo
