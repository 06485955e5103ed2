#include "skin/liststyle.h"
#include "skin/skinbutton.h"

#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

using namespace kivo;

namespace {

// What a widget paints over its window's face: no background of its own is filled
// in, as none is on the screen.
QImage drawn(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

class ListStyleTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The window's style sheet comes after the first frame: the tree (a selected row
    // under an open branch, a closed branch) and the captioned button of that frame
    // must not change when it arrives.
    void firstFrameLooksTheSameUnderTheSheet()
    {
        QStandardItemModel model;
        auto *open = new QStandardItem(u"Kivo媒体库"_qs);
        open->appendRow({new QStandardItem(u"音乐媒体库"_qs)});
        auto *closed = new QStandardItem(u"本站排行榜"_qs);
        closed->appendRow({new QStandardItem(u"新歌"_qs)});
        model.appendRow({open});
        model.appendRow({closed});
        QList<QImage> looks;
        for (const bool sheet : {false, true}) {
            QWidget window;
            window.setAttribute(Qt::WA_TranslucentBackground); // as the skinned windows
            if (sheet)
                window.setStyleSheet(Skin::listStyleSheet());
            QTreeView tree(&window);
            tree.setGeometry(0, 0, 160, 100);
            tree.setHeaderHidden(true);
            tree.setModel(&model);
            tree.expand(open->index());
            tree.setCurrentIndex(open->child(0)->index());
            applyListColours(&tree);
            SkinButton button(u"媒体库"_qs, &window);
            button.setGeometry(170, 0, 80, 22);
            button.setText(u"媒体库"_qs);
            applyButtonCaption(&button);
            window.ensurePolished();
            looks << drawn(&tree) << drawn(&button);
        }
        QCOMPARE(looks[0], looks[2]);
        QCOMPARE(looks[1], looks[3]);
    }
};

QTEST_MAIN(ListStyleTest)
#include "tst_liststyle.moc"
