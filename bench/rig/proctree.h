#pragma once

// What a process tree costs, read from /proc: the CPU time of the process and all
// its descendants, and their summed proportional set size.

#include <QString>

#include <sys/types.h>
#include <vector>

namespace benchrig {

// The process and every descendant alive now.
std::vector<pid_t> processTree(pid_t root);

// user + system CPU seconds of each process of the tree, by pid.
struct TreeCpu
{
    std::vector<std::pair<pid_t, double>> perProcess;
    double total() const;
};
TreeCpu treeCpu(pid_t root);
// CPU seconds the tree spent between two readings (a process born in between counts whole).
double cpuBetween(const TreeCpu &before, const TreeCpu &after);

struct TreePss
{
    double megabytes = 0;
    int processes = 0;
    QString parts; // "kivoplay 150.2, renderer 60.1, …"
};
TreePss treePss(pid_t root);

} // namespace benchrig
