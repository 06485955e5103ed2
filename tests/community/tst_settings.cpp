// Saving the settings, and the settings dialog's colour swatch.
#include "community/settingsform.h"
#include "community/ui/settingsdialog.h"

#include <QColorDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace kivo;

namespace {
class RecordingStore : public SettingsStore
{
public:
    QStringList saved;
    QList<QDateTime> days;
    bool refuse = false;
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

    void refusedStoreStillAppliesButIsNotSaved()
    {
        RecordingStore store;
        store.refuse = true;
        StoredSettings settings;
        QCOMPARE(
            SaveSettings({u"40"_qs, true, true, true, false, 255}, settings, store, kToday), SaveOutcome::NotStored);
        QCOMPARE(settings.loadTimeoutSeconds, 40);
    }

    void swatchStartsWithTheColourInUseAndCancelKeepsIt()
    {
        RecordingStore store;
        StoredSettings settings = StoredSettings::parse(u"26㊣1㊣1㊣1㊣0㊣16711680"_qs); // blue
        SettingsDialog dialog(
            &settings, &store, [] { return kToday; }, nullptr);
        dialog.fill();
        QCOMPARE(dialog.swatchColour(), quint32(0xFF0000));
        QSignalSpy chosen(&dialog, &SettingsDialog::highlightColourChosen);

        dialog.colourButton()->click();
        QVERIFY(dialog.colourDialog()->isVisible());
        dialog.colourDialog()->reject();
        QCOMPARE(dialog.swatchColour(), quint32(0xFF0000));
        QVERIFY(chosen.isEmpty());

        dialog.colourButton()->click();
        dialog.colourDialog()->setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog.colourDialog()->accept();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(dialog.swatchColour(), quint32(0x563412));
        // Saving without a change of the time keeps the picked colour.
        QCOMPARE(dialog.SaveSettings(), SaveOutcome::Saved);
        QCOMPARE(store.saved, QStringList {u"26㊣1㊣1㊣1㊣0㊣5649426"_qs});
    }
};

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
