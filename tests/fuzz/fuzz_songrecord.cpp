// The text of a song row, in the library form and the catalogue form.

#include "core/songrecord.h"
#include "fuzzinput.h"

#include <QStringList>

using namespace kivo;

namespace {

// A value that ends in "|" runs into the "|||" after it; such a value cannot be
// told from its separator, in either form.
bool fitsTheForm(const SongRecord &r)
{
    for (const QString *f : {&r.id, &r.locator, &r.title, &r.url2, &r.baiduId, &r.musicId, &r.url, &r.url1}) {
        if (f->endsWith(QLatin1Char('|')))
            return false;
    }
    return !r.listId || !r.listId->endsWith(QLatin1Char('|'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SongRecord r = SongRecord::fromText(fuzz::Input(data, size).restUtf8());
    const QString text = r.toText();
    const SongRecord again = SongRecord::fromText(text);
    if (fitsTheForm(r))
        fuzz::check(again == r, "song record round trip");
    fuzz::check(text.split(QStringLiteral("|||")).size() >= 5, "every form has the kind in field 4");
    return 0;
}
