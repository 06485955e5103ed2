// Start-up benchmark: launch → main window mapped on the X display, median of
// several runs, side by side with a reference player, plus the idle RSS of each
// process tree. Needs DISPLAY (bench/run.sh starts Xvfb).
//   startup kivoplay_median_ms: …   startup reference_median_ms: …   startup ratio: …
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Xlib defines names (Bool, Status, CursorShape) that clash with Qt: include it last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

pid_t windowPid(Display *dpy, Window w)
{
    static const Atom pidAtom = XInternAtom(dpy, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    pid_t pid = 0;
    if (XGetWindowProperty(dpy, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) == Success
        && data && count == 1)
        pid = pid_t(*reinterpret_cast<unsigned long *>(data));
    if (data)
        XFree(data);
    return pid;
}

// Launches the program and waits until one of its top-level windows is mapped.
std::optional<double> timeToMap(Display *dpy, const QString &program, const QString &workDir, pid_t &child)
{
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, True);
    QElapsedTimer clock;
    clock.start();
    child = fork();
    if (child == 0) {
        if (chdir(workDir.toLocal8Bit().constData()) != 0)
            _exit(127);
        // The reference player is chatty on stderr; keep the figures readable.
        if (FILE *devnull = std::fopen("/dev/null", "w")) {
            dup2(fileno(devnull), STDOUT_FILENO);
            dup2(fileno(devnull), STDERR_FILENO);
        }
        const QByteArray p = program.toLocal8Bit();
        execl(p.constData(), p.constData(), static_cast<char *>(nullptr));
        _exit(127);
    }
    while (clock.elapsed() < 20000) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify) {
                const double ms = clock.nsecsElapsed() / 1e6;
                const pid_t owner = windowPid(dpy, ev.xmap.window);
                if (owner == child || owner == 0)
                    return ms;
            }
        }
        usleep(500);
    }
    return std::nullopt;
}

long treeRssKb(pid_t root)
{
    long total = 0;
    std::vector<pid_t> frontier {root};
    const QStringList procs = QDir(u"/proc"_qs).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    while (!frontier.empty()) {
        const pid_t pid = frontier.back();
        frontier.pop_back();
        QFile status(u"/proc/%1/status"_qs.arg(pid));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : status.readAll().split('\n')) {
                if (line.startsWith("VmRSS:"))
                    total += line.mid(6).trimmed().split(' ').first().toLong();
            }
        }
        for (const QString &p : procs) {
            QFile stat(u"/proc/"_qs + p + u"/stat"_qs);
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray s = stat.readAll();
            const QList<QByteArray> f = s.mid(s.lastIndexOf(')') + 2).split(' ');
            if (f.size() > 1 && f.at(1).toInt() == pid)
                frontier.push_back(p.toInt());
        }
    }
    return total;
}

struct Result
{
    double medianMs = -1;
    long rssKb = -1;
};

Result measure(Display *dpy, const QString &program, const QString &workDir, int runs)
{
    std::vector<double> times;
    long rss = -1;
    for (int i = 0; i < runs; ++i) {
        pid_t child = 0;
        const auto ms = timeToMap(dpy, program, workDir, child);
        if (ms)
            times.push_back(*ms);
        if (i == runs - 1 && child > 0) {
            usleep(3000 * 1000); // idle
            rss = treeRssKb(child);
        }
        if (child > 0) {
            kill(child, SIGTERM);
            usleep(200 * 1000);
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        usleep(300 * 1000);
    }
    Result r;
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        r.medianMs = times[times.size() / 2];
    }
    r.rssKb = rss;
    return r;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::printf("startup error: no X display (run under bench/run.sh)\n");
        return 1;
    }
    const int runs = 7;
    const QString bin = QStringLiteral(KIVO_BUILD_DIR) + u"/bin"_qs;
    const Result kivo = measure(dpy, bin + u"/kivoplay"_qs, bin, runs);
    std::printf("startup kivoplay_median_ms: %.1f\n", kivo.medianMs);
    std::printf("startup kivoplay_idle_rss_mb: %.1f\n", kivo.rssKb / 1024.0);

    const QString reference = QStandardPaths::findExecutable(u"qmmp"_qs);
    if (reference.isEmpty()) {
        std::printf("startup reference: qmmp not installed\n");
        return 0;
    }
    const Result ref = measure(dpy, reference, QDir::tempPath(), runs);
    std::printf("startup qmmp_median_ms: %.1f\n", ref.medianMs);
    std::printf("startup qmmp_idle_rss_mb: %.1f\n", ref.rssKb / 1024.0);
    if (ref.medianMs > 0 && kivo.medianMs > 0)
        std::printf("startup ratio_to_qmmp: %.2f (goal <= 0.80)\n", kivo.medianMs / ref.medianMs);
    XCloseDisplay(dpy);
    return 0;
}
