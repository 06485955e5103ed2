// A list page as the server sends it: the hidden-body envelope around a mirrored
// list payload, parsed for the tree and for a song list.

#include "core/mirrortext.h"
#include "core/pageformats.h"
#include "fuzzinput.h"
#include "online/listpage.h"

using namespace kivo;

namespace {

// A field the list payload can carry whole: the writer sends an empty field as a
// blank, and readers take away CR and LF.
QString carried(const QString &field)
{
    return field.isEmpty() ? QStringLiteral(" ") : field;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const QString parentKey = QString::fromUtf8(in.takeLine());
    const QString page = in.restUtf8();

    const QString payload = HiddenDataPage::payloadOf(page);
    fuzz::check(payload.size() <= page.size(), "the payload is a part of the page");
    // The envelope carries any payload whose mirrored text holds no marker of its own.
    if (!MirrorText(payload).contains(kHiddenBodyMarker))
        fuzz::check(HiddenDataPage::payloadOf(HiddenDataPage::wrap(payload)) == payload, "envelope round trip");

    const QList<QStringList> records = splitListPayload(payload);
    QList<QStringList> expected;
    for (const QStringList &r : records) {
        QStringList fields;
        for (const QString &f : r)
            fields.append(carried(f));
        expected.append(fields);
    }
    fuzz::check(splitListPayload(joinListPayload(records)) == expected, "list payload round trip");

    for (const ListPageMode mode : {ListPageMode::Tree, ListPageMode::List}) {
        const ListPageContent content = parseListPage(payload, mode, parentKey);
        fuzz::check(content.songs.size() + content.nodes.size() <= records.size() + 1, "one row or node per record");
        for (int action = 1; action <= 4; ++action) {
            if (const auto target = pageTurnTarget(action, content.summary))
                fuzz::check(*target >= 1, "pages count from 1");
        }
    }
    return 0;
}
