// The "Signal Source " group driven through the real main window: the file
// type list, the five loads from menu items and buttons, the data-size rules
// and messages, and refused files that leave everything as it was.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "core/state/comon_lib.h"
#include "gui/input/signal_source_group.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "tests/support/scripted_dialogs.h"

using orvenda::ComonLib;
using orvenda::FrmHalvikWaveMain;
using orvenda::input::LoadedInput;
using orvenda::testing::ScriptedDialogs;

namespace {

struct Shown {
    QString fileNameI, fileNameQ, countI, countQ;
    bool operator==(const Shown&) const = default;
};

bool sameState(const LoadedInput& a, const LoadedInput& b) {
    return a.SelFileType == b.SelFileType && a.InputFileKind == b.InputFileKind && a.InputDataType == b.InputDataType &&
           a.IQFilePath == b.IQFilePath && a.IFilePath == b.IFilePath && a.QFilePath == b.QFilePath &&
           a.DataSize == b.DataSize && a.PeakI == b.PeakI && a.PeakQ == b.PeakQ;
}

QByteArray shortPairs(std::initializer_list<std::pair<qint16, qint16>> records) {
    QByteArray out;
    for (auto [i, q] : records)
        for (qint16 v : {i, q}) {
            out.append(static_cast<char>(v & 0xff));
            out.append(static_cast<char>((v >> 8) & 0xff));
        }
    return out;
}

QByteArray linesOf(int count, const char* format) {
    QByteArray out;
    for (int k = 1; k <= count; ++k) out += QByteArray(format).replace("%", QByteArray::number(k % 7));
    return out;
}

}  // namespace

class SignalSourceGroupTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ComonLib> state_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<FrmHalvikWaveMain> window_;
    QTemporaryDir dir_;

    template <class T>
    T* child(const char* name) {
        T* found = window_->findChild<T*>(QString::fromLatin1(name));
        if (!found) qFatal("no control %s", name);
        return found;
    }
    LoadedInput& input() { return state_->input; }
    QComboBox* fileType() { return child<QComboBox>("CmbSelFileType"); }
    QPushButton* loadI() { return child<QPushButton>("CmdLoadI"); }
    QPushButton* loadQ() { return child<QPushButton>("CmdLoadQ"); }
    QCheckBox* specifySize() { return child<QCheckBox>("ChkSpecSize"); }
    QLineEdit* countI() { return child<QLineEdit>("TxtDataSizeI"); }
    void trigger(const char* menuItem) { child<QAction>(menuItem)->trigger(); }
    Shown shown() {
        return {child<QLineEdit>("TxtFnameI")->text(), child<QLineEdit>("TxtFnameQ")->text(), countI()->text(),
                child<QLineEdit>("TxtDataSizeQ")->text()};
    }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // Answers the next file dialog with a file holding `bytes`.
    QString answerWith(const QString& name, const QByteArray& bytes) {
        const QString path = file(name, bytes);
        dialogs_->fileAnswers.push_back(path);
        return path;
    }
    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& m : dialogs_->messages) texts << m.text + " | " + m.caption;
        return texts;
    }
    // Runs one load by its menu item or its button.
    void runLoad(const QString& how) {
        if (how.startsWith("Mnu"))
            trigger(how.toLatin1().constData());
        else if (how == "CmdLoadQ")
            QTest::mouseClick(loadQ(), Qt::LeftButton);
        else
            QTest::mouseClick(loadI(), Qt::LeftButton);
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        state_ = std::make_unique<ComonLib>();
        dialogs_ = std::make_unique<ScriptedDialogs>();
        window_ = std::make_unique<FrmHalvikWaveMain>(*state_, *dialogs_);
    }
    void cleanup() { window_.reset(); }

    void startsAsDesigned() {
        auto* group = window_->findChild<orvenda::input::SignalSourceGroup*>();
        QVERIFY(group);
        QCOMPARE(group->title(), QString("Signal Source "));
        QStringList items;
        for (int k = 0; k < fileType()->count(); ++k) items << fileType()->itemText(k);
        QCOMPARE(items, (QStringList{"Text(I or Q)", "Text(IQ)", "Binary(short, IQ)", "Binary(float, IQ)"}));
        QCOMPARE(fileType()->currentIndex(), 0);
        QCOMPARE(loadI()->text(), QString("Load I"));
        QCOMPARE(loadQ()->text(), QString("Load Q"));
        QCOMPARE(child<QLabel>("Lbl_DataSizeQ")->text(), QString("Data Size"));
        QCOMPARE(specifySize()->text(), QString("Specify Data Size"));
        QVERIFY(!specifySize()->isChecked());
        QCOMPARE(shown(), Shown{});
        QCOMPARE(input().SelFileType, 0);
        QCOMPARE(input().InputFileKind, 0);
    }

    void fileTypeSwitchesCaptionAndQControls_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("qEnabled");
        QTest::newRow("Text(I or Q)") << 0 << "Load I" << true;
        QTest::newRow("Text(IQ)") << 1 << "Load IQ" << false;
        QTest::newRow("Binary(short, IQ)") << 2 << "Load IQ" << false;
        QTest::newRow("Binary(float, IQ)") << 3 << "Load IQ" << false;
    }
    void fileTypeSwitchesCaptionAndQControls() {
        QFETCH(int, type);
        QFETCH(QString, caption);
        QFETCH(bool, qEnabled);
        // Start from another type so that the change really happens.
        fileType()->setCurrentIndex(type == 1 ? 2 : 1);
        const LoadedInput before = input();
        fileType()->setCurrentIndex(type);
        QCOMPARE(loadI()->text(), caption);
        for (const char* name : {"CmdLoadQ", "TxtFnameQ", "Lbl_DataSizeQ", "TxtDataSizeQ"})
            QVERIFY2(child<QWidget>(name)->isEnabled() == qEnabled, name);
        QCOMPARE(input().SelFileType, type);
        LoadedInput expected = before;
        expected.SelFileType = type;
        QVERIFY(sameState(input(), expected));
    }

    void loadsInSequenceIThenQThenIQThenI() {
        const QString iPath = answerWith("a.i", "1\n-2\n3\n4\n");
        trigger("MnuLoadI");
        QCOMPARE(dialogs_->fileRequests.back().title, QString("I Data Load"));
        QCOMPARE(input().InputFileKind, 1);
        QCOMPARE(input().InputDataType, 1);
        QCOMPARE(input().IFilePath, iPath.toStdString());
        QCOMPARE(input().DataSize, 4);
        QCOMPARE(input().PeakI, 4.0);
        QCOMPARE(shown(), (Shown{"a.i", "", "4", ""}));

        const QString qPath = answerWith("b.q", "0.5 -8 1 2 3 4 5 6\n");
        QTest::mouseClick(loadQ(), Qt::LeftButton);
        QCOMPARE(dialogs_->fileRequests.back().title, QString("Q Data Load"));
        QCOMPARE(input().InputFileKind, 3);
        QCOMPARE(input().QFilePath, qPath.toStdString());
        QCOMPARE(input().DataSize, 8);  // the Q file's count, for both channels
        QCOMPARE(input().PeakI, 4.0);
        QCOMPARE(input().PeakQ, 8.0);
        QCOMPARE(shown(), (Shown{"a.i", "b.q", "4", "8"}));

        const QString iqPath = answerWith("c.dat", "0.5 -0.25\n1 2\n3 4\n5 6\n");
        trigger("MnuLoadIQ");
        QCOMPARE(dialogs_->fileRequests.back().title, QString("IQ Data Load"));
        QCOMPARE(fileType()->currentIndex(), 1);
        QCOMPARE(input().InputFileKind, 4);
        QCOMPARE(input().InputDataType, 1);
        QCOMPARE(input().IQFilePath, iqPath.toStdString());
        QCOMPARE(input().IFilePath, iPath.toStdString());  // other paths are kept
        QCOMPARE(input().PeakI, 5.0);
        QCOMPARE(input().PeakQ, 6.0);
        QCOMPARE(shown(), (Shown{"c.dat", "", "4", ""}));

        answerWith("d.i", "7 7 7 7\n");
        trigger("MnuLoadI");
        QCOMPARE(fileType()->currentIndex(), 0);
        QVERIFY(loadQ()->isEnabled());
        QCOMPARE(input().InputFileKind, 1);
        QVERIFY(dialogs_->messages.empty());
    }

    void eachLoadSetsKindTypeAndDialog_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("fileType");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("dataType");
        QTest::addColumn<double>("peakI");
        QTest::addColumn<double>("peakQ");
        const QByteArray four = shortPairs({{1, -32768}, {2, 3}, {-5, 4}, {0, 0}});
        QByteArray floats;
        for (float v : {0.5f, -1.5f, 2.0f, 0.25f, 0.f, 0.f, 0.f, 0.f})
            floats.append(reinterpret_cast<const char*>(&v), 4);
        QTest::newRow("I text by menu")
            << "MnuLoadI"
            << "x.i" << QByteArray("1 2 -3 4") << "I Data Load"
            << "IQSIM(*.i)|*.i|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*" << 0 << 1 << 1 << 4.0
            << 0.0;
        QTest::newRow("Q text by button")
            << "CmdLoadQ"
            << "x.q" << QByteArray("1 2 -3 4") << "Q Data Load"
            << "IQSIM(*.q)|*.q|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*" << 0 << 2 << 1 << 0.0
            << 4.0;
        QTest::newRow("IQ text by menu")
            << "MnuLoadIQ"
            << "x.txt" << QByteArray("1 2\n3 4\n5 6\n7 -8\n") << "IQ Data Load"
            << "data files(*.dat)|*.dat|text files(*.txt)|*.txt|CSV file(*.csv)|*.csv|all files(*.*)|*.*" << 1 << 4 << 1
            << 7.0 << 8.0;
        QTest::newRow("short by menu")
            << "MnuLoadBs"
            << "x.MNT" << four << "shor binary Data Load"
            << "MNT files(*.MNT)|*.MNT|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*" << 2 << 4
            << 2 << 5.0 << 32768.0;
        QTest::newRow("float by menu")
            << "MnuLoadBf"
            << "x.TXD" << floats << "float binary Data Load"
            << "TXD files(*.TXD)|*.TXD|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*" << 3 << 4
            << 3 << 2.0 << 1.5;
    }
    void eachLoadSetsKindTypeAndDialog() {
        QFETCH(QString, how);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        QFETCH(int, fileType);
        QFETCH(int, kind);
        QFETCH(int, dataType);
        QFETCH(double, peakI);
        QFETCH(double, peakQ);
        answerWith(name, bytes);
        runLoad(how);
        QCOMPARE(dialogs_->fileRequests.size(), size_t{1});
        QCOMPARE(dialogs_->fileRequests[0].title, title);
        QCOMPARE(dialogs_->fileRequests[0].filter, filter);
        QCOMPARE(this->fileType()->currentIndex(), fileType);
        QCOMPARE(input().SelFileType, fileType);
        QCOMPARE(input().InputFileKind, kind);
        QCOMPARE(input().InputDataType, dataType);
        QCOMPARE(input().DataSize, 4);
        QCOMPARE(input().PeakI, peakI);
        QCOMPARE(input().PeakQ, peakQ);
        QCOMPARE(messageTexts(), QStringList{});
    }

    void loadButtonRunsTheSelectedTypesLoad() {
        answerWith("s.MNT", shortPairs({{1, 1}, {1, 1}, {1, 1}, {1, 1}}));
        trigger("MnuLoadBs");
        QCOMPARE(fileType()->currentIndex(), 2);
        QCOMPARE(loadI()->text(), QString("Load IQ"));
        answerWith("t.MNT", shortPairs({{9, 1}, {1, 1}, {1, 1}, {1, 1}}));
        QTest::mouseClick(loadI(), Qt::LeftButton);
        QCOMPARE(dialogs_->fileRequests.back().title, QString("shor binary Data Load"));
        QCOMPARE(input().InputDataType, 2);
        QCOMPARE(input().PeakI, 9.0);
    }

    void csvIsDetectedByTheNamesEnding_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("peakI");
        QTest::addColumn<double>("peakQ");
        // As CSV: two records (1,2) and (5,6); as free format: four, (1,2) (9,4) (5,6) (7,8).
        QTest::newRow("capitals") << "a.CSV" << 2 << 5.0 << 6.0;
        QTest::newRow("small") << "b.csv" << 2 << 5.0 << 6.0;
        QTest::newRow("mixed case") << "c.Csv" << 4 << 9.0 << 8.0;
        QTest::newRow("other") << "d.dat" << 4 << 9.0 << 8.0;
    }
    void csvIsDetectedByTheNamesEnding() {
        QFETCH(QString, name);
        QFETCH(int, count);
        QFETCH(double, peakI);
        QFETCH(double, peakQ);
        // A load with larger values first: the peaks afterwards are the new file's only.
        answerWith("big.dat", "100 200\n300 400\n");
        trigger("MnuLoadIQ");
        answerWith(name, "1,2,9,4\n5,6,7,8\n");
        trigger("MnuLoadIQ");
        QCOMPARE(input().DataSize, count);
        QCOMPARE(input().PeakI, peakI);
        QCOMPARE(input().PeakQ, peakQ);
    }

    void cancelledDialogSwitchesTypeOnly() {
        answerWith("a.i", "1 2 3 4");
        trigger("MnuLoadI");
        const LoadedInput before = input();
        const Shown shownBefore = shown();
        dialogs_->fileAnswers.push_back(QString());
        trigger("MnuLoadBf");
        QCOMPARE(dialogs_->fileRequests.back().title, QString("float binary Data Load"));
        QCOMPARE(fileType()->currentIndex(), 3);
        QCOMPARE(loadI()->text(), QString("Load IQ"));
        QVERIFY(!loadQ()->isEnabled());
        LoadedInput expected = before;
        expected.SelFileType = 3;
        QVERIFY(sameState(input(), expected));
        QCOMPARE(shown(), shownBefore);
        QVERIFY(dialogs_->messages.empty());
    }

    void refusedFileLeavesEverythingAsItWas_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("place");
        QTest::addColumn<int>("fileType");
        QTest::newRow("I word") << "MnuLoadI"
                                << "bad.i" << QByteArray("1\n2\nabc\n") << "line 3" << 0;
        QTest::newRow("Q overflow") << "CmdLoadQ"
                                    << "bad.q" << QByteArray("1e999") << "line 1" << 0;
        QTest::newRow("IQ odd count") << "MnuLoadIQ"
                                      << "bad.dat" << QByteArray("1 2\n3\n") << "line 2" << 1;
        QTest::newRow("CSV one field") << "MnuLoadIQ"
                                       << "bad.csv" << QByteArray("1,2\n3\n") << "line 2" << 1;
        QTest::newRow("CSV empty line") << "MnuLoadIQ"
                                        << "bad.CSV" << QByteArray("1,2\n\n") << "line 2" << 1;
        QTest::newRow("CSV word") << "MnuLoadIQ"
                                  << "bad2.csv" << QByteArray("1,x\n") << "line 1" << 1;
        QByteArray nan(8, '\0');
        nan[3] = char(0x7f);
        nan[2] = char(0xc0);
        QTest::newRow("float NaN") << "MnuLoadBf"
                                   << "bad.TXD" << QByteArray(16, '\0') + nan << "record 3" << 3;
        QTest::newRow("missing file") << "MnuLoadBs"
                                      << "" << QByteArray() << "cannot be opened" << 2;
    }
    void refusedFileLeavesEverythingAsItWas() {
        QFETCH(QString, how);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, place);
        QFETCH(int, fileType);
        answerWith("good.i", "1 2 3 4 5 6 7 8");
        trigger("MnuLoadI");
        answerWith("good.q", "1 2 3 4");
        trigger("MnuLoadQ");
        const LoadedInput before = input();
        const Shown shownBefore = shown();
        const QString path = name.isEmpty() ? dir_.filePath("absent.MNT") : file(name, bytes);
        dialogs_->fileAnswers.push_back(path);
        runLoad(how);
        LoadedInput expected = before;
        expected.SelFileType = fileType;
        QVERIFY(sameState(input(), expected));
        QCOMPARE(shown(), shownBefore);
        QCOMPARE(dialogs_->messages.size(), size_t{1});
        const QString text = dialogs_->messages[0].text;
        QVERIFY2(text.contains(QFileInfo(path).fileName()), qPrintable(text));
        QVERIFY2(text.contains(place), qPrintable(text));
        QCOMPARE(dialogs_->messages[0].caption, QString("Orvenda"));
        auto* group = window_->findChild<orvenda::input::SignalSourceGroup*>();
        QVERIFY(!group->isLoading());
    }

    void refusedFileKeepsTheSizeAlsoWhenSpecified() {
        answerWith("good.dat", "1 2\n3 4\n5 6\n7 8\n");
        trigger("MnuLoadIQ");
        QCOMPARE(input().DataSize, 4);
        specifySize()->setChecked(true);
        countI()->setText("1000");
        const LoadedInput before = input();
        answerWith("bad.dat", "1 2\nx 4\n");
        trigger("MnuLoadIQ");
        QCOMPARE(dialogs_->messages.size(), size_t{1});
        QVERIFY(sameState(input(), before));
        QCOMPARE(countI()->text(), QString("1000"));
    }

    void sizeRulesAndWarnings_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("specified");  // empty: "Specify Data Size" off
        QTest::addColumn<int>("dataSize");
        QTest::addColumn<bool>("warned");
        QTest::addColumn<QString>("countShown");
        QTest::newRow("single 7 values") << "MnuLoadI"
                                         << "a.i" << QByteArray("1 2 3 4 5 6 7") << "" << 8 << true << "8";
        QTest::newRow("Q 5 values") << "MnuLoadQ"
                                    << "a.q" << QByteArray("1 2 3 4 5") << "" << 8 << true << "8";
        QTest::newRow("short 10 bytes") << "MnuLoadBs"
                                        << "a.MNT" << QByteArray("\1\0\2\0\3\0\4\0\5\0", 10) << "" << 4 << true << "4";
        QTest::newRow("IQ text keeps 998") << "MnuLoadIQ"
                                           << "a.dat" << linesOf(998, "% %\n") << "1000" << 998 << true << "998";
        QTest::newRow("CSV specified cuts 5000")
            << "MnuLoadIQ"
            << "a.csv" << linesOf(5000, "%,-%\n") << "1000" << 1000 << false << "1000";
        QTest::newRow("single 998 specified") << "MnuLoadI"
                                              << "b.i" << linesOf(998, "%\n") << "1000" << 1000 << true << "1000";
        QTest::newRow("half rounds to even") << "MnuLoadI"
                                             << "c.i" << linesOf(20, "%\n") << "10.5" << 12 << true << "12";
    }
    void sizeRulesAndWarnings() {
        QFETCH(QString, how);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, specified);
        QFETCH(int, dataSize);
        QFETCH(bool, warned);
        QFETCH(QString, countShown);
        if (!specified.isEmpty()) {
            specifySize()->setChecked(true);
            countI()->setText(specified);
        }
        answerWith(name, bytes);
        runLoad(how);
        QCOMPARE(input().DataSize, dataSize);
        const QStringList expected = warned ? QStringList{"Data Size is not nultiple of 4. | Warning!"} : QStringList{};
        QCOMPARE(messageTexts(), expected);
        const QString count = how == "MnuLoadQ" ? shown().countQ : shown().countI;
        QCOMPARE(count, countShown);
    }

    void specifiedSizeStaysWhenCancelled() {
        specifySize()->setChecked(true);
        countI()->setText("1000");
        trigger("MnuLoadIQ");  // the script has no answer: cancelled
        QCOMPARE(input().DataSize, 1000);
        QCOMPARE(input().InputFileKind, 0);
    }

    void unusableSpecifiedSizeIsRefusedBeforeTheDialog_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("why");
        QTest::newRow("word") << "abc"
                              << "is not a number";
        QTest::newRow("empty") << ""
                               << "is not a number";
        QTest::newRow("trailing letters") << "12abc"
                                          << "is not a number";
        QTest::newRow("rounds to 0") << "0.3"
                                     << "fewer than 1";
        QTest::newRow("negative") << "-8"
                                  << "fewer than 1";
    }
    void unusableSpecifiedSizeIsRefusedBeforeTheDialog() {
        QFETCH(QString, typed);
        QFETCH(QString, why);
        input().DataSize = 77;
        specifySize()->setChecked(true);
        countI()->setText(typed);
        trigger("MnuLoadBf");
        QVERIFY(dialogs_->fileRequests.empty());
        QCOMPARE(dialogs_->messages.size(), size_t{1});
        QVERIFY2(dialogs_->messages[0].text.contains(why), qPrintable(dialogs_->messages[0].text));
        QCOMPARE(input().DataSize, 77);
        QCOMPARE(fileType()->currentIndex(), 3);  // the switch comes first
    }

    void enterInTheCountBoxAppliesTheEntryRule_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("below 4") << "3"
                                 << "4";
        QTest::newRow("half") << "1000.5"
                              << "1001";
        QTest::newRow("above the limit") << "100000000"
                                         << "67108864";
    }
    void enterInTheCountBoxAppliesTheEntryRule() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        countI()->setFocus();
        QTest::keyClicks(countI(), typed);
        QTest::keyClick(countI(), Qt::Key_Return);
        QCOMPARE(countI()->text(), shown);
    }

    void progressShowsTheCountAndNoSecondLoadStarts() {
        auto* group = window_->findChild<orvenda::input::SignalSourceGroup*>();
        QSignalSpy loading(group, &orvenda::input::SignalSourceGroup::loadingChanged);
        answerWith("long.i", linesOf(25000, "%\n"));
        QStringList seen;
        bool wasLoading = false;
        // Runs inside the load, when it processes window events at 10,000 records.
        QTimer::singleShot(0, this, [&] {
            wasLoading = group->isLoading();
            seen << countI()->text() << child<QLineEdit>("TxtFnameI")->text();
            trigger("MnuLoadQ");  // must not start while the first load reads
        });
        trigger("MnuLoadI");
        QVERIFY(wasLoading);
        QCOMPARE(seen, (QStringList{"10000", "long.i"}));
        QCOMPARE(dialogs_->fileRequests.size(), size_t{1});
        QCOMPARE(input().DataSize, 25000);
        QCOMPARE(countI()->text(), QString("25000"));
        QCOMPARE(loading.size(), 2);
        QCOMPARE(loading[0][0].toBool(), true);
        QCOMPARE(loading[1][0].toBool(), false);
        QVERIFY(!group->isLoading());
    }
};

QTEST_MAIN(SignalSourceGroupTest)
#include "signal_source_group_test.moc"
