#pragma once

#include "demo/demostate.h"

#include <httplib.h>

#include <atomic>
#include <string>

namespace kivo::demo {

// Ends the request's connection without a response (the client sees the
// connection closed, then reset).
void resetConnection(const httplib::Request &req);

// Writes random bytes on the request's connection, with no status line or headers,
// and ends it: an answer that is not HTTP.
void sendNoise(const httplib::Request &req);

// Waits until the client has gone, the server stops, or a long bound passes.
void hangUntilClientLeaves(const httplib::Request &req, const std::atomic<bool> &stopping);

// Sends body in place of a normal response, spoiled the way kind says
// (drip, truncate, garbage, huge, stall, page). Hang, reset, noise and 500 are
// handled before a page is made.
void applyBodyFault(FaultKind kind, const std::string &body, const std::string &contentType,
    const httplib::Request &req, httplib::Response &res, const std::atomic<bool> &stopping);

// Serves bytes [0, size) read by `read`, at most bytesPerSecond when that is
// above 0. With announceLength: Content-Length and Range support; without: no
// length, the end of the body is the end of the connection. `sent`, when given,
// learns at the end whether the whole answer went out.
using ByteReader = std::function<bool(size_t offset, size_t length, std::string &out)>;
void serveBytes(size_t size, const std::string &contentType, ByteReader read, int bytesPerSecond,
    httplib::Response &res, const std::atomic<bool> &stopping, bool announceLength = true,
    std::function<void(bool success)> sent = {});

} // namespace kivo::demo
