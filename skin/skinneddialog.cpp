#include "skin/skinneddialog.h"

#include "skin/skinbutton.h"
#include "skin/windowdrag.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace kivo {

SkinnedDialog::SkinnedDialog(const QString &objectName, const QString &title, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint)
    , m_title(new QLabel(title, this))
    , m_close(nullptr)
    , m_body(new QVBoxLayout)
{
    setObjectName(objectName);
    setWindowTitle(title);
    setAccessibleName(title);
    setAttribute(Qt::WA_TranslucentBackground);

    m_title->setObjectName(u"Title"_qs);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    WindowDrag::install(m_title);
    m_close = makeButton(u"Image2"_qs, u"关闭"_qs, Skin::Glyph::Close, QSize(22, 18));
    connect(m_close, &QAbstractButton::clicked, this, &QWidget::hide);

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(m_title, 1);
    titleRow->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 8, 14, 14);
    layout->addLayout(titleRow);
    layout->addLayout(m_body, 1);

    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Skin::kText);
    palette.setColor(QPalette::Base, QColor(0x12, 0x15, 0x1a));
    palette.setColor(QPalette::Text, Skin::kText);
    palette.setColor(QPalette::ButtonText, Skin::kText);
    palette.setColor(QPalette::PlaceholderText, Skin::kDimText);
    setPalette(palette);
    // Check boxes and group titles take their colours from the main window's style sheet
    // once one is in force above them, not from the palette: they are named here, and
    // the boxes drawn in the skin's colours with a light tick.
    setStyleSheet(QStringLiteral("QCheckBox, QGroupBox, QRadioButton { color: %1; background-color: transparent; }"
                                 "QCheckBox::indicator { width: 11px; height: 11px; border: 1px solid %2;"
                                 " background-color: %3; }"
                                 "QCheckBox::indicator:checked { image: url(:/skin/images/tick.xpm); }")
                      .arg(Skin::kText.name(), Skin::kDimText.name(), Skin::kInset.name()));
}

void SkinnedDialog::showEvent(QShowEvent *event)
{
    // The first time it shows, the dialog opens over the middle of the window it belongs
    // to, not wherever the window system puts a frameless window (often a screen corner).
    if (!m_placed && parentWidget() && parentWidget()->isVisible()) {
        m_placed = true;
        move(parentWidget()->frameGeometry().center() - rect().center());
    }
    QWidget::showEvent(event);
}

SkinButton *SkinnedDialog::makeButton(const QString &objectName, const QString &name, Skin::Glyph glyph, QSize size)
{
    auto *button = new SkinButton(name, this);
    button->setObjectName(objectName);
    button->setFixedSize(size);
    if (glyph != Skin::Glyph::None) {
        button->setGlyph(glyph);
    } else {
        const qreal dpr = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
        button->setImages(Skin::buttonPlate(size, false, false, dpr), Skin::buttonPlate(size, true, false, dpr));
        button->setText(name);
    }
    return button;
}

void SkinnedDialog::showMessage(QMessageBox::Icon icon, const QString &text)
{
    QWidget *over = isVisible() ? this : parentWidget();
    const QString title = parentWidget() ? parentWidget()->window()->windowTitle() : windowTitle();
    auto *box = new QMessageBox(icon, title, text, QMessageBox::Ok, over);
    box->setObjectName(u"message"_qs);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    Q_EMIT messageShown(icon, text);
}

void SkinnedDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Skin::paintPanel(painter, rect(), 10);
}

} // namespace kivo
