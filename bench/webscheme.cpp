// What registering the "softfile" scheme before the application object costs: the web
// module is loaded at that point. Runs itself as child processes and prints medians of
// the time from main() to a constructed QApplication, with and without it.
#include "online/ui/webmodule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}
} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "child") == 0) {
        QElapsedTimer t;
        t.start();
        const bool withScheme = argc > 2 && std::strcmp(argv[2], "scheme") == 0;
        if (withScheme && !kivo::WebModule::registerSchemesBeforeApplication())
            return 2;
        QApplication app(argc, argv);
        std::printf("%.3f\n", t.nsecsElapsed() / 1e6);
        return 0;
    }
    QList<double> plain, scheme;
    for (int run = 0; run < 7; ++run) {
        for (bool withScheme : {false, true}) {
            QProcess p;
            p.setProgram(QString::fromLocal8Bit(argv[0]));
            p.setArguments(withScheme ? QStringList {u"child"_qs, u"scheme"_qs} : QStringList {u"child"_qs});
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
            p.setProcessEnvironment(env);
            p.start();
            if (!p.waitForFinished(60000) || p.exitCode() != 0) {
                std::printf("webscheme error: child failed (is the web module built?)\n");
                return 1;
            }
            (withScheme ? scheme : plain) << p.readAllStandardOutput().trimmed().toDouble();
        }
    }
    std::printf("webscheme app_ms_without: %.1f\n", median(plain));
    std::printf("webscheme app_ms_with_scheme: %.1f\n", median(scheme));
    std::printf("webscheme added_ms: %.1f\n", median(scheme) - median(plain));
    return 0;
}
