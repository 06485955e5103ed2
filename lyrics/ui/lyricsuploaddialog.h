#pragma once

#include "lyrics/lyricsupload.h"

#include <QMessageBox>
#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;

namespace kivo {

class ServerClient;
class SkinButton;
struct SongRecord;

// The lyrics upload dialog `Form9`: the user types or pastes lyrics for one
// catalogue song and sends them to the content server. Hidden, not closed, so
// its text stays until the next upload succeeds.
class LyricsUploadDialog : public QWidget
{
    Q_OBJECT
public:
    LyricsUploadDialog(ServerClient *server, QWidget *owner = nullptr);

    // The song the lyrics are for (the dialog's tag); "添加歌词" sets it each time.
    void setMusicId(int musicId) { m_musicId = musicId; }
    int musicId() const { return m_musicId; }

    // The busy overlay around the request (the main window's ShowBusy / HideBusy).
    void setBusyHandlers(std::function<void(const QString &)> show, std::function<void()> hide);
    // Where messages go; by default a message box over this dialog.
    using MessageSink = std::function<void(QMessageBox::Icon, const QString &)>;
    void setMessageSink(MessageSink sink) { m_messages = std::move(sink); }

    QPlainTextEdit *textBox() const { return m_text; }
    QRadioButton *plainOption() const { return m_plain; }
    QRadioButton *lrcOption() const { return m_lrc; }
    SkinButton *uploadButton() const { return m_upload; }
    bool isUploading() const { return m_uploading; }

    // The upload button (`Image1`).
    QCoro::Task<> upload();

Q_SIGNALS:
    // After each press of the upload button has been dealt with.
    void uploadFinished(kivo::UploadOutcome outcome);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void message(QMessageBox::Icon icon, const QString &text);

    ServerClient *m_server;
    int m_musicId = 0;
    bool m_uploading = false;
    std::function<void(const QString &)> m_showBusy;
    std::function<void()> m_hideBusy;
    MessageSink m_messages;
    QLabel *m_title;
    QPlainTextEdit *m_text;
    QGroupBox *m_type;
    QRadioButton *m_plain;
    QRadioButton *m_lrc;
    SkinButton *m_upload;
    SkinButton *m_close;
};

// "添加歌词" on a row: opens the dialog for a catalogue song; other songs: nothing.
bool OpenLyricsUpload(LyricsUploadDialog *dialog, const SongRecord &record);

} // namespace kivo
