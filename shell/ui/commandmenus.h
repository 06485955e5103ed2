#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace kivo {

// The popup menus of the hidden menu form: built once, each menu and item reachable
// by its name so the owners of the operations can wire, show, hide, enable and check them.
class CommandMenus : public QObject
{
    Q_OBJECT
public:
    explicit CommandMenus(QWidget *parentWidget = nullptr);
    ~CommandMenus() override;

    // Menus by name: "歌曲列表", "我的媒体库", "我的媒体库1", "下载管理", "歌手", "CD架", "右键菜单".
    QMenu *menu(const QString &name) const;
    // Items and separators by name, e.g. "下载此歌曲", "添加到正在播放1", "a1". Names are unique.
    QAction *item(const QString &name) const;
    QStringList menuNames() const { return m_menuOrder; }
    // The four exclusive play-mode items.
    QActionGroup *playModes() const { return m_playModes; }

private:
    QMenu *addMenu(const QString &name, QWidget *parentWidget);
    void addItem(QMenu *menu, const QString &name, const QString &caption = {});
    void addSeparator(QMenu *menu, const QString &name);

    QHash<QString, QMenu *> m_menus;
    QHash<QString, QAction *> m_items;
    QStringList m_menuOrder;
    QActionGroup *m_playModes = nullptr;
};

} // namespace kivo
