#include "skin/liststyle.h"
#include "skin/skinbutton.h"

#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

using namespace kivo;

namespace {

// What the widget paints over its window's face: no background of its own is filled
// in, as none is on the screen.
QImage drawn(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// A window of the first frame's kind: a tree with a selected row under an open
// branch and a closed one, and a captioned button.
struct FirstFrameWidgets
{
    QWidget window;
    QTreeView tree {&window};
    SkinButton button {u"媒体库"_qs, &window};

    explicit FirstFrameWidgets(QStandardItemModel *model)
    {
        window.setAttribute(Qt::WA_TranslucentBackground); // as the skinned windows
        window.resize(300, 200);
        tree.setGeometry(0, 0, 160, 160);
        tree.setHeaderHidden(true);
        tree.setModel(model);
        tree.expand(model->index(0, 0));
        tree.setCurrentIndex(model->index(1, 0, model->index(0, 0)));
        applyListColours(&tree);
        button.setGeometry(170, 0, 80, 22);
        button.setText(u"媒体库"_qs);
        applyButtonCaption(&button);
    }
};

} // namespace

class ListStyleTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The window's style sheet comes after the first frame: the trees and buttons in
    // that frame must not change when it arrives.
    void firstFrameLooksTheSameUnderTheSheet()
    {
        QStandardItemModel model;
        auto *open = new QStandardItem(u"Kivo媒体库"_qs);
        open->appendRow(new QStandardItem(u"音乐媒体库"_qs));
        open->appendRow(new QStandardItem(u"视频媒体库"_qs));
        auto *closed = new QStandardItem(u"本站排行榜"_qs);
        closed->appendRow(new QStandardItem(u"新歌"_qs));
        model.appendRow(open);
        model.appendRow(closed);

        FirstFrameWidgets plain(&model);
        FirstFrameWidgets styled(&model);
        styled.window.setStyleSheet(Skin::listStyleSheet());
        plain.window.ensurePolished();
        styled.window.ensurePolished();
        QCOMPARE(drawn(&plain.tree), drawn(&styled.tree));
        QCOMPARE(drawn(&plain.button), drawn(&styled.button));
    }
};

QTEST_MAIN(ListStyleTest)
#include "tst_liststyle.moc"
