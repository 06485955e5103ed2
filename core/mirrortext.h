#pragma once

#include <QString>

namespace kivo {

// The character mirroring that disguises server payloads and stored song
// addresses. Each of the ranges '0'..'<', 'A'..'[' and ']'..'{' is mirrored onto
// itself; every other character is kept. Applying it twice gives the input back.
QString MirrorText(const QString &text);

// The same in place, for large payloads.
void mirrorInPlace(QString &text);

} // namespace kivo
