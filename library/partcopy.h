#pragma once

#include <QFileDevice>
#include <QString>

namespace kivo {

// Copies a file to `to` through "<to>.part", renamed once the copy is whole, so that a
// copy cut off half-way never stands under the final name. The permissions, when
// given, are the copy's before it takes that name. Empty when done, else the reason.
QString copyThroughPart(const QString &from, const QString &to, QFileDevice::Permissions permissions = {});

} // namespace kivo
