// The player against a server that misbehaves on one page at a time: for each page
// and each fault, the worst delay of a 10 ms timer on the window's thread while the
// player waits, beside the same action without fault and the 50 ms goal; whether a
// message box showed and whether the action worked again with the fault off.
#include "support/faultrig.h"

#include <QApplication>
#include <QTextStream>

using namespace kivo;
using namespace kivo::test;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    FaultRig rig;
    if (!rig.isReady()) {
        out << "faults: " << rig.error() << Qt::endl;
        return 1;
    }
    constexpr int kWaitMs = 2000;
    const QStringList kinds {u"hang"_qs, u"drip"_qs, u"500"_qs, u"reset"_qs, u"truncate"_qs, u"garbage"_qs, u"huge"_qs};
    int overGoal = 0, broken = 0;
    for (FaultPage page : {FaultPage::Startup, FaultPage::List, FaultPage::Search, FaultPage::AddressSearch,
             FaultPage::Lyrics, FaultPage::Media}) {
        rig.actAndWait(page, kWaitMs);
        const qint64 reference = rig.worstDelayMs();
        for (const QString &kind : kinds) {
            rig.setFault(page, kind);
            const int boxes = rig.messageBoxes();
            const bool workedAnyway = rig.actAndWait(page, kWaitMs);
            const qint64 worst = rig.worstDelayMs();
            const int shown = rig.messageBoxes() - boxes;
            rig.setFault(page, u"off"_qs);
            const bool again = rig.actAndWait(page, 15000);
            overGoal += worst > 50 ? 1 : 0;
            broken += again ? 0 : 1;
            out << "faults " << faultPageName(page) << ' ' << kind << " worst delay: " << worst << " ms (no fault "
                << reference << " ms, goal 50 ms); message boxes " << shown
                << (workedAnyway ? "; worked despite the fault" : "") << "; usable again " << (again ? "yes" : "NO")
                << Qt::endl;
        }
    }
    out << "faults cases over the goal: " << overGoal << " of " << 6 * kinds.size() << Qt::endl;
    out << "faults cases not usable again: " << broken << Qt::endl;
    return 0;
}
