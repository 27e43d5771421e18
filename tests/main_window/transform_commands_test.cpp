// The two transform commands through the real window, with a stand-in engine
// that records its arguments and the window's look during the call.
#include <QCursor>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <dlfcn.h>

#include "tests/main_window/recording_halvik.h"
#include "tests/main_window/window_test_support.h"

namespace orvenda::testing {
namespace {

const char kSaveFilter[] = "AWG(*.awv)|*.awv|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*";

}  // namespace

class TransformCommandsTest : public QObject {
    Q_OBJECT

    RecordedHalvikCall* recorded_ = nullptr;

    // A window whose commands call the stand-in engine.
    std::unique_ptr<WindowUnderTest> makeWindow() {
        auto ui = std::make_unique<WindowUnderTest>();
        ui->transforms()->useLibrary(HalvikLibrary({RECORDING_HALVIK}));
        *recorded_ = RecordedHalvikCall{};
        return ui;
    }

    static const char* buttonOf(bool baseBand) { return baseBand ? "BtnTransform" : "BtnTransIF"; }

private slots:
    void initTestCase() {
        void* handle = dlopen(RECORDING_HALVIK, RTLD_NOW);
        QVERIFY2(handle, dlerror());
        auto access = reinterpret_cast<RecordedHalvikAccess>(dlsym(handle, kRecordedHalvikAccessName));
        QVERIFY(access);
        recorded_ = access();
    }

    void saveDialogAndCall_data() {
        QTest::addColumn<bool>("baseBand");
        QTest::addColumn<QString>("title");
        QTest::newRow("BaseBand Transform") << true << "Data Save";
        QTest::newRow("IF Transform") << false << "IF Data Save";
    }
    void saveDialogAndCall() {
        QFETCH(bool, baseBand);
        QFETCH(QString, title);
        auto ui = makeWindow();
        ui->state.input.InputFileKind = HALVIK_KIND_IQ_FILE;
        ui->state.input.InputDataType = HALVIK_TYPE_TEXT;
        ui->state.input.IQFilePath = "/data/iq.txt";
        ui->state.input.IFilePath = "/data/old-i.txt";
        ui->state.input.DataSize = 1234;
        ui->state.input.PeakI = -2.0;
        ui->state.input.PeakQ = 1.5;
        ui->type("TxtFs", QStringLiteral("100"));
        ui->type("TxtIFFreq", QStringLiteral("10.7"));
        const QString out = QDir::tempPath() + QStringLiteral("/chosen name without extension");
        ui->dialogs.fileAnswers.push_back(out);

        ui->click(buttonOf(baseBand));

        QCOMPARE(ui->dialogs.fileRequests.size(), size_t{1});
        QCOMPARE(ui->dialogs.fileRequests[0].title, title);
        QCOMPARE(ui->dialogs.fileRequests[0].filter, QString::fromLatin1(kSaveFilter));
        QVERIFY(ui->dialogs.fileRequests[0].save);
        QCOMPARE(recorded_->calls, 1);
        QCOMPARE(recorded_->outPath, out.toStdString());
        QCOMPARE(recorded_->iPath, std::string("/data/iq.txt"));
        QCOMPARE(recorded_->qPath, std::string());
        QCOMPARE(recorded_->inputDataType, HALVIK_TYPE_TEXT);
        QCOMPARE(recorded_->inputFileKind, HALVIK_KIND_IQ_FILE);
        QCOMPARE(recorded_->sampleCount, 1234);
        QCOMPARE(recorded_->peakValue, 2.0);
        QCOMPARE(recorded_->marker1, ui->state.markers.Marker1Points.data());
        QCOMPARE(recorded_->marker2, ui->state.markers.Marker2Points.data());
        QCOMPARE(recorded_->settings.Fs, 100e6);
        QCOMPARE(recorded_->settings.IFFreq, baseBand ? 0.0 : 10.7e6);
        QCOMPARE(recorded_->settings.IFConvert, baseBand ? 0 : 1);
        QCOMPARE(recorded_->settings.AWGGain, 1.0);
        // Busy while the engine runs: wait pointer, the command's own button off.
        QVERIFY(recorded_->busyPointer);
        QCOMPARE(recorded_->baseBandEnabled, !baseBand);
        QCOMPARE(recorded_->ifEnabled, baseBand);
        // Restored afterwards, and success stays silent.
        QVERIFY(ui->find<QPushButton>(buttonOf(baseBand))->isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(ui->dialogs.messages.empty());
    }

    // BaseBand lets pending events run before the call; IF does not.
    void pendingEvents_data() {
        QTest::addColumn<bool>("baseBand");
        QTest::addColumn<int>("callsSeenByPendingEvent");
        QTest::newRow("BaseBand Transform") << true << 0;
        QTest::newRow("IF Transform") << false << 1;
    }
    void pendingEvents() {
        QFETCH(bool, baseBand);
        QFETCH(int, callsSeenByPendingEvent);
        auto ui = makeWindow();
        ui->dialogs.fileAnswers.push_back(QDir::tempPath() + QStringLiteral("/pending.awv"));
        int seen = -1;
        QTimer::singleShot(0, [&] { seen = recorded_->calls; });
        ui->click(buttonOf(baseBand));
        QCoreApplication::processEvents();
        QCOMPARE(recorded_->calls, 1);
        QCOMPARE(seen, callsSeenByPendingEvent);
    }

    // A click on "IF Transform" that waits among the events BaseBand lets run
    // does not start a second conversion inside the first one.
    void noSecondCommandInsideTheFirst() {
        auto ui = makeWindow();
        ui->dialogs.fileAnswers = {QDir::tempPath() + QStringLiteral("/first.awv"),
                                   QDir::tempPath() + QStringLiteral("/second.awv")};
        QTimer::singleShot(0, ui->find<QPushButton>("BtnTransIF"), &QPushButton::click);
        ui->click("BtnTransform");
        QCOMPARE(recorded_->calls, 1);
        QCOMPARE(ui->dialogs.fileRequests.size(), size_t{1});
        QCOMPARE(recorded_->outPath, (QDir::tempPath() + QStringLiteral("/first.awv")).toStdString());
        // Once the first has ended, the button works again.
        ui->click("BtnTransIF");
        QCOMPARE(recorded_->calls, 2);
    }

    void cancelledDialogEndsSilently_data() { saveDialogAndCall_data(); }
    void cancelledDialogEndsSilently() {
        QFETCH(bool, baseBand);
        auto ui = makeWindow();
        ui->click(buttonOf(baseBand));  // no answer queued: the dialog is cancelled
        QCOMPARE(ui->dialogs.fileRequests.size(), size_t{1});
        QCOMPARE(recorded_->calls, 0);
        QVERIFY(ui->dialogs.messages.empty());
        QVERIFY(ui->find<QPushButton>(buttonOf(baseBand))->isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void dataFullScaleError_data() {
        QTest::addColumn<bool>("baseBand");
        QTest::addColumn<QString>("gain");
        QTest::addColumn<bool>("passes");
        for (bool baseBand : {true, false}) {
            const char* command = baseBand ? "BaseBand" : "IF";
            for (const char* gain : {"0", "1", "1.0", "", "abc"})
                QTest::addRow("%s %s passes", command, gain) << baseBand << QString::fromLatin1(gain) << true;
            for (const char* gain : {"1.0001", "-0.1"})
                QTest::addRow("%s %s fails", command, gain) << baseBand << QString::fromLatin1(gain) << false;
        }
    }
    void dataFullScaleError() {
        QFETCH(bool, baseBand);
        QFETCH(QString, gain);
        QFETCH(bool, passes);
        auto ui = makeWindow();
        ui->type("TxtAWGGain", gain);
        ui->click(buttonOf(baseBand));
        if (passes) {
            QCOMPARE(ui->dialogs.fileRequests.size(), size_t{1});
            QVERIFY(ui->dialogs.messages.empty());
        } else {
            QVERIFY(ui->dialogs.fileRequests.empty());
            QCOMPARE(ui->dialogs.messages.size(), size_t{1});
            QCOMPARE(ui->dialogs.messages[0].text, QStringLiteral("AWG Gain Error."));
            QCOMPARE(ui->dialogs.messages[0].caption, QStringLiteral("Orvenda"));
        }
        QCOMPARE(recorded_->calls, 0);
    }

    // Values the command cannot use are named before the dialog.
    void unusableValuesNamedBeforeTheDialog_data() {
        QTest::addColumn<bool>("baseBand");
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("Fs not a number") << true << QByteArray("TxtFs") << "fast"
                                         << "Sampling Freq";
        QTest::newRow("Fs zero for IF") << false << QByteArray("TxtFs") << "0"
                                        << "Sampling Freq";
        QTest::newRow("carrier not a number") << false << QByteArray("TxtIFFreq") << ""
                                              << "Carrier Freq";
        QTest::newRow("loop count beyond int32") << true << QByteArray("TxtLoopNum") << "5e9"
                                                 << "Loop Num";
        QTest::newRow("I offset beyond int32") << false << QByteArray("TxtIOffset") << "-9e9"
                                               << "I/Q Offset I";
    }
    void unusableValuesNamedBeforeTheDialog() {
        QFETCH(bool, baseBand);
        QFETCH(QByteArray, box);
        QFETCH(QString, text);
        QFETCH(QString, named);
        auto ui = makeWindow();
        ui->type(box.constData(), text);
        ui->click(buttonOf(baseBand));
        QVERIFY(ui->dialogs.fileRequests.empty());
        QCOMPARE(ui->dialogs.messages.size(), size_t{1});
        QVERIFY2(ui->dialogs.messages[0].text.contains(named), qPrintable(ui->dialogs.messages[0].text));
        QCOMPARE(ui->dialogs.messages[0].caption, QStringLiteral("Orvenda"));
        QCOMPARE(recorded_->calls, 0);
    }

    void engineFailureIsReported_data() { saveDialogAndCall_data(); }
    void engineFailureIsReported() {
        QFETCH(bool, baseBand);
        auto ui = makeWindow();
        recorded_->result = -1;
        const QString out = QDir::tempPath() + QStringLiteral("/refused.awv");
        ui->dialogs.fileAnswers.push_back(out);
        ui->click(buttonOf(baseBand));
        QCOMPARE(recorded_->calls, 1);
        QCOMPARE(ui->dialogs.messages.size(), size_t{1});
        QVERIFY(ui->dialogs.messages[0].text.contains(QStringLiteral("not written")));
        QVERIFY(ui->dialogs.messages[0].text.contains(out));
        QVERIFY(ui->find<QPushButton>(buttonOf(baseBand))->isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void missingLibraryIsNamedBeforeTheDialog() {
        auto ui = makeWindow();
        ui->transforms()->useLibrary(HalvikLibrary({"/no/such/folder/libHalvikLib.so"}));
        ui->dialogs.fileAnswers.push_back(QDir::tempPath() + QStringLiteral("/never.awv"));
        ui->click("BtnTransIF");
        QVERIFY(ui->dialogs.fileRequests.empty());
        QCOMPARE(ui->dialogs.messages.size(), size_t{1});
        QVERIFY(ui->dialogs.messages[0].text.contains(QStringLiteral("libHalvikLib.so")));
        QVERIFY(ui->dialogs.messages[0].text.contains(QStringLiteral("No such file")));
        QVERIFY(ui->find<QPushButton>("BtnTransIF")->isEnabled());
    }

    // The binding of the first command serves every later one.
    void bindingIsKept() {
        auto ui = makeWindow();
        ui->dialogs.fileAnswers = {QDir::tempPath() + QStringLiteral("/a.awv"),
                                   QDir::tempPath() + QStringLiteral("/b.awv")};
        ui->click("BtnTransform");
        ui->click("BtnTransIF");
        QCOMPARE(recorded_->calls, 2);
        QCOMPARE(recorded_->outPath, (QDir::tempPath() + QStringLiteral("/b.awv")).toStdString());
    }
};

}  // namespace orvenda::testing

QTEST_MAIN(orvenda::testing::TransformCommandsTest)
#include "transform_commands_test.moc"
