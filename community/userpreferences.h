#pragma once

#include <QString>

namespace kivo {

// What the user chose that the library's settings text does not carry, kept in
// kivoplay.ini of the user's config folder (the settings text stays as it is).
class UserPreferences
{
public:
    // An empty path keeps the choices for this run only.
    explicit UserPreferences(QString path);
    // kivoplay.ini in the user's config folder.
    static QString defaultPath();

    bool songNotifications() const { return m_songNotifications; }
    void setSongNotifications(bool on);

private:
    QString m_path;
    bool m_songNotifications = true;
};

} // namespace kivo
