#include "skin/skinbutton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

using namespace kivo;

namespace {

QPixmap solid(const QColor &colour)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(colour);
    return pixmap;
}

void hover(QWidget *target)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
        Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

QRgb centre(QWidget *w)
{
    return w->grab().toImage().pixel(10, 10);
}

} // namespace

class SkinButtonTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hoverPictureUntilRestored()
    {
        QWidget window;
        window.resize(100, 40);
        QList<SkinButton *> bf;
        for (int i = 0; i < 3; ++i) {
            auto *button = new SkinButton(u"按钮"_qs + QString::number(i), &window);
            button->setObjectName(skinArrayName(u"bf"_qs, i));
            button->setGeometry(i * 30, 0, 20, 20);
            button->setImages(solid(Qt::darkGray), solid(Qt::cyan));
            bf << button;
        }
        window.show();
        QCOMPARE(bf[1]->objectName(), u"bf1"_qs);
        QCOMPARE(bf[1]->accessibleName(), u"按钮1"_qs);
        QCOMPARE(centre(bf[1]), QColor(Qt::darkGray).rgb());

        hover(bf[1]);
        QVERIFY(bf[1]->isHoverShown());
        QVERIFY(!bf[0]->isHoverShown());
        QCOMPARE(centre(bf[1]), QColor(Qt::cyan).rgb());
        hover(bf[2]);
        QVERIFY(bf[1]->isHoverShown()); // stays until the window restores it

        // Leaving the window straight from a button puts its normal picture back.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(bf[1], &leave);
        QVERIFY(!bf[1]->isHoverShown());
        QCOMPARE(centre(bf[1]), QColor(Qt::darkGray).rgb());
    }

    void clickReports()
    {
        SkinButton button(u"停止"_qs);
        button.resize(20, 20);
        QSignalSpy clicked(&button, &SkinButton::clicked);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicked.size(), 1);
    }
};

QTEST_MAIN(SkinButtonTest)
#include "tst_skinbutton.moc"
