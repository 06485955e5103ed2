#include "rig/proctree.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace benchrig {

namespace {

// Fields after the command name of /proc/<pid>/stat (state is field 0 here).
QList<QByteArray> statFields(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray s = stat.readAll();
    return s.mid(s.lastIndexOf(')') + 2).split(' ');
}

} // namespace

std::vector<pid_t> processTree(pid_t root)
{
    std::vector<std::pair<pid_t, pid_t>> parents; // pid, parent
    for (const QString &name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const pid_t pid = name.toInt(&number);
        if (!number)
            continue;
        const QList<QByteArray> f = statFields(pid);
        if (f.size() > 1)
            parents.emplace_back(pid, f.at(1).toInt());
    }
    std::vector<pid_t> tree {root};
    for (size_t i = 0; i < tree.size(); ++i) {
        for (const auto &[pid, parent] : parents) {
            if (parent == tree[i])
                tree.push_back(pid);
        }
    }
    return tree;
}

std::vector<pid_t> TreeCpu::processes() const
{
    std::vector<pid_t> out;
    for (const Thread &t : threads) {
        if (out.empty() || out.back() != t.pid)
            out.push_back(t.pid);
    }
    return out;
}

TreeCpu TreeCpu::of(pid_t pid) const
{
    TreeCpu one;
    for (const Thread &t : threads) {
        if (t.pid == pid)
            one.threads.push_back(t);
    }
    return one;
}

namespace {

// Each thread's run time as the scheduler counts it, in nanoseconds
// (/proc/<pid>/task/<tid>/schedstat). utime and stime are sampled at the clock
// tick, too coarse for a player that wakes ten times a second for well under a
// tick; they are the fallback, for the whole process, where schedstat is missing.
void addThreads(pid_t pid, TreeCpu &out)
{
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    bool counted = false;
    for (const QString &tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks + u'/' + tid + QStringLiteral("/schedstat"));
        if (!schedstat.open(QIODevice::ReadOnly))
            continue;
        out.threads.push_back({pid, pid_t(tid.toInt()), schedstat.readAll().split(' ').value(0).toDouble() / 1e9});
        counted = true;
    }
    if (counted)
        return;
    static const double ticks = double(sysconf(_SC_CLK_TCK));
    const QList<QByteArray> f = statFields(pid);
    // utime and stime are fields 14 and 15 of the whole line: 11 and 12 here.
    if (f.size() > 12)
        out.threads.push_back({pid, -pid, (f.at(11).toDouble() + f.at(12).toDouble()) / ticks});
}

} // namespace

TreeCpu treeCpu(pid_t root)
{
    TreeCpu out;
    for (pid_t pid : processTree(root))
        addThreads(pid, out);
    return out;
}

double cpuBetween(const TreeCpu &before, const TreeCpu &after)
{
    double sum = 0;
    for (const TreeCpu::Thread &t : after.threads) {
        double earlier = 0;
        for (const TreeCpu::Thread &b : before.threads) {
            if (b.tid == t.tid)
                earlier = b.seconds;
        }
        sum += t.seconds - earlier;
    }
    return sum;
}

TreePss treePss(pid_t root)
{
    TreePss out;
    for (pid_t pid : processTree(root)) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : rollup.readAll().split('\n')) {
            if (line.startsWith("Pss:")) {
                const double mb = line.mid(4).trimmed().split(' ').first().toDouble() / 1024.0;
                out.megabytes += mb;
                ++out.processes;
                // A web engine helper is named by its --type.
                QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
                QString name = QStringLiteral("?");
                if (cmdline.open(QIODevice::ReadOnly)) {
                    // The engine's helpers rewrite their command line as one text.
                    const QByteArray text = cmdline.readAll().replace('\0', ' ');
                    name = QString::fromLocal8Bit(text.split(' ').first().split('/').last());
                    const qsizetype type = text.indexOf("--type=");
                    if (type >= 0)
                        name = QString::fromLatin1(text.mid(type + 7).split(' ').first());
                }
                if (!out.parts.isEmpty())
                    out.parts += QStringLiteral(", ");
                out.parts += QStringLiteral("%1 %2").arg(name).arg(mb, 0, 'f', 1);
            }
        }
    }
    return out;
}

} // namespace benchrig
