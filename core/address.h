#pragma once

#include <QString>

namespace kivo {

// What an address handed to the player is.
enum class AddressKind {
    Network, // an http, https, mms or rtsp address with a host: the engine may stream it
    OtherScheme, // any other "scheme://" text (ftp://, or a network scheme without a host)
    LocalPath, // everything else: a file path
};

// The one rule for "is this a network address?". Song rows, the queue, the library
// columns (url for paths, url1 for the rest) and the source resolver all ask it.
AddressKind classify(const QString &address);

// Anything that names a scheme: stored and listed as a network file, never looked up on disk.
inline bool hasScheme(const QString &address)
{
    return classify(address) != AddressKind::LocalPath;
}

} // namespace kivo
