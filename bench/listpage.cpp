// Parses a 5,000-record list payload (as the server sends it, mirrored inside its
// page) and fills a list view's model, in-process; prints the median of the runs.
#include "online/listpage.h"
#include "core/pageformats.h"
#include "online/songlistmodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTreeView>

#include <algorithm>
#include <cstdio>

using namespace kivo;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<QStringList> records;
    for (int i = 0; i < 5000; ++i)
        records << ListRecords::song(2, u"第"_qs + QString::number(i) + u"首歌 - 歌手"_qs, u"2021-03-04"_qs, i % 977,
            QString::number(100000 + i), u"http://127.0.0.1/m/"_qs + QString::number(i) + u".mp3"_qs,
            u"http://127.0.0.1/n/"_qs + QString::number(i) + u".wma"_qs, QString());
    records << ListRecords::summary(120000, 24, 1);
    const QString page = HiddenDataPage::wrap(joinListPayload(records));

    QTreeView view;
    view.setUniformRowHeights(true);
    view.setRootIsDecorated(false);
    SongListModel model(SongPageKind::Catalogue);
    view.setModel(&model);
    view.resize(800, 600);
    view.show();

    QList<double> runs;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer t;
        t.start();
        const ListPageContent content = parseListPage(HiddenDataPage::payloadOf(page), ListPageMode::List);
        QList<SongListRow> rows;
        rows.reserve(content.songs.size());
        for (const CatalogueSong &s : content.songs) {
            SongListRow row;
            row.cells = {s.title, u"音频文件"_qs, s.popularity, s.added};
            row.data = s.record;
            rows.append(std::move(row));
        }
        model.setRows(std::move(rows));
        view.doItemsLayout();
        view.viewport()->repaint();
        runs << t.nsecsElapsed() / 1e6;
        if (model.rowCount() != 5000)
            return 1;
    }
    std::sort(runs.begin(), runs.end());
    std::printf("listpage median_ms: %.2f\n", runs.at(runs.size() / 2));
    return 0;
}
