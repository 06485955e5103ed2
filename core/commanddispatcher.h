#pragma once

#include "core/playercommand.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>

namespace kivo {

// The one place every command goes through. Each command has at most one handler,
// set by the part of the player that carries it out; whoever sends a command (a
// window's button, the tray menu, MPRIS) only names it.
class CommandDispatcher : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The handler runs while `context` lives; a later handler replaces an earlier one.
    void setHandler(PlayerCommand command, QObject *context, std::function<void()> handler);
    bool hasHandler(PlayerCommand command) const;

    // Carries the command out. One without a handler, or any after close(), does nothing.
    void dispatch(PlayerCommand command);
    // At exit: nothing runs any more.
    void close() { m_closed = true; }

Q_SIGNALS:
    // A command was carried out.
    void dispatched(kivo::PlayerCommand command);

private:
    struct Handler
    {
        QPointer<QObject> context;
        std::function<void()> run;
    };
    std::map<PlayerCommand, Handler> m_handlers;
    bool m_closed = false;
};

} // namespace kivo
