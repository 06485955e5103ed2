// The small dialogs under the main window's style sheet: their texts read light on the panel.
#include "skin/skinneddialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

using namespace kivo;

namespace {
// The lightest grey among the pixels of an image's part.
int lightest(const QImage &image, const QRect &part)
{
    int best = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            best = std::max(best, qGray(image.pixel(x, y)));
    return best;
}
} // namespace

class SkinnedDialogTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void checkBoxesReadLightUnderTheMainWindowsStyleSheet()
    {
        QWidget owner;
        owner.setStyleSheet(u"QTreeView { color: #d6e6f2; }"_qs); // any sheet in force above
        SkinnedDialog dialog(u"FormTest"_qs, u"测试"_qs, &owner);
        auto *box = new QCheckBox(u"显示LRC同步歌词。"_qs, &dialog);
        box->setChecked(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        const QImage drawn = dialog.grab().toImage();
        const QRect place = box->geometry();
        const QRect caption(
            place.left() + indicator.right() + 4, place.top(), place.width() - indicator.right() - 4, place.height());
        QVERIFY2(lightest(drawn, caption) > 180, "the caption is drawn dark on the dark panel");
        // The box stays dark, so its light tick shows.
        QVERIFY(qGray(drawn.pixel(place.topLeft() + indicator.topLeft() + QPoint(2, 2))) < 100);
    }

    void opensOverTheMiddleOfItsOwner()
    {
        QWidget owner;
        owner.setGeometry(300, 200, 610, 450);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        SkinnedDialog dialog(u"FormTest"_qs, u"测试"_qs, &owner);
        dialog.resize(200, 100);
        dialog.show();
        QVERIFY((dialog.geometry().center() - owner.geometry().center()).manhattanLength() < 4);
        // Moved by the user, hidden and shown again, it stays where it was put.
        dialog.hide();
        dialog.move(10, 10);
        dialog.show();
        QCOMPARE(dialog.pos(), QPoint(10, 10));
    }
};

QTEST_MAIN(SkinnedDialogTest)
#include "tst_skinneddialog.moc"
