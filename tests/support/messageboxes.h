#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTest>

namespace kivo::test {

// The text of the message box showing, which is then closed ("" when none shows
// within 10 s).
inline QString takeMessage()
{
    QString text;
    (void)QTest::qWaitFor(
        [&] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *box = qobject_cast<QMessageBox *>(top); box && box->isVisible()) {
                    text = box->text();
                    return box->close();
                }
            return false;
        },
        10000);
    return text;
}

} // namespace kivo::test
