// Parses a 5,000-record list payload (as the server sends it, mirrored inside its
// page) and fills a list view's model, in-process; prints the median of the runs
// beside the median of splitting the same payload into its records alone.
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
    // The reference: only taking the payload out of its page and splitting it into
    // its records, without reading them into songs and rows.
    QList<double> splits;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer t;
        t.start();
        const QList<QStringList> split = splitListPayload(HiddenDataPage::payloadOf(page));
        splits << t.nsecsElapsed() / 1e6;
        if (split.size() < 5000)
            return 1;
    }
    std::sort(runs.begin(), runs.end());
    std::sort(splits.begin(), splits.end());
    const double page5000 = runs.at(runs.size() / 2), split = splits.at(splits.size() / 2);
    std::printf("listpage median_ms: %.2f ms (split only %.2f ms, ratio %.2f, goal <= 50 ms)\n", page5000, split,
        split > 0 ? page5000 / split : 0.0);
    return 0;
}
