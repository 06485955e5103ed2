// Saving the settings: the checks of the buffering time, what is stored and what is in use.
#include "community/settingsform.h"

#include <QTest>

using namespace kivo;

namespace {
class RecordingStore : public SettingsStore
{
public:
    QStringList saved;
    QList<QDateTime> days;
    bool refuse = false; // the library could not write
    bool saveSettingsContent(const QString &content, const QDateTime &today) override
    {
        if (refuse)
            return false;
        saved << content;
        days << today;
        return true;
    }
};
const QDateTime kToday(QDate(2026, 12, 7), QTime(9, 30));
} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void save_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("stored"); // empty: refused, nothing changes
        QTest::newRow("padded time is trimmed") << u" 30 "_qs << u"30㊣0㊣0㊣0㊣1㊣65280"_qs;
        QTest::newRow("largest") << u"32767"_qs << u"32767㊣0㊣0㊣0㊣1㊣65280"_qs;
        QTest::newRow("smallest") << u"1"_qs << u"1㊣0㊣0㊣0㊣1㊣65280"_qs;
        QTest::newRow("text") << u"abc"_qs << QString();
        QTest::newRow("empty") << u"  "_qs << QString();
        // The load watchdog divides by the time: 0 and what does not fit are refused too.
        QTest::newRow("zero") << u"0"_qs << QString();
        QTest::newRow("negative") << u"-5"_qs << QString();
        QTest::newRow("above 16 bits") << u"32768"_qs << QString();
        QTest::newRow("fraction") << u"2.5"_qs << QString();
    }
    void save()
    {
        QFETCH(QString, time);
        QFETCH(QString, stored);
        RecordingStore store;
        StoredSettings settings; // defaults: 26, on, on, on, off
        // Only the lyric download switch ticked, a green swatch.
        const SaveOutcome outcome = SaveSettings({time, false, false, false, true, 0x00FF00}, settings, store, kToday);
        if (stored.isEmpty()) {
            QCOMPARE(outcome, SaveOutcome::BadLoadTime);
            QVERIFY(store.saved.isEmpty());
            QVERIFY(settings == StoredSettings());
            return;
        }
        QCOMPARE(outcome, SaveOutcome::Saved);
        QCOMPARE(store.saved, QStringList {stored});
        QCOMPARE(store.days, QList<QDateTime> {kToday});
        QCOMPARE(settings.loadTimeoutSeconds, stored.section(u"㊣"_qs, 0, 0).toInt());
        QVERIFY(!settings.localLyricsEnabled && !settings.historyEnabled && !settings.retryOnTimeout);
        QVERIFY(settings.downloadLyricsEnabled);
        // What is stored reads back as what is in use, colour included.
        QVERIFY(StoredSettings::parse(stored) == settings);
        QCOMPARE(settings.highlightQColor(), QColor(0, 255, 0));
    }

    // Not kept is not reported as saved; the run uses the settings all the same.
    void aStoreThatFailsIsNotASave()
    {
        RecordingStore store;
        store.refuse = true;
        StoredSettings settings;
        QCOMPARE(
            SaveSettings({u"40"_qs, true, true, true, false, 255}, settings, store, kToday), SaveOutcome::NotStored);
        QCOMPARE(settings.loadTimeoutSeconds, 40);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
