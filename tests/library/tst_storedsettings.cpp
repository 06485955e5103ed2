#include "library/storedsettings.h"

#include <QTest>

Q_DECLARE_METATYPE(kivo::StoredSettings)

using namespace kivo;

namespace {
StoredSettings make(int seconds, bool lyrics, bool history, bool retry, bool lrcDownload)
{
    StoredSettings s;
    s.loadTimeoutSeconds = seconds;
    s.localLyricsEnabled = lyrics;
    s.historyEnabled = history;
    s.retryOnTimeout = retry;
    s.downloadLyricsEnabled = lrcDownload;
    return s;
}
StoredSettings withColour(StoredSettings s, quint32 colour)
{
    s.highlightColour = colour;
    s.highlightColourStored = true;
    return s;
}
} // namespace

class StoredSettingsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<StoredSettings>("expected");
        const StoredSettings defaults;
        QTest::newRow("empty text has no fields") << QString() << defaults;
        QTest::newRow("one field is not enough") << u"30"_qs << defaults;
        QTest::newRow("two fields") << u"30㊣0"_qs << make(30, false, true, true, false);
        QTest::newRow("three fields") << u"30㊣0㊣0"_qs << make(30, false, false, true, false);
        QTest::newRow("five fields, no colour") << u"5㊣0㊣0㊣0㊣1"_qs << make(5, false, false, false, true);
        QTest::newRow("all six") << u"26㊣1㊣0㊣1㊣1㊣255"_qs << withColour(make(26, true, false, true, true), 255);
        QTest::newRow("blue") << u"40㊣1㊣1㊣1㊣0㊣16711680"_qs
                              << withColour(make(40, true, true, true, false), 0xFF0000);
        QTest::newRow("extra fields ignored")
            << u"9㊣1㊣1㊣1㊣0㊣0㊣junk"_qs << withColour(make(9, true, true, true, false), 0);
        QTest::newRow("padded time") << u" 30 ㊣1"_qs << make(30, true, true, true, false);
        QTest::newRow("zero time keeps 26") << u"0㊣0"_qs << make(26, false, true, true, false);
        QTest::newRow("negative time keeps 26") << u"-5㊣0"_qs << make(26, false, true, true, false);
        QTest::newRow("time above 16 bits keeps 26") << u"40000㊣0"_qs << make(26, false, true, true, false);
        QTest::newRow("fractional time keeps 26") << u"26.5㊣0"_qs << make(26, false, true, true, false);
        QTest::newRow("text time keeps 26") << u"abc㊣0"_qs << make(26, false, true, true, false);
        QTest::newRow("empty time keeps 26") << u"㊣0"_qs << make(26, false, true, true, false);
        QTest::newRow("largest time") << u"32767㊣1"_qs << make(32767, true, true, true, false);
        QTest::newRow("bad switch keeps default") << u"30㊣x㊣y㊣1.5㊣z"_qs << make(30, true, true, true, false);
        QTest::newRow("switch other than 1 is off") << u"30㊣2㊣-1"_qs << make(30, false, false, true, false);
        QTest::newRow("negative colour ignored") << u"26㊣1㊣1㊣1㊣0㊣-1"_qs << make(26, true, true, true, false);
        QTest::newRow("colour beyond rgb ignored")
            << u"26㊣1㊣1㊣1㊣0㊣16777216"_qs << make(26, true, true, true, false);
        QTest::newRow("text colour ignored") << u"26㊣1㊣1㊣1㊣0㊣red"_qs << make(26, true, true, true, false);
        QTest::newRow("other separator is one field") << u"30|||0"_qs << defaults;
    }
    void parse()
    {
        QFETCH(QString, content);
        QFETCH(StoredSettings, expected);
        const StoredSettings got = StoredSettings::parse(content);
        QCOMPARE(got.loadTimeoutSeconds, expected.loadTimeoutSeconds);
        QCOMPARE(got.localLyricsEnabled, expected.localLyricsEnabled);
        QCOMPARE(got.historyEnabled, expected.historyEnabled);
        QCOMPARE(got.retryOnTimeout, expected.retryOnTimeout);
        QCOMPARE(got.downloadLyricsEnabled, expected.downloadLyricsEnabled);
        QCOMPARE(got.highlightColourStored, expected.highlightColourStored);
        QCOMPARE(got.highlightColour, expected.highlightColour);
    }

    void format_data()
    {
        QTest::addColumn<StoredSettings>("settings");
        QTest::addColumn<QString>("text");
        QTest::newRow("defaults") << StoredSettings() << u"26㊣1㊣1㊣1㊣0㊣255"_qs;
        QTest::newRow("on off on on red")
            << withColour(make(26, true, false, true, true), 255) << u"26㊣1㊣0㊣1㊣1㊣255"_qs;
        QTest::newRow("only lyrics download")
            << withColour(make(30, false, false, false, true), 65280) << u"30㊣0㊣0㊣0㊣1㊣65280"_qs;
    }
    void format()
    {
        QFETCH(StoredSettings, settings);
        QFETCH(QString, text);
        QCOMPARE(settings.format(), text);
        QVERIFY(StoredSettings::parse(text) == withColour(settings, settings.highlightColour));
    }

    void colourOrderIsRedInLowByte()
    {
        const QColor c(0x12, 0x34, 0x56);
        QCOMPARE(StoredSettings::colourValue(c), quint32(0x563412));
        QCOMPARE(withColour({}, 0x563412).highlightQColor(), c);
    }
};

QTEST_GUILESS_MAIN(StoredSettingsTest)
#include "tst_storedsettings.moc"
