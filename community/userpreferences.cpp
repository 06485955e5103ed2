#include "community/userpreferences.h"

#include "core/logging.h"

#include <QSettings>
#include <QStandardPaths>

namespace kivo {

namespace {
const QString kSongNotifications = u"desktop/songNotifications"_qs;
}

UserPreferences::UserPreferences(QString path)
    : m_path(std::move(path))
{
    if (m_path.isEmpty())
        return;
    const QSettings file(m_path, QSettings::IniFormat);
    m_songNotifications = file.value(kSongNotifications, true).toBool();
}

QString UserPreferences::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/kivoplay.ini"_qs;
}

void UserPreferences::setSongNotifications(bool on)
{
    m_songNotifications = on;
    if (m_path.isEmpty())
        return;
    QSettings file(m_path, QSettings::IniFormat);
    file.setValue(kSongNotifications, on);
    file.sync();
    if (file.status() != QSettings::NoError)
        qCWarning(lcUi).noquote() << "cannot keep the notification switch in" << m_path;
}

} // namespace kivo
