// kivodemo: the local content server (and update server) the player runs against.
// See demo/README.md for its pages and the control endpoints tests use.

#include "demo/democatalogue.h"
#include "demo/demosite.h"
#include "demo/demostate.h"
#include "demo/faults.h"
#include "demo/silentlistener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <httplib.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <thread>

using namespace kivo::demo;

namespace {

std::atomic<bool> g_stopping {false};

struct Options
{
    int port = KIVO_DEMO_PORT;
    QString mediaDir;
    QString updateFile;
    bool printPlan = false;
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    o.mediaDir = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteDir().filePath(QStringLiteral("../demo-media"));
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--port" && hasValue) {
            bool ok = false;
            o.port = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
            if (!ok || o.port < 0 || o.port > 65535)
                return std::nullopt;
        } else if (a == "--media" && hasValue) {
            o.mediaDir = QString::fromLocal8Bit(argv[++i]);
        } else if (a == "--bind" && hasValue) {
            if (std::string(argv[++i]) != "127.0.0.1") // never reachable from outside this machine
                return std::nullopt;
        } else if (a == "--update-file" && hasValue) {
            o.updateFile = QString::fromLocal8Bit(argv[++i]);
        } else if (a == "--media-plan") {
            o.printPlan = true;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

std::string contentTypeOf(const QString &path)
{
    if (path.endsWith(u".mp3"))
        return "audio/mpeg";
    if (path.endsWith(u".mp4"))
        return "video/mp4";
    return "application/octet-stream";
}

ByteReader fileReader(const QString &path)
{
    return [path](size_t offset, size_t length, std::string &out) {
        std::ifstream in(path.toStdString(), std::ios::binary);
        if (!in.seekg(std::streamoff(offset)))
            return false;
        out.resize(length);
        in.read(out.data(), std::streamsize(length));
        out.resize(size_t(in.gcount()));
        return true;
    };
}

// The player's new executable; a generated stand-in unless a file is named.
std::string updateBody(const QString &file)
{
    if (!file.isEmpty()) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly))
            return f.readAll().toStdString();
    }
    std::string body = "KIVO-DEMO-UPDATE 1.40\n";
    body.reserve(256 * 1024);
    for (unsigned i = 0; body.size() < 256 * 1024; ++i)
        body += char('A' + (i * 7) % 26);
    return body;
}

class DemoServer
{
public:
    DemoServer(const Options &options)
        : m_options(options)
        , m_site(m_catalogue, m_state)
    {
        m_state.setUpdateFile(options.updateFile);
        m_http.new_task_queue = [] { return new httplib::ThreadPool(48); };
        m_http.set_keep_alive_timeout(2);
        auto handler = [this](const httplib::Request &req, httplib::Response &res) { handle(req, res); };
        m_http.Get(".*", handler);
        m_http.Post(".*", handler);
    }

    int bind(int port)
    {
        m_site.setSilentPort(m_silent.open());
        if (port == 0)
            return m_http.bind_to_any_port("127.0.0.1");
        return m_http.bind_to_port("127.0.0.1", port) ? port : -1;
    }
    void run() { m_http.listen_after_bind(); }
    void stop()
    {
        g_stopping = true;
        m_http.stop();
        m_silent.close();
    }

private:
    void handle(const httplib::Request &req, httplib::Response &res);
    void control(const QString &what, const Query &q, httplib::Response &res);
    bool media(const QString &path, const Query &q, httplib::Response &res);

    Options m_options;
    DemoCatalogue m_catalogue;
    DemoState m_state;
    DemoSite m_site;
    SilentListener m_silent;
    httplib::Server m_http;
};

void DemoServer::handle(const httplib::Request &req, httplib::Response &res)
{
    const QByteArray target = QByteArray::fromStdString(req.target);
    const qsizetype mark = target.indexOf('?');
    const QString rawPath = QUrl::fromPercentEncoding(mark < 0 ? target : target.left(mark));
    const Query query = Query::parse(mark < 0 ? QByteArray() : target.mid(mark + 1));
    const QString path = normalisedPath(rawPath);
    const std::string html = "text/html; charset=utf-8";

    if (path.startsWith(u"__demo/")) {
        control(path.mid(7), query, res);
        return;
    }
    m_state.logRequest(QString::fromStdString(req.method) + u' ' + QString::fromUtf8(target));

    const FaultKind fault = m_state.faultFor(path);
    if (fault == FaultKind::Hang) {
        hangUntilClientLeaves(req, g_stopping);
        return;
    }
    if (fault == FaultKind::Reset) {
        resetConnection(req);
        return;
    }
    if (fault == FaultKind::Error500) {
        res.status = 500;
        res.set_content(QStringLiteral("<html><body>服务器内部错误</body></html>").toStdString(), html);
        return;
    }

    QString host = QString::fromStdString(req.get_header_value("Host"));
    if (host.isEmpty())
        host = QStringLiteral("127.0.0.1:%1").arg(req.local_port);

    if (fault == FaultKind::None && media(path, query, res))
        return;

    std::string body;
    std::string type = html;
    const QFileInfo mediaFile(QDir(m_options.mediaDir).filePath(path.mid(6)));
    if (path.startsWith(u"media/") && !path.contains(u"..") && mediaFile.isFile()) {
        // A fault on a media path spoils the file itself.
        QFile f(mediaFile.filePath());
        if (f.open(QIODevice::ReadOnly))
            body = f.readAll().toStdString();
        type = contentTypeOf(path);
    } else if (path == u"download/code/kivoplay.exe") {
        body = updateBody(m_state.updateFile());
        type = "application/octet-stream";
    } else if (const auto reply = m_site.page(path, query, host)) {
        res.status = reply->status;
        body = reply->body.toStdString();
        type = reply->contentType.toStdString();
    } else {
        res.status = 404;
        body = htmlPage(QStringLiteral("找不到页面"), QStringLiteral("<p>没有这个页面。</p>")).toStdString();
    }
    if (fault == FaultKind::None && type == "application/octet-stream") { // the update file, with ranges
        auto shared = std::make_shared<std::string>(std::move(body));
        serveBytes(
            shared->size(), type,
            [shared](size_t offset, size_t length, std::string &out) {
                out = shared->substr(offset, length);
                return true;
            },
            0, res, g_stopping);
        return;
    }
    applyBodyFault(fault, body, type, res, g_stopping);
}

// Media files: /media/<file>, /media/drip/<file> (slowly), /media/missing/...
// (404) and /media/notaudio/... (a web page where a song should be).
bool DemoServer::media(const QString &path, const Query &q, httplib::Response &res)
{
    if (!path.startsWith(u"media/"))
        return false;
    QString rest = path.mid(6);
    if (rest.startsWith(u"missing/") || rest.split(u'/').contains(QStringLiteral("..")))
        return false; // answered as an unknown page: 404
    if (rest.startsWith(u"notaudio/")) {
        res.set_content(htmlPage(QStringLiteral("不是歌曲"), QStringLiteral("<p>这里没有歌曲。</p>")).toStdString(),
            "text/html; charset=utf-8");
        return true;
    }
    int rate = 0;
    if (rest.startsWith(u"drip/")) {
        rest = rest.mid(5);
        rate = q.number(QStringLiteral("rate"), 2000);
    }
    const QString file = QDir(m_options.mediaDir).filePath(rest);
    const QFileInfo info(file);
    if (!info.isFile())
        return false;
    serveBytes(size_t(info.size()), contentTypeOf(file), fileReader(file), rate, res, g_stopping);
    return true;
}

void DemoServer::control(const QString &what, const Query &q, httplib::Response &res)
{
    const std::string text = "text/plain; charset=utf-8";
    auto answer = [&](int status, const QString &body) {
        res.status = status;
        res.set_content(body.toStdString(), text);
    };
    if (what == u"log") {
        const QStringList log = m_state.requestLog();
        answer(200, log.isEmpty() ? QString() : log.join(u'\n') + u'\n');
    } else if (what == u"log/clear") {
        m_state.clearLog();
        answer(200, QStringLiteral("ok\n"));
    } else if (what == u"fault") {
        bool ok = false;
        const FaultKind kind = faultKindFromName(q.value(QStringLiteral("kind")), &ok);
        if (!ok || q.value(QStringLiteral("path")).trimmed().isEmpty())
            return answer(
                400, QStringLiteral("usage: fault?path=P&kind=hang|drip|500|reset|truncate|garbage|huge|off\n"));
        m_state.setFault(q.value(QStringLiteral("path")), kind);
        answer(200, QStringLiteral("ok\n"));
    } else if (what == u"dl") {
        for (const auto &[name, value] : q.items) {
            if (name == u"reset")
                m_state.resetNotice();
            else if (!m_state.setNoticeField(name, value))
                return answer(400, QStringLiteral("unknown field: ") + name + u'\n');
        }
        answer(200, QStringLiteral("ok\n"));
    } else if (what == u"update") {
        m_state.setUpdateFile(q.value(QStringLiteral("file")));
        answer(200, QStringLiteral("ok\n"));
    } else if (what == u"reset") {
        m_state.clearFaults();
        m_state.clearLog();
        m_state.resetNotice();
        m_state.setUpdateFile(m_options.updateFile);
        answer(200, QStringLiteral("ok\n"));
    } else {
        answer(404, QStringLiteral("unknown control: ") + what + u'\n');
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // for file paths only; the server has no event loop
    const auto options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: kivodemo [--port N] [--media DIR] [--bind 127.0.0.1] [--update-file PATH] "
                     "[--media-plan]\n";
        return 2;
    }
    if (options->printPlan) {
        std::cout << DemoCatalogue().mediaPlan().toStdString() << std::flush;
        return 0;
    }

    // Stop signals are taken by one thread, which stops the server cleanly.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    DemoServer server(*options);
    const int port = server.bind(options->port);
    if (port <= 0) {
        std::cerr << "kivodemo: cannot listen on 127.0.0.1:" << options->port << "\n";
        return 1;
    }
    std::thread([&server, stopSignals] {
        int sig = 0;
        sigwait(&stopSignals, &sig);
        server.stop();
    }).detach();

    std::printf("kivodemo listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    server.run();
    return 0;
}
