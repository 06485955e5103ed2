#pragma once

#include <QMetaType>
#include <QString>

namespace kivo {

// How one transfer ended. Exactly one of these per transfer; the texts and truth
// values the callers show are derived from it.
enum class TransferOutcome {
    Complete, // 2xx, the body ended cleanly, as long as announced, now under its final name
    Cancelled, // Cancel was called (or a new transfer replaced this one)
    NetworkError, // no usable answer: refused, reset, stalled, not HTTP, bad redirect
    HttpError, // the server answered with a status other than 2xx
    LengthMismatch, // the body ended before (or after) the announced Content-Length
    FileError, // the file could not be written or put under its final name
};

struct TransferResult
{
    TransferOutcome outcome = TransferOutcome::Cancelled;
    int httpStatus = 0; // 0 when no status line arrived
    qint64 received = 0; // body bytes written
    qint64 expected = -1; // the announced Content-Length, -1 when none
    // The address could not be requested at all (empty, not http or https).
    bool unusableAddress = false;
    QString detail; // what went wrong, for the log

    bool isComplete() const { return outcome == TransferOutcome::Complete; }
};

// "complete", "cancelled", … for log lines.
QString outcomeName(TransferOutcome outcome);
// One line for the log: outcome, status, byte counts and detail.
QString describe(const TransferResult &result);

} // namespace kivo

Q_DECLARE_METATYPE(kivo::TransferResult)
