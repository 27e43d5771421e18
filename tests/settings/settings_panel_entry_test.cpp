// The Enter rules typed into the real fields of the main window: the text
// shown afterwards, the interlocked partner, and keys other than Enter.
#include <QTest>
#include <memory>

#include "tests/settings/main_window_harness.h"

using orvenda::testing::MainWindowHarness;

class SettingsPanelEntryTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        h = std::make_unique<MainWindowHarness>();
        QVERIFY(h->exposed);
        // Switch on what the fields depend on, as a user would.
        h->click(QStringLiteral("ChkIQOffset"));
        h->click(QStringLiteral("ChkIQOutput"));
        h->click(QStringLiteral("OptIQOutput_1"));
        h->click(QStringLiteral("ChkOutputSequence"));
        h->click(QStringLiteral("OptOutputSequence_1"));
    }
    void cleanup() { h.reset(); }

    void enterShowsTheDisplayForm_data();
    void enterShowsTheDisplayForm();
    void keypadEnterCountsAsEnter();
    void otherKeysLeaveTheTextAsTyped_data();
    void otherKeysLeaveTheTextAsTyped();
    void interlockedEnterCopiesToThePartner_data();
    void interlockedEnterCopiesToThePartner();
    void enterOnTheDesignedTextsChangesOnlyTheShortForms();

private:
    std::unique_ptr<MainWindowHarness> h;
};

void SettingsPanelEntryTest::enterShowsTheDisplayForm_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* tag, const char* field, const char* typed, const char* shown) {
        QTest::newRow(tag) << QString::fromLatin1(field) << QString::fromLatin1(typed) << QString::fromLatin1(shown);
    };
    // One or two rows per field: each field's rule tells the fields apart (the
    // rules themselves are covered row by row without widgets).
    row("Fs 15 digits, 11, 12", "TxtFs", "100.12345678901249", "100.123456789010");
    row("Fs no digits", "TxtFs", "abc", "12.500000000000");
    row("AWG .25", "TxtAWGGain", ".25", "0.25");
    row("AWG 1.5", "TxtAWGGain", "1.5", "1");
    row("IF 21.40", "TxtIFFreq", "21.40", "21.4");
    row("I offset 12.6", "TxtIOffset", "12.6", "15");
    row("I offset -13", "TxtIOffset", "-13", "-15");
    row("Q offset 900", "TxtQOffset", "900", "750");
    row("I output 150", "TxtIOutput", "150", "200");
    row("Q output 1232", "TxtQOutput", "1232", "1230");
    row("loop 70000", "TxtLoopNum", "70000", "65536");
    row("loop blank inside", "TxtLoopNum", "1 2", "12");
    row("loop empty", "TxtLoopNum", "", "1");
}

void SettingsPanelEntryTest::enterShowsTheDisplayForm() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QVERIFY(h->enabled(field));
    h->type(field, typed);
    QCOMPARE(h->text(field), shown);
}

void SettingsPanelEntryTest::keypadEnterCountsAsEnter() {
    h->type(QStringLiteral("TxtLoopNum"), QStringLiteral("70000"), Qt::Key_Enter);
    QCOMPARE(h->text(QStringLiteral("TxtLoopNum")), QStringLiteral("65536"));
}

void SettingsPanelEntryTest::otherKeysLeaveTheTextAsTyped_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("typed");
    QTest::newRow("Fs, Tab") << QStringLiteral("TxtFs") << int(Qt::Key_Tab) << QStringLiteral("250");
    QTest::newRow("AWG, Escape") << QStringLiteral("TxtAWGGain") << int(Qt::Key_Escape) << QStringLiteral("1.5");
    QTest::newRow("offset, Tab") << QStringLiteral("TxtIOffset") << int(Qt::Key_Tab) << QStringLiteral("13");
    QTest::newRow("output, Up") << QStringLiteral("TxtQOutput") << int(Qt::Key_Up) << QStringLiteral("150");
    QTest::newRow("loop, End") << QStringLiteral("TxtLoopNum") << int(Qt::Key_End) << QStringLiteral("0");
    QTest::newRow("IF, Tab") << QStringLiteral("TxtIFFreq") << int(Qt::Key_Tab) << QStringLiteral("21.40");
}

// Leaving a field without Enter checks nothing, and the interlock copies
// nothing either: the partner keeps its text.
void SettingsPanelEntryTest::otherKeysLeaveTheTextAsTyped() {
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(QString, typed);
    const QString partnerOffset = h->text(QStringLiteral("TxtQOffset"));
    const QString partnerOutput = h->text(QStringLiteral("TxtIOutput"));
    h->type(field, typed, static_cast<Qt::Key>(key));
    QCOMPARE(h->text(field), typed);
    if (field != QLatin1String("TxtQOffset")) QCOMPARE(h->text(QStringLiteral("TxtQOffset")), partnerOffset);
    if (field != QLatin1String("TxtIOutput")) QCOMPARE(h->text(QStringLiteral("TxtIOutput")), partnerOutput);
}

void SettingsPanelEntryTest::interlockedEnterCopiesToThePartner_data() {
    QTest::addColumn<QString>("lock");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("partner");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Q output locked") << "ChkIQOutputLock" << true << "TxtQOutput"
                                     << "TxtIOutput"
                                     << "1000"
                                     << "1000";
    QTest::newRow("Q output unlocked") << "ChkIQOutputLock" << false << "TxtQOutput"
                                       << "TxtIOutput"
                                       << "1000"
                                       << "1000";
    QTest::newRow("I output locked") << "ChkIQOutputLock" << true << "TxtIOutput"
                                     << "TxtQOutput"
                                     << "1234"
                                     << "1235";
    QTest::newRow("I offset locked") << "ChkIQOffsetLock" << true << "TxtIOffset"
                                     << "TxtQOffset"
                                     << "-13"
                                     << "-15";
    QTest::newRow("Q offset locked") << "ChkIQOffsetLock" << true << "TxtQOffset"
                                     << "TxtIOffset"
                                     << "900"
                                     << "750";
    QTest::newRow("Q offset unlocked") << "ChkIQOffsetLock" << false << "TxtQOffset"
                                       << "TxtIOffset"
                                       << "12"
                                       << "10";
}

void SettingsPanelEntryTest::interlockedEnterCopiesToThePartner() {
    QFETCH(QString, lock);
    QFETCH(bool, locked);
    QFETCH(QString, field);
    QFETCH(QString, partner);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    if (h->checked(lock) != locked) h->click(lock);
    QCOMPARE(h->checked(lock), locked);
    const QString before = h->text(partner);
    h->type(field, typed);
    QCOMPARE(h->text(field), shown);
    QCOMPARE(h->text(partner), locked ? shown : before);
}

void SettingsPanelEntryTest::enterOnTheDesignedTextsChangesOnlyTheShortForms() {
    for (const char* field : {"TxtAWGGain", "TxtFs", "TxtIFFreq", "TxtIOffset", "TxtIOutput", "TxtLoopNum"}) {
        QLineEdit* box = h->textBox(QString::fromLatin1(field));
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_Return);
    }
    QCOMPARE(h->text(QStringLiteral("TxtAWGGain")), QStringLiteral("1"));
    QCOMPARE(h->text(QStringLiteral("TxtFs")), QStringLiteral("200.000000000000"));
    QCOMPARE(h->text(QStringLiteral("TxtIFFreq")), QStringLiteral("21.4"));
    QCOMPARE(h->text(QStringLiteral("TxtIOffset")), QStringLiteral("200"));
    QCOMPARE(h->text(QStringLiteral("TxtIOutput")), QStringLiteral("2000"));
    QCOMPARE(h->text(QStringLiteral("TxtLoopNum")), QStringLiteral("1"));
}

QTEST_MAIN(SettingsPanelEntryTest)
#include "settings_panel_entry_test.moc"
