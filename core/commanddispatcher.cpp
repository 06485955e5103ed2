#include "core/commanddispatcher.h"

#include "core/logging.h"

namespace kivo {

void CommandDispatcher::setHandler(PlayerCommand command, QObject *context, std::function<void()> handler)
{
    m_handlers[command] = Handler {context, std::move(handler)};
}

bool CommandDispatcher::hasHandler(PlayerCommand command) const
{
    const auto it = m_handlers.find(command);
    return it != m_handlers.end() && it->second.context && it->second.run;
}

void CommandDispatcher::dispatch(PlayerCommand command)
{
    if (m_closed || !hasHandler(command)) {
        qCDebug(lcUi) << "command" << int(command) << "has nothing to do";
        return;
    }
    // A copy: the handler may replace itself (a window that goes away, a new engine).
    const std::function<void()> run = m_handlers.at(command).run;
    run();
    Q_EMIT dispatched(command);
}

} // namespace kivo
