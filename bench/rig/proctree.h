#pragma once

// What a process tree costs, read from /proc: the CPU time of the process and all
// its descendants, and their summed proportional set size.

#include <QString>

#include <sys/types.h>
#include <vector>

namespace benchrig {

// The process and every descendant alive now.
std::vector<pid_t> processTree(pid_t root);

// CPU seconds of each thread of the tree's processes, as the scheduler counts
// them. Compared thread by thread, a thread that ends between two readings drops
// out instead of taking its earlier seconds off the sum.
struct TreeCpu
{
    struct Thread
    {
        pid_t pid;
        pid_t tid;
        double seconds;
    };
    std::vector<Thread> threads;
    std::vector<pid_t> processes() const;
    TreeCpu of(pid_t pid) const; // one process's threads
};
TreeCpu treeCpu(pid_t root);
// CPU seconds the tree spent between two readings (a thread born in between counts whole).
double cpuBetween(const TreeCpu &before, const TreeCpu &after);

struct TreePss
{
    double megabytes = 0;
    int processes = 0;
    QString parts; // "kivoplay 150.2, renderer 60.1, …"
};
TreePss treePss(pid_t root);

} // namespace benchrig
