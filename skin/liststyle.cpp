#include "skin/liststyle.h"

#include <QAbstractItemView>
#include <QColor>
#include <QFont>
#include <QPalette>

namespace kivo {

namespace {

// Shared by the sheet and the palettes that stand in for it in the first frame.
const QColor kListText {0xd6, 0xe6, 0xf2};
const QColor kListSelection {0x0f, 0x6e, 0xa8};
const QColor kButtonCaption {0xcf, 0xe6, 0xf5};
constexpr int kCaptionPixelSize = 12;

} // namespace

QString Skin::listStyleSheet()
{
    return QStringLiteral(R"(
kivo--SkinButton { color: %1; font-size: %4px; }
QTreeView, QTableView, QListView { background: transparent; color: %2; border: none; selection-background-color: %3; }
QHeaderView::section { background: #1c2028; color: #9fb6c8; border: none; border-right: 1px solid #0c0e12; padding: 2px 4px; }
QScrollBar:vertical { background: #0e1014; width: 9px; margin: 0; }
QScrollBar:horizontal { background: #0e1014; height: 9px; margin: 0; }
QScrollBar::handle { background: #3a4250; border-radius: 4px; min-height: 20px; min-width: 20px; }
QScrollBar::handle:hover { background: #4f5b6d; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
)")
        .arg(kButtonCaption.name(), kListText.name(), kListSelection.name(), QString::number(kCaptionPixelSize));
}

void applyListColours(QAbstractItemView *view)
{
    view->setFrameShape(QFrame::NoFrame);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, kListText); // the branch arrows take the window text
    palette.setColor(QPalette::Highlight, kListSelection);
    view->setPalette(palette);
}

void applyButtonCaption(QWidget *button)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, kButtonCaption);
    button->setPalette(palette);
    QFont font = button->font();
    font.setPixelSize(kCaptionPixelSize);
    button->setFont(font);
}

} // namespace kivo
