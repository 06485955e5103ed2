#include "transfer/transferresult.h"

namespace kivo {

QString outcomeName(TransferOutcome outcome)
{
    switch (outcome) {
    case TransferOutcome::Complete:
        return QStringLiteral("complete");
    case TransferOutcome::Cancelled:
        return QStringLiteral("cancelled");
    case TransferOutcome::NetworkError:
        return QStringLiteral("network error");
    case TransferOutcome::HttpError:
        return QStringLiteral("HTTP error");
    case TransferOutcome::LengthMismatch:
        return QStringLiteral("length mismatch");
    case TransferOutcome::FileError:
        return QStringLiteral("file error");
    }
    return QString();
}

QString describe(const TransferResult &result)
{
    QString line = outcomeName(result.outcome);
    if (result.httpStatus)
        line += QStringLiteral(", status %1").arg(result.httpStatus);
    line += QStringLiteral(", %1 of %2 bytes")
                .arg(result.received)
                .arg(result.expected < 0 ? QStringLiteral("unknown") : QString::number(result.expected));
    if (!result.detail.isEmpty())
        line += QStringLiteral(": ") + result.detail;
    return line;
}

} // namespace kivo
