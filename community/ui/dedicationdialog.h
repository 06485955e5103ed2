#pragma once

#include "community/dedication.h"
#include "skin/skinneddialog.h"

#include <functional>
#include <optional>

class QLineEdit;
class QPlainTextEdit;

namespace kivo {

class ServerClient;
class SkinButton;

// The dedication dialog `Form8` ("给好友点歌送祝福"): the friend's address and name,
// a greeting's title and text, sent by the content server as an e-mail with a link
// to the song. Hidden, not closed, so the fields stay for the next song.
class DedicationDialog : public SkinnedDialog
{
    Q_OBJECT
public:
    DedicationDialog(ServerClient *server, QWidget *owner);

    // The song the dedication is for (the dialog's hidden record); each use of the
    // menu item replaces it.
    void setSong(const DedicatedSong &song) { m_song = song; }
    const std::optional<DedicatedSong> &song() const { return m_song; }

    void setBusyHandlers(std::function<void(const QString &)> show, std::function<void()> hide);

    DedicationForm form() const;
    QLineEdit *emailBox() const { return m_email; }
    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *titleBox() const { return m_title; }
    QPlainTextEdit *contentBox() const { return m_content; }
    SkinButton *sendButton() const { return m_send; }

    // The send button (`Image1`): one dedication at a time.
    QCoro::Task<> send();

Q_SIGNALS:
    void sendFinished(kivo::DedicationOutcome outcome);

private:
    ServerClient *m_server;
    std::optional<DedicatedSong> m_song;
    bool m_sending = false;
    std::function<void(const QString &)> m_showBusy;
    std::function<void()> m_hideBusy;
    QLineEdit *m_email;
    QLineEdit *m_name;
    QLineEdit *m_title;
    QPlainTextEdit *m_content;
    SkinButton *m_send;
};

} // namespace kivo
