#include "lyrics/ui/lyricsuploaddialog.h"

#include "lyrics/lyricslookup.h"
#include "skin/skin.h"
#include "skin/skinbutton.h"
#include "skin/windowdrag.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kivo {

LyricsUploadDialog::LyricsUploadDialog(ServerClient *server, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint)
    , m_server(server)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("上传添加歌词"));
    setAttribute(Qt::WA_TranslucentBackground);
    resize(420, 360);

    m_title = new QLabel(QStringLiteral("上传添加歌词"), this);
    m_title->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    WindowDrag::install(m_title);

    m_close = new SkinButton(QStringLiteral("关闭"), this);
    m_close->setObjectName(QStringLiteral("Image2"));
    m_close->setFixedSize(22, 18);
    m_close->setGlyph(Skin::Glyph::Close);
    connect(m_close, &SkinButton::clicked, this, &QWidget::hide);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setAccessibleName(QStringLiteral("歌词"));
    m_text->setPlaceholderText(QStringLiteral("[00:12.30]在这里输入或粘贴歌词"));

    m_type = new QGroupBox(QStringLiteral("歌词类型"), this);
    m_type->setObjectName(QStringLiteral("Frame1"));
    m_plain = new QRadioButton(QStringLiteral("普通歌词"), m_type);
    m_plain->setObjectName(QStringLiteral("Option1"));
    m_plain->setChecked(true);
    m_lrc = new QRadioButton(QStringLiteral("随时间显示的LRC歌词"), m_type);
    m_lrc->setObjectName(QStringLiteral("Option2"));
    auto *typeLayout = new QHBoxLayout(m_type);
    typeLayout->addWidget(m_plain);
    typeLayout->addWidget(m_lrc);
    typeLayout->addStretch();

    m_upload = new SkinButton(QStringLiteral("上传"), this);
    m_upload->setObjectName(QStringLiteral("Image1"));
    m_upload->setFixedSize(44, 26);
    m_upload->setGlyph(Skin::Glyph::Upload);
    connect(m_upload, &SkinButton::clicked, this, [this] { upload(); });

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(m_title, 1);
    titleRow->addWidget(m_close);
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_type, 1);
    bottomRow->addWidget(m_upload, 0, Qt::AlignBottom);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 8, 14, 14);
    layout->addLayout(titleRow);
    layout->addWidget(m_text, 1);
    layout->addLayout(bottomRow);

    // In the skin's colours by style sheet: a palette alone does not reach the controls
    // while the main window's style sheet is in force above them.
    setStyleSheet(QStringLiteral("QLabel, QGroupBox, QRadioButton { color: %1; }"
                                 "QPlainTextEdit { color: %1; background: %2; border: 1px solid %3; }")
                      .arg(Skin::kText.name(), Skin::kInset.name(), Skin::kDimText.name()));
    QPalette palette = this->palette();
    palette.setColor(QPalette::PlaceholderText, Skin::kDimText);
    setPalette(palette);
}

void LyricsUploadDialog::setBusyHandlers(std::function<void(const QString &)> show, std::function<void()> hide)
{
    m_showBusy = std::move(show);
    m_hideBusy = std::move(hide);
}

QCoro::Task<> LyricsUploadDialog::upload()
{
    if (m_uploading) // one request at a time
        co_return;
    m_uploading = true;
    QPointer<LyricsUploadDialog> self(this);
    const UploadOutcome outcome
        = co_await UploadLyrics(m_server, m_musicId, m_text->toPlainText(), m_lrc->isChecked(), m_showBusy, m_hideBusy);
    if (!self)
        co_return;
    m_uploading = false;
    switch (outcome) {
    case UploadOutcome::NoSong:
        break;
    case UploadOutcome::EmptyText:
        message(QMessageBox::Critical, UploadTexts::kNoLyrics);
        break;
    case UploadOutcome::BadLrcFormat:
        message(QMessageBox::Critical, UploadTexts::kBadLrc);
        break;
    case UploadOutcome::Sent:
        message(QMessageBox::NoIcon, UploadTexts::kThanks);
        m_text->clear();
        hide();
        break;
    case UploadOutcome::Failed:
        // The typed lyrics stay, so the user can try again.
        message(QMessageBox::Warning, UploadTexts::kFailed);
        break;
    }
    Q_EMIT uploadFinished(outcome);
}

void LyricsUploadDialog::message(QMessageBox::Icon icon, const QString &text)
{
    if (m_messages) {
        m_messages(icon, text);
        return;
    }
    auto *box = new QMessageBox(icon, windowTitle(), text, QMessageBox::Ok, isVisible() ? this : parentWidget());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void LyricsUploadDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Skin::paintPanel(painter, rect(), 10);
}

bool OpenLyricsUpload(LyricsUploadDialog *dialog, const SongRecord &record)
{
    const std::optional<int> musicId = AddLyricsTarget(record);
    if (!musicId || !dialog)
        return false;
    dialog->setMusicId(*musicId);
    dialog->show();
    dialog->raise();
    return true;
}

} // namespace kivo
