// Start-up benchmark: launch → main window mapped on the X display, and launch →
// its first frame drawn, for the player, a bare Qt Widgets window (the floor: the
// least any Qt program of the player's size costs) and a reference player, taken in
// turns so that a busy machine weighs on all of them alike. Medians of several runs
// with their spread, the ratios, and the idle RSS of each process tree. Needs
// DISPLAY (bench/run.sh starts Xvfb). KIVO_STARTUP_BASELINE names another build's
// kivoplay to measure in the same turns.
//   startup kivoplay_map_ms: …   startup floor_map_ms: …   startup ratio_to_floor: …
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <dlfcn.h>
#include <optional>
#include <set>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Xlib defines names (Bool, Status, CursorShape) that clash with Qt: include it last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// The damage extension tells when a window is drawn into. Its library is loaded at
// run time (no development headers needed); without it the first-frame figures are
// left out.
struct DamageExtension
{
    using QueryFn = int (*)(Display *, int *, int *);
    using CreateFn = unsigned long (*)(Display *, Drawable, int);
    static constexpr int kReportRawRectangles = 0; // every drawing, not only the first
    CreateFn create = nullptr;
    int eventBase = -1;

    explicit DamageExtension(Display *dpy)
    {
        void *lib = dlopen("libXdamage.so.1", RTLD_NOW);
        if (!lib)
            return;
        auto query = reinterpret_cast<QueryFn>(dlsym(lib, "XDamageQueryExtension"));
        create = reinterpret_cast<CreateFn>(dlsym(lib, "XDamageCreate"));
        int errorBase = 0;
        if (!query || !create || !query(dpy, &eventBase, &errorBase))
            eventBase = -1;
    }
    bool available() const { return eventBase >= 0; }
    bool isDamage(const XEvent &ev) const { return available() && ev.type == eventBase; }
};

struct DamageEventHeader // the first fields of XDamageNotifyEvent
{
    int type;
    unsigned long serial;
    int send_event;
    Display *display;
    Drawable drawable;
};

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

int windowDepth(Display *dpy, Window w)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(dpy, w, &attributes) ? attributes.depth : 0;
}

int ignoreXErrors(Display *, XErrorEvent *)
{
    return 0; // a window gone before it was looked at
}

struct Launch
{
    std::optional<double> mapMs;
    std::optional<double> frameMs; // the mapped window first drawn into by the program
    pid_t child = 0;
};

// Launches the program and waits until one of its top-level windows is mapped and
// then drawn into.
Launch launch(Display *dpy, const DamageExtension &damage, const QString &program, const QStringList &args,
    const QString &workDir)
{
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, True);
    QElapsedTimer clock;
    clock.start();
    Launch run;
    run.child = fork();
    if (run.child == 0) {
        if (chdir(workDir.toLocal8Bit().constData()) != 0)
            _exit(127);
        // The reference player is chatty on stderr; keep the figures readable.
        if (FILE *devnull = std::fopen("/dev/null", "w")) {
            dup2(fileno(devnull), STDOUT_FILENO);
            dup2(fileno(devnull), STDERR_FILENO);
        }
        std::vector<QByteArray> argv8 {program.toLocal8Bit()};
        for (const QString &a : args)
            argv8.push_back(a.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &a : argv8)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv.front(), argv.data());
        _exit(127);
    }
    Window mapped = 0;
    int serverClears = 0; // damage the server itself makes at the map, not the program
    std::set<Window> watched;
    while (clock.elapsed() < 20000) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == CreateNotify && damage.available()) {
                // Watched from its creation, so no drawing slips by before the map.
                damage.create(dpy, ev.xcreatewindow.window, DamageExtension::kReportRawRectangles);
                watched.insert(ev.xcreatewindow.window);
            } else if (ev.type == MapNotify && !mapped) {
                const pid_t owner = windowPid(dpy, ev.xmap.window);
                if (owner == run.child || owner == 0) {
                    run.mapMs = clock.nsecsElapsed() / 1e6;
                    mapped = ev.xmap.window;
                    if (!watched.count(mapped))
                        return run;
                    // A window with an alpha channel has a background the server
                    // clears it to when it maps: that is not a frame of the program.
                    serverClears = windowDepth(dpy, mapped) == 32 ? 1 : 0;
                }
            } else if (damage.isDamage(ev) && mapped
                && reinterpret_cast<const DamageEventHeader &>(ev).drawable == mapped) {
                if (serverClears > 0) {
                    --serverClears;
                    continue;
                }
                run.frameMs = clock.nsecsElapsed() / 1e6;
                return run;
            }
        }
        usleep(200);
    }
    return run;
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

void stop(pid_t child)
{
    if (child <= 0)
        return;
    kill(child, SIGTERM);
    usleep(200 * 1000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

struct Subject
{
    const char *name;
    QString program;
    QStringList args;
    QString workDir;
    std::vector<double> mapMs, frameMs;
    long rssKb = -1;
};

struct Spread
{
    double median = -1, min = -1, max = -1;
};

Spread spread(std::vector<double> v)
{
    Spread s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.median = v[v.size() / 2];
    s.min = v.front();
    s.max = v.back();
    return s;
}

void runOnce(Display *dpy, const DamageExtension &damage, Subject &subject, bool last)
{
    const Launch run = launch(dpy, damage, subject.program, subject.args, subject.workDir);
    if (run.mapMs)
        subject.mapMs.push_back(*run.mapMs);
    if (run.frameMs)
        subject.frameMs.push_back(*run.frameMs);
    if (last && run.child > 0) {
        usleep(3000 * 1000); // idle
        subject.rssKb = treeRssKb(run.child);
    }
    stop(run.child);
    usleep(300 * 1000);
}

void print(const Subject &s)
{
    const Spread map = spread(s.mapMs);
    std::printf("startup %s_map_ms: %.1f (min %.1f, max %.1f, %zu runs)\n", s.name, map.median, map.min, map.max,
        s.mapMs.size());
    if (!s.frameMs.empty()) {
        const Spread frame = spread(s.frameMs);
        std::printf(
            "startup %s_first_frame_ms: %.1f (min %.1f, max %.1f)\n", s.name, frame.median, frame.min, frame.max);
    }
    if (s.rssKb >= 0)
        std::printf("startup %s_idle_rss_mb: %.1f\n", s.name, s.rssKb / 1024.0);
}

void printRatio(const char *name, const Subject &player, const Subject &other, const char *goal)
{
    const double p = spread(player.mapMs).median, o = spread(other.mapMs).median;
    if (p > 0 && o > 0)
        std::printf("startup ratio_to_%s: %.2f%s\n", name, p / o, goal);
    const double pf = spread(player.frameMs).median, of = spread(other.frameMs).median;
    if (pf > 0 && of > 0)
        std::printf("startup first_frame_ratio_to_%s: %.2f\n", name, pf / of);
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
    XSetErrorHandler(ignoreXErrors);
    const DamageExtension damage(dpy);
    if (!damage.available())
        std::printf("startup note: no damage extension, first-frame figures left out\n");
    // More turns steady the medians on a noisy machine (KIVO_STARTUP_RUNS).
    const int asked = qEnvironmentVariableIntValue("KIVO_STARTUP_RUNS");
    const int runs = asked > 0 ? asked : 7;
    const QString build = QStringLiteral(KIVO_BUILD_DIR);
    std::vector<Subject> subjects {
        {"kivoplay", build + u"/bin/kivoplay"_qs, {}, build + u"/bin"_qs},
        {"floor", build + u"/bench/startupfloor"_qs, {}, QDir::tempPath()},
        // The floor again with a Chinese label: what the fonts for the player's texts add.
        {"floor_chinese", build + u"/bench/startupfloor"_qs, {u"Kivo音乐播放器"_qs}, QDir::tempPath()},
    };
    // Another build of the player (say, before a change), measured in the same turns.
    const QString baseline = qEnvironmentVariable("KIVO_STARTUP_BASELINE");
    if (!baseline.isEmpty())
        subjects.push_back({"baseline", baseline, {}, QFileInfo(baseline).absolutePath()});
    const QString reference = QStandardPaths::findExecutable(u"qmmp"_qs);
    if (reference.isEmpty())
        std::printf("startup reference: qmmp not installed\n");
    else
        subjects.push_back({"qmmp", reference, {}, QDir::tempPath()});

    for (int i = 0; i < runs; ++i) {
        for (Subject &s : subjects)
            runOnce(dpy, damage, s, i == runs - 1);
    }
    for (const Subject &s : subjects)
        print(s);
    printRatio("floor", subjects[0], subjects[1], " (goal <= 1.25)");
    for (const Subject &s : subjects) {
        if (std::string_view(s.name) == "qmmp")
            printRatio("qmmp", subjects[0], s, " (goal <= 0.80)");
        if (std::string_view(s.name) == "baseline") {
            const Subject &floor = subjects[1];
            std::printf("startup baseline_ratio_to_floor: %.2f\n", spread(s.mapMs).median / spread(floor.mapMs).median);
            if (!s.frameMs.empty() && !floor.frameMs.empty())
                std::printf("startup baseline_first_frame_ratio_to_floor: %.2f\n",
                    spread(s.frameMs).median / spread(floor.frameMs).median);
        }
    }
    XCloseDisplay(dpy);
    return 0;
}
