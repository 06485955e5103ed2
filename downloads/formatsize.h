#pragma once

#include <QString>

#include <optional>

namespace kivo {

// A byte count as the download page shows it, worked in single precision:
// 500 → "500.00字节", 1536 → "1.50KB", 5000000 → "4.76MB", 2147483647 → "2.00G".
QString FormatSize(qint64 bytes);

// The "百分比" column while a file arrives: the whole percent of size received,
// at most "99%" (only a complete file reads "100%", and that marks it done);
// nothing when the size is unknown.
std::optional<QString> progressPercent(qint64 received, qint64 size);

} // namespace kivo
