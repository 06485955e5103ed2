#include "community/ui/settingsdialog.h"

#include "community/userpreferences.h"
#include "skin/skinbutton.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo {

namespace {
QCheckBox *switchBox(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(objectName);
    box->setAccessibleName(caption);
    return box;
}
} // namespace

SettingsDialog::SettingsDialog(StoredSettings *settings, SettingsStore *store, std::function<QDateTime()> today,
    QWidget *owner, UserPreferences *preferences)
    : SkinnedDialog(u"Form10"_qs, u"播放器参数设置"_qs, owner)
    , m_settings(settings)
    , m_store(store)
    , m_today(std::move(today))
    , m_swatchColour(settings->highlightColour)
    , m_loadTime(new QLineEdit(this))
    , m_lyrics(switchBox(u"Check1"_qs, u"显示LRC同步歌词。"_qs, this))
    , m_history(switchBox(u"Check2"_qs, u"歌曲播放记录历史动作。"_qs, this))
    , m_retry(switchBox(u"Check3"_qs, u"歌曲无效时自动网络搜索。"_qs, this))
    , m_lyricDownloads(switchBox(u"Check4"_qs, u"下载歌曲时，同步下载LRC歌词。"_qs, this))
    , m_preferences(preferences)
    , m_chooseColour(new QPushButton(u"选择颜色："_qs, this))
    , m_swatch(new QLabel(this))
{
    resize(340, 260);
    m_loadTime->setObjectName(u"Text1"_qs);
    m_loadTime->setAccessibleName(u"歌曲缓存调入时间"_qs);
    m_loadTime->setMaximumWidth(60);
    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(new QLabel(u"设置歌曲缓存调入时间："_qs, this));
    timeRow->addWidget(m_loadTime);
    timeRow->addWidget(new QLabel(u"秒。"_qs, this));
    timeRow->addStretch();

    m_chooseColour->setObjectName(u"Label4"_qs);
    m_chooseColour->setAccessibleName(u"选择颜色"_qs);
    m_chooseColour->setFlat(true);
    m_chooseColour->setCursor(Qt::PointingHandCursor);
    connect(m_chooseColour, &QPushButton::clicked, this, &SettingsDialog::ChooseHighlightColour);
    m_swatch->setObjectName(u"Label5"_qs);
    m_swatch->setAccessibleName(u"歌词高亮颜色"_qs);
    m_swatch->setFixedSize(48, 18);
    m_swatch->setAutoFillBackground(true);
    setSwatch(m_swatchColour);
    auto *colourRow = new QHBoxLayout;
    colourRow->addWidget(m_chooseColour);
    colourRow->addWidget(m_swatch);
    colourRow->addStretch();

    m_save = makeButton(u"Image1"_qs, u"确定"_qs, Skin::Glyph::None, QSize(52, 24));
    connect(m_save, &QAbstractButton::clicked, this, [this] { SaveSettings(); });
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_save);

    body()->addLayout(timeRow);
    for (QCheckBox *box : {m_lyrics, m_history, m_retry, m_lyricDownloads})
        body()->addWidget(box);
    body()->addLayout(colourRow);
    if (m_preferences) { // after the six stored settings: it is not part of their text
        m_notifications = switchBox(u"Check5"_qs, u"歌曲开始播放时显示桌面通知。"_qs, this);
        body()->addWidget(m_notifications);
        resize(340, 285);
    }
    body()->addStretch();
    body()->addLayout(bottom);
}

void SettingsDialog::fill()
{
    m_loadTime->setText(QString::number(m_settings->loadTimeoutSeconds));
    m_lyrics->setChecked(m_settings->localLyricsEnabled);
    m_history->setChecked(m_settings->historyEnabled);
    m_retry->setChecked(m_settings->retryOnTimeout);
    m_lyricDownloads->setChecked(m_settings->downloadLyricsEnabled);
    if (m_notifications)
        m_notifications->setChecked(m_preferences->songNotifications());
}

SettingsForm SettingsDialog::form() const
{
    return {m_loadTime->text(), m_lyrics->isChecked(), m_history->isChecked(), m_retry->isChecked(),
        m_lyricDownloads->isChecked(), m_swatchColour};
}

SaveOutcome SettingsDialog::SaveSettings()
{
    const SaveOutcome outcome
        = kivo::SaveSettings(form(), *m_settings, *m_store, m_today ? m_today() : QDateTime::currentDateTime());
    if (outcome == SaveOutcome::BadLoadTime) {
        showMessage(QMessageBox::Critical, SettingsTexts::kBadLoadTime);
        return outcome;
    }
    if (m_notifications)
        m_preferences->setSongNotifications(m_notifications->isChecked());
    if (outcome == SaveOutcome::NotStored) {
        // In effect for this run; the dialog stays open, as nothing was kept.
        Q_EMIT settingsSaved();
        return outcome;
    }
    Q_EMIT settingsSaved();
    hide();
    showMessage(QMessageBox::NoIcon, SettingsTexts::kSaved);
    return outcome;
}

void SettingsDialog::ChooseHighlightColour()
{
    if (!m_colours) {
        // One colour dialog for the session, so the custom colours the user made stay.
        m_colours = new QColorDialog(this);
        m_colours->setObjectName(u"colourDialog"_qs);
        m_colours->setOption(QColorDialog::DontUseNativeDialog);
        connect(m_colours, &QColorDialog::colorSelected, this, [this](const QColor &colour) {
            setSwatch(StoredSettings::colourValue(colour));
            Q_EMIT highlightColourChosen(colour);
        });
    }
    // Cancelling changes nothing: the swatch keeps the colour in use.
    m_colours->setCurrentColor(StoredSettings::colourOf(m_swatchColour));
    m_colours->open();
}

void SettingsDialog::setSwatch(quint32 colour)
{
    m_swatchColour = colour & 0xFFFFFF;
    QPalette palette = m_swatch->palette();
    palette.setColor(QPalette::Window, StoredSettings::colourOf(m_swatchColour));
    m_swatch->setPalette(palette);
}

} // namespace kivo
