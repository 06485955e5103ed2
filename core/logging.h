#pragma once

#include <QLoggingCategory>

// The player's log categories. Failures are logged once, at warning level; the
// details of what went well are at debug level, which is off unless asked for with
// QT_LOGGING_RULES (e.g. "kivo.*.debug=true").
namespace kivo {
Q_DECLARE_LOGGING_CATEGORY(lcDb) // kivo.db: the library database
Q_DECLARE_LOGGING_CATEGORY(lcNet) // kivo.net: requests to the content server
Q_DECLARE_LOGGING_CATEGORY(lcEngine) // kivo.engine: the media engine and its loads
Q_DECLARE_LOGGING_CATEGORY(lcUi) // kivo.ui: windows, web panes and modules loaded at run time
Q_DECLARE_LOGGING_CATEGORY(lcDesktop) // kivo.desktop: files from the command line, the session bus, notifications
} // namespace kivo
