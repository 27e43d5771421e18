// From click to file through the real window and the real engine: load input
// files, set markers in the editor, choose settings, run both transforms with
// the dialogs answered here, and compare each written file with the file the
// engine writes when called directly with the record expected for them.
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/transform/halvik_library.h"
#include "gui/input/signal_source_group.h"
#include "gui/markers/frm_marker.h"
#include "tests/main_window/window_test_support.h"
#include "tests/support/comma_decimal_locale.h"

namespace orvenda::testing {
namespace {

std::string readAll(const QString& path) {
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file without its first line (the DATE line, which holds the clock).
std::string afterDateLine(const std::string& file) {
    const auto feed = file.find('\n');
    return feed == std::string::npos ? std::string() : file.substr(feed + 1);
}

// Every message shown, for failure reports.
QString allMessages(const ScriptedDialogs& dialogs) {
    QStringList texts;
    for (const auto& message : dialogs.messages) texts << message.text;
    return texts.join(QStringLiteral(" | "));
}

// A record with every header line left out; each test sets what it expects.
ConversionSettings silentRecord() {
    ConversionSettings s{};
    s.IQFilter = -1;
    s.StartTrigger = -1;
    s.OutputSequence = -1;
    s.IQOutput = -1;
    s.IQOffset = -1;
    return s;
}

struct ReferenceCall {
    std::string iPath;
    std::string qPath;
    int32_t dataType = 0;
    int32_t fileKind = 0;
    markers::MarkerPoints marker1{};
    markers::MarkerPoints marker2{};
    int32_t count = 0;
    double peak = 0.0;
    ConversionSettings settings = silentRecord();
};

// What the engine writes for this call, read back from a file of its own.
std::string referenceFile(const ReferenceCall& call, const QString& folder) {
    HalvikLibrary library;
    std::string error;
    const HalvikFunction halvik = library.halvik(error);
    if (!halvik) return "no engine: " + error;
    const std::string out = QFile::encodeName(folder + QStringLiteral("/reference.awv")).toStdString();
    const int32_t result =
        halvik(call.iPath.c_str(), call.qPath.c_str(), call.dataType, call.fileKind, call.marker1.data(),
               call.marker2.data(), call.count, call.peak, &call.settings, out.c_str());
    if (result != 0) return "reference call failed";
    return readAll(QString::fromStdString(out));
}

}  // namespace

class TransformEndToEndTest : public QObject {
    Q_OBJECT

    QTemporaryDir scratch_;

    QString scratchPath(const char* name) const { return scratch_.filePath(QString::fromLatin1(name)); }

    // Float I/Q pairs; returns the largest magnitude written.
    double writeFloatFile(const QString& path, int count) const {
        std::vector<float> pairs;
        double peak = 0.0;
        for (int n = 0; n < count; ++n) {
            const float i = static_cast<float>(0.8 * std::sin(0.013 * n));
            const float q = static_cast<float>(0.6 * std::cos(0.029 * n) - 0.1);
            pairs.push_back(i);
            pairs.push_back(q);
            peak = std::fmax(peak, std::fmax(std::fabs(double{i}), std::fabs(double{q})));
        }
        std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(pairs.data()), static_cast<std::streamsize>(pairs.size() * 4));
        return peak;
    }

    // Two columns of text, I and Q; returns the largest magnitude written.
    double writeTextFile(const QString& path, int count) const {
        std::ostringstream text;
        double peak = 0.0;
        for (int n = 0; n < count; ++n) {
            const int i = (n * 37) % 2001 - 1000;
            const int q = (n * 53) % 1501 - 750;
            text << i << "\t" << q << "\n";
            peak = std::fmax(peak, std::fmax(std::abs(i), std::abs(q)));
        }
        std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
        out << text.str();
        return peak;
    }

    // Marker 1: high, low from 10, high from 20; marker 2: high from 4 to 11.
    static void setMarkersInTheEditor(WindowUnderTest& ui) {
        ui.click("Command1");
        markers::FrmMarker* editor = ui.window->markerEditor();
        QVERIFY(editor);
        auto point = [&](const char* pos, const char* value) {
            editor->findChild<QLineEdit*>(QStringLiteral("TxtMarkPos"))->setText(QString::fromLatin1(pos));
            editor->findChild<QLineEdit*>(QStringLiteral("TxtMarkValue"))->setText(QString::fromLatin1(value));
            QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("BtnAddMarkPoint")), Qt::LeftButton);
        };
        point("0", "1");
        point("10", "0");
        point("20", "1");
        QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("BtnSetMark")), Qt::LeftButton);
        editor->findChild<QComboBox*>(QStringLiteral("CurrentMarkerSelect"))->setCurrentIndex(1);
        point("4", "1");
        point("12", "0");
        QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("BtnSetMark")), Qt::LeftButton);
    }

    static markers::MarkerPoints points(std::initializer_list<MarkerPoint> list) {
        markers::MarkerPoints all{};
        std::copy(list.begin(), list.end(), all.begin());
        return all;
    }

    void compareWithReference(const QString& written, const ReferenceCall& expected) {
        const std::string actual = readAll(written);
        QVERIFY2(actual.rfind("{DATE:", 0) == 0, "the file starts with its DATE line");
        const std::string reference = referenceFile(expected, scratch_.path());
        QVERIFY2(reference.rfind("{DATE:", 0) == 0, reference.c_str());
        QCOMPARE(afterDateLine(actual).size(), afterDateLine(reference).size());
        QVERIFY(afterDateLine(actual) == afterDateLine(reference));
    }

private slots:
    void initTestCase() { QVERIFY(scratch_.isValid()); }

    // Float pairs, both markers from the editor and every header number,
    // through "BaseBand Transform" into `out`; returns the input's peak.
    double runBaseBandRoad(WindowUnderTest& ui, const QString& input, const QString& out) {
        const double peak = writeFloatFile(input, 2500);
        ui.dialogs.fileAnswers.push_back(input);
        ui.action("MnuLoadBf")->trigger();
        [&] {
            QCOMPARE(ui.state.input.InputFileKind, HALVIK_KIND_IQ_FILE);
            QCOMPARE(ui.state.input.InputDataType, HALVIK_TYPE_FLOAT_PAIRS);
            QCOMPARE(ui.state.input.DataSize, 2500);
        }();

        setMarkersInTheEditor(ui);
        ui.setChecked("ChkIQFilter", true);
        ui.find<QComboBox>("CmbFilt")->setCurrentIndex(1);
        ui.setChecked("ChkIQOutput", true);
        ui.click("OptIQOutput_1");
        ui.type("TxtIOutput", QStringLiteral("1500"));
        ui.setChecked("ChkIQOffset", true);
        ui.type("TxtIOffset", QStringLiteral("-35"));
        ui.setChecked("ChkOutputSequence", true);
        ui.click("OptOutputSequence_1");
        ui.type("TxtLoopNum", QStringLiteral("3"));
        ui.type("TxtFs", QStringLiteral("100"));
        ui.type("TxtAWGGain", QStringLiteral("0.75"));
        ui.dialogs.fileAnswers.push_back(out);

        ui.click("BtnTransform");
        return peak;
    }

    // Two-column text through "IF Transform" (frequency offset, IQ inverse,
    // link trigger, gated, 800 of 1200 samples) into `out`; returns the peak.
    double runIfRoad(WindowUnderTest& ui, const QString& input, const QString& out) {
        const double peak = writeTextFile(input, 1200);
        ui.dialogs.fileAnswers.push_back(input);
        ui.action("MnuLoadIQ")->trigger();
        [&] {
            QCOMPARE(ui.state.input.InputFileKind, HALVIK_KIND_IQ_FILE);
            QCOMPARE(ui.state.input.InputDataType, HALVIK_TYPE_TEXT);
            QCOMPARE(ui.state.input.DataSize, 1200);
        }();

        setMarkersInTheEditor(ui);
        ui.setChecked("ChkStartTrigger", true);
        ui.click("OptStartTrigger_1");
        ui.click("OptLink_1");
        ui.click("OptOutputSequence_2");
        ui.click("OptGated_1");
        ui.setChecked("ChkIQInv", true);
        ui.click("OptIF_1");
        ui.type("TxtIFFreq", QStringLiteral("5"));
        ui.type("TxtFs", QStringLiteral("50"));
        // Only the first 800 samples.
        ui.setChecked("ChkSpecSize", true);
        ui.type("TxtDataSizeI", QStringLiteral("800"));
        ui.dialogs.fileAnswers.push_back(out);

        ui.click("BtnTransIF");
        return peak;
    }

    void floatFileBaseBandWithMarkers() {
        WindowUnderTest ui;
        const QString input = scratchPath("burst.bin");
        const QString out = scratchPath("burst.awv");
        const double peak = runBaseBandRoad(ui, input, out);
        QVERIFY2(ui.dialogs.messages.empty(), qPrintable(allMessages(ui.dialogs)));

        ReferenceCall expected;
        expected.iPath = QFile::encodeName(input).toStdString();
        expected.dataType = 3;
        expected.fileKind = 4;
        expected.marker1 = points({{0, 1}, {10, 0}, {20, 1}});
        expected.marker2 = points({{4, 1}, {12, 0}});
        expected.count = 2500;
        expected.peak = peak;
        ConversionSettings& s = expected.settings;
        s.Fs = 100e6;
        s.AWGGain = 0.75;
        s.IQFilter = 1;
        s.MarkerFlags =
            HALVIK_MARKER_MODE_WFM | HALVIK_MARKER_1_LINE | HALVIK_MARKER_2_LINE;  // marker 1, marker 2, manual edit
        s.StartTrigger = 0;
        s.OutputSequence = 1;
        s.LoopNum = 3;
        s.IQOutput = 1;
        s.IOutputGain = 1500;
        s.QOutputGain = 2000;
        s.IQOffset = 0;
        s.IOffset = -35;
        s.QOffset = 200;
        compareWithReference(out, expected);

        // The header lines, written out from the file's rules.
        const std::string file = readAll(out);
        for (const char* line :
             {"{IQFILTER:FLT50M}\n", "{IQOUTPUT:VAR}\n", "{STARTTRIGGER:INT;POS}\n", "{OUTPUTSEQUENCE:SINGL;3}\n",
              "{SAMPLINGFREQ:100000000.000000}\n", "{MARKER1:ON;POS;0;1250;1250;1}\n",
              "{MARKER2:ON;POS;0;1250;1250;1}\n", "{MARKERMODE:WFM}\n", "{WAVEDATA:20000;"})
            QVERIFY2(file.find(line) != std::string::npos, line);
        QVERIFY(ui.find<QPushButton>("BtnTransform")->isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void textFileIFTransform() {
        WindowUnderTest ui;
        const QString input = scratchPath("two columns.txt");
        const QString out = scratchPath("offset.awv");
        const double peak = runIfRoad(ui, input, out);
        QVERIFY2(ui.dialogs.messages.empty(), qPrintable(allMessages(ui.dialogs)));
        QCOMPARE(ui.dialogs.fileRequests.back().title, QStringLiteral("IF Data Save"));
        QCOMPARE(ui.state.input.DataSize, 800);

        ReferenceCall expected;
        expected.iPath = QFile::encodeName(input).toStdString();
        expected.dataType = 1;
        expected.fileKind = 4;
        expected.marker1 = points({{0, 1}, {10, 0}, {20, 1}});
        expected.marker2 = points({{4, 1}, {12, 0}});
        expected.count = 800;
        expected.peak = peak;
        ConversionSettings& s = expected.settings;
        s.Fs = 50e6;
        s.IFFreq = 5e6;
        s.AWGGain = 1.0;
        s.MarkerFlags = HALVIK_MARKER_MODE_WFM | HALVIK_MARKER_1_LINE | HALVIK_MARKER_2_LINE;
        s.IQInv = 1;
        s.IFConvert = 1;
        s.IFMode = 1;
        s.StartTrigger = 1;
        s.TriggerPolarity = 1;
        s.OutputSequence = 2;
        s.LoopNum = 1;
        s.GateMode = 1;
        s.IOutputGain = 2000;
        s.QOutputGain = 2000;
        s.IOffset = 200;
        s.QOffset = 200;
        compareWithReference(out, expected);

        const std::string file = readAll(out);
        for (const char* line : {"{STARTTRIGGER:LINK;NEG}\n", "{OUTPUTSEQUENCE:GATE;LEV}\n",
                                 "{SAMPLINGFREQ:50000000.000000}\n", "{WAVEDATA:6400;"})
            QVERIFY2(file.find(line) != std::string::npos, line);
        QVERIFY(file.find("{IQFILTER:") == std::string::npos);
    }

    // The program adopts the user's locale for the C library at start. Both
    // roads under a comma-decimal locale give the files written under "C".
    void commaLocaleGivesTheSameFiles() {
        std::vector<std::string> files[2];
        const char* locales[] = {"C", kCommaDecimalLocale};
        for (int run = 0; run < 2; ++run) {
            ProcessLocale locale(locales[run]);
            QVERIFY2(locale.active(), "de_DE.UTF-8 is not installed (scripts/install-deps.sh makes it)");
            QCOMPARE(ProcessLocale::decimalPointIsComma(), run == 1);
            const QString tag = QString::number(run);
            {
                WindowUnderTest ui;
                runBaseBandRoad(ui, scratchPath("locale.bin"), scratchPath("locale-bb") + tag + QStringLiteral(".awv"));
                QVERIFY2(ui.dialogs.messages.empty(), qPrintable(allMessages(ui.dialogs)));
            }
            {
                WindowUnderTest ui;
                runIfRoad(ui, scratchPath("locale.txt"), scratchPath("locale-if") + tag + QStringLiteral(".awv"));
                QVERIFY2(ui.dialogs.messages.empty(), qPrintable(allMessages(ui.dialogs)));
            }
            files[run] = {readAll(scratchPath("locale-bb") + tag + QStringLiteral(".awv")),
                          readAll(scratchPath("locale-if") + tag + QStringLiteral(".awv"))};
        }
        for (std::size_t k = 0; k < 2; ++k) {
            QVERIFY(files[1][k].rfind("{DATE:", 0) == 0);
            const std::string body = afterDateLine(files[1][k]);
            const std::string header = body.substr(0, body.find("{WAVEDATA:"));
            QVERIFY2(header.find(',') == std::string::npos, header.c_str());
            QCOMPARE(afterDateLine(files[1][k]).size(), afterDateLine(files[0][k]).size());
            QVERIFY(afterDateLine(files[1][k]) == afterDateLine(files[0][k]));
        }
        QVERIFY(files[1][0].find("{IQGAIN:1.500000E+000;2.000000E+000}\n{IQOFFSET:-3.500000E-002;2.000000E-001}\n") !=
                std::string::npos);
        QVERIFY(files[1][0].find("{SAMPLINGFREQ:100000000.000000}\n") != std::string::npos);
        QVERIFY(files[1][1].find("{SAMPLINGFREQ:50000000.000000}\n") != std::string::npos);
    }

    // "Specify Data Size" keeps the typed size after a cancelled dialog, and
    // a later command with the box unchecked passes it on.
    void typedSizeStaysAfterCancel() {
        WindowUnderTest ui;
        const QString input = scratchPath("size.bin");
        writeFloatFile(input, 2000);
        ui.dialogs.fileAnswers.push_back(input);
        ui.action("MnuLoadBf")->trigger();
        QCOMPARE(ui.state.input.DataSize, 2000);
        ui.setChecked("ChkSpecSize", true);
        ui.type("TxtDataSizeI", QStringLiteral("1000"));
        ui.click("BtnTransform");  // no answer: cancelled
        QCOMPARE(ui.dialogs.fileRequests.back().title, QStringLiteral("Data Save"));
        QCOMPARE(ui.state.input.DataSize, 1000);

        ui.setChecked("ChkSpecSize", false);
        const QString out = scratchPath("size.awv");
        ui.dialogs.fileAnswers.push_back(out);
        ui.click("BtnTransform");
        QVERIFY(readAll(out).find("{WAVEDATA:8000;") != std::string::npos);
    }

    // A transform clicked while a load reads its file (the load lets pending
    // events run) waits for the load instead of converting half-known input.
    void noTransformDuringALoad() {
        WindowUnderTest ui;
        const QString input = scratchPath("long.txt");
        writeTextFile(input, 30000);
        ui.dialogs.fileAnswers.push_back(input);
        bool clickedWhileLoading = false;
        QTimer::singleShot(0, ui.find<QPushButton>("BtnTransform"), [&] {
            clickedWhileLoading = ui.window->findChild<input::SignalSourceGroup*>()->isLoading();
            ui.find<QPushButton>("BtnTransform")->click();
        });
        ui.action("MnuLoadIQ")->trigger();
        QVERIFY(clickedWhileLoading);
        QCOMPARE(ui.state.input.DataSize, 30000);
        QCOMPARE(ui.dialogs.fileRequests.size(), size_t{1});  // the load's own dialog only
        QCOMPARE(ui.dialogs.messages.size(), size_t{1});
        QVERIFY(ui.dialogs.messages[0].text.contains(QStringLiteral("still being loaded")));
    }

    // The engine cannot create the file: the message names it, the window
    // is restored, and nothing is left behind.
    void failedConversionIsReported() {
        WindowUnderTest ui;
        const QString input = scratchPath("fail.bin");
        writeFloatFile(input, 400);
        ui.dialogs.fileAnswers.push_back(input);
        ui.action("MnuLoadBf")->trigger();
        const QString out = scratchPath("no such folder/out.awv");
        ui.dialogs.fileAnswers.push_back(out);

        ui.click("BtnTransIF");

        QCOMPARE(ui.dialogs.messages.size(), size_t{1});
        QCOMPARE(ui.dialogs.messages[0].text, QStringLiteral("The waveform file was not written:\n") + out);
        QCOMPARE(ui.dialogs.messages[0].caption, QStringLiteral("Orvenda"));
        QVERIFY(!QFile::exists(out));
        QVERIFY(ui.find<QPushButton>("BtnTransIF")->isEnabled());
        QVERIFY(ui.find<QPushButton>("BtnTransform")->isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

}  // namespace orvenda::testing

QTEST_MAIN(orvenda::testing::TransformEndToEndTest)
#include "transform_end_to_end_test.moc"
