#include "core/treenode.h"

#include "core/pageformats.h"

namespace kivo {

QString CatalogueTag::toText() const
{
    return QString::number(kind) + kTagSep + (id.isEmpty() ? u" "_qs : id) + kTagSep + pagePath;
}

std::optional<CatalogueTag> CatalogueTag::fromText(const QString &text)
{
    const QStringList f = splitFields(text, kTagSep);
    if (f.size() < 3)
        return std::nullopt;
    bool ok = false;
    const int kind = f.at(0).trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return CatalogueTag {kind, f.at(1).trimmed(), f.at(2).trimmed()};
}

} // namespace kivo
