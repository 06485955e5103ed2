#pragma once

#include "skin/skin.h"

#include <QMessageBox>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace kivo {

class SkinButton;

// What the player's small dialogs share: a frameless skinned panel owned by the main
// window, dragged by its title strip, closed (hidden, so its fields stay) by its close
// button `Image2`, and its messages in boxes that do not wait.
class SkinnedDialog : public QWidget
{
    Q_OBJECT
public:
    SkinnedDialog(const QString &objectName, const QString &title, QWidget *owner);

    QLabel *titleLabel() const { return m_title; }
    SkinButton *closeButton() const { return m_close; }

    // A message over the dialog (over its owner when the dialog is hidden), titled
    // like the owner; it does not wait for the user.
    void showMessage(QMessageBox::Icon icon, const QString &text);

Q_SIGNALS:
    // Every message the dialog showed, as the user reads it.
    void messageShown(QMessageBox::Icon icon, const QString &text);

protected:
    // Where the dialog's own controls go, under the title strip.
    QVBoxLayout *body() const { return m_body; }
    // A skinned button with a glyph, or with a caption when the glyph is None.
    SkinButton *makeButton(const QString &objectName, const QString &name, Skin::Glyph glyph, QSize size);
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_title;
    SkinButton *m_close;
    QVBoxLayout *m_body;
    bool m_placed = false; // placed over its owner once; later it stays where it was dragged
};

} // namespace kivo
