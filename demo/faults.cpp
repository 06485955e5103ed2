#include "demo/faults.h"

#include "demo/demosite.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

namespace kivo::demo {

namespace {

using namespace std::chrono_literals;

// The socket of a request: the one whose ports are the request's.
int socketOf(const httplib::Request &req)
{
    DIR *dir = opendir("/proc/self/fd");
    if (!dir)
        return -1;
    int found = -1;
    while (dirent *entry = readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (fd <= 2)
            continue;
        sockaddr_in local {}, peer {};
        socklen_t localLen = sizeof local, peerLen = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr *>(&local), &localLen) != 0 || local.sin_family != AF_INET)
            continue;
        if (getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &peerLen) != 0)
            continue;
        if (ntohs(local.sin_port) == req.local_port && ntohs(peer.sin_port) == req.remote_port) {
            found = fd;
            break;
        }
    }
    closedir(dir);
    return found;
}

bool clientGone(int fd)
{
    if (fd < 0)
        return false;
    pollfd p {fd, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0)
        return false;
    if (p.revents & (POLLHUP | POLLERR))
        return true;
    char c;
    return recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

// Sleeps in short steps so that a stopping server is never held up.
bool pause(std::chrono::milliseconds total, const std::atomic<bool> &stopping)
{
    for (auto waited = 0ms; waited < total; waited += 20ms) {
        if (stopping)
            return false;
        std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(20ms, total - waited));
    }
    return !stopping;
}

} // namespace

void resetConnection(const httplib::Request &req)
{
    const int fd = socketOf(req);
    if (fd < 0)
        return;
    linger l {1, 0}; // closing then sends a reset instead of an orderly end
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    shutdown(fd, SHUT_RDWR);
}

void sendNoise(const httplib::Request &req)
{
    const int fd = socketOf(req);
    if (fd < 0)
        return;
    std::string junk(4096, '\0');
    unsigned state = 54321u;
    for (char &c : junk) {
        state = state * 1103515245u + 12345u;
        c = char((state >> 16) & 0xff);
    }
    ::send(fd, junk.data(), junk.size(), MSG_NOSIGNAL);
    shutdown(fd, SHUT_RDWR);
}

void hangUntilClientLeaves(const httplib::Request &req, const std::atomic<bool> &stopping)
{
    const int fd = socketOf(req);
    const auto until = std::chrono::steady_clock::now() + 10min;
    while (!stopping && !clientGone(fd) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(20ms);
    resetConnection(req);
}

void serveBytes(size_t size, const std::string &contentType, ByteReader read, int bytesPerSecond,
    httplib::Response &res, const std::atomic<bool> &stopping, bool announceLength, std::function<void(bool)> sent)
{
    // Small steps when dripping, so the rate holds.
    const size_t step = bytesPerSecond > 0 ? std::max<size_t>(1, size_t(bytesPerSecond) / 10) : size_t(64 * 1024);
    auto send = [read = std::move(read), bytesPerSecond, step, &stopping](
                    size_t offset, size_t length, httplib::DataSink &sink) {
        std::string chunk;
        if (!read(offset, std::min(step, length), chunk) || chunk.empty())
            return false;
        if (!sink.write(chunk.data(), chunk.size()))
            return false;
        return bytesPerSecond <= 0 || pause(100ms, stopping);
    };
    if (!announceLength) {
        res.set_content_provider(
            contentType,
            [size, send](size_t offset, httplib::DataSink &sink) {
                if (offset >= size) {
                    sink.done();
                    return true;
                }
                return send(offset, size - offset, sink);
            },
            sent);
        return;
    }
    res.set_header("Accept-Ranges", "bytes");
    res.set_content_provider(size, contentType, send, sent);
}

void applyBodyFault(FaultKind kind, const std::string &body, const std::string &contentType,
    const httplib::Request &req, httplib::Response &res, const std::atomic<bool> &stopping)
{
    auto shared = std::make_shared<std::string>(body);
    switch (kind) {
    case FaultKind::Drip: // about 64 bytes every 100 ms
        serveBytes(
            shared->size(), contentType,
            [shared](size_t offset, size_t length, std::string &out) {
                out = shared->substr(offset, length);
                return true;
            },
            640, res, stopping);
        return;
    case FaultKind::Truncate: // announces the whole body, sends half of it, then closes
        res.set_content_provider(shared->size(), contentType, [shared](size_t offset, size_t, httplib::DataSink &sink) {
            const size_t half = shared->size() / 2;
            if (offset >= half)
                return false;
            sink.write(shared->data() + offset, half - offset);
            return true;
        });
        return;
    case FaultKind::Stall: { // half the body, then nothing until the client gives up
        const int fd = socketOf(req);
        res.set_content_provider(
            shared->size(), contentType, [shared, fd, &stopping](size_t offset, size_t, httplib::DataSink &sink) {
                const size_t half = shared->size() / 2;
                if (offset < half)
                    return sink.write(shared->data() + offset, half - offset);
                const auto until = std::chrono::steady_clock::now() + 10min;
                while (!stopping && !clientGone(fd) && std::chrono::steady_clock::now() < until)
                    std::this_thread::sleep_for(20ms);
                return false;
            });
        return;
    }
    case FaultKind::Page: // what a busy server or a portal sends where a file should be
        res.set_content(htmlPage(QStringLiteral("服务器繁忙"), QStringLiteral("<p>请稍后再试。</p>")).toStdString(),
            "text/html; charset=utf-8");
        return;
    case FaultKind::Garbage: {
        std::string junk(4096, '\0');
        unsigned state = 12345u;
        for (char &c : junk) {
            state = state * 1103515245u + 12345u;
            c = char((state >> 16) & 0xff);
        }
        res.set_content(junk, contentType);
        return;
    }
    case FaultKind::Huge: { // the normal body again and again, 8 MiB and more
        std::string big;
        const std::string unit = body.empty() ? std::string("<p>demo</p>") : body;
        big.reserve(8u << 20);
        while (big.size() < (8u << 20))
            big += unit;
        res.set_content(big, contentType);
        return;
    }
    default:
        res.set_content(body, contentType);
        return;
    }
}

} // namespace kivo::demo
