#include "shell/qttranslations.h"

#include "core/logging.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kivo {

bool installQtTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(u"qtbase_zh_CN"_qs, dir) || !QCoreApplication::installTranslator(translator)) {
        qCWarning(lcUi).noquote() << "Qt's Chinese translations not loaded from" << dir;
        delete translator;
        return false;
    }
    return true;
}

} // namespace kivo
