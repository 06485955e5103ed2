#include "shell/fontwarmup.h"

#include <QFontDatabase>
#include <QStringList>

namespace kivo {

FontWarmUp::FontWarmUp()
    : m_thread([] { (void)QFontDatabase::families(); })
{ }

FontWarmUp::~FontWarmUp()
{
    m_thread.join();
}

} // namespace kivo
