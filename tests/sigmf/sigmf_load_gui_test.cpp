// "Load SigMF Recording..." in the real main window: the file type, name,
// Data Size and Sampling Freq it sets, the binary loads' rules it keeps, the
// refused recordings that change nothing, and the temporary samples that go
// when another load replaces them or the window closes.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <memory>

#include "core/state/comon_lib.h"
#include "gui/input/signal_source_group.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "tests/sigmf/sigmf_test_files.h"
#include "tests/support/scripted_dialogs.h"

using orvenda::ComonLib;
using orvenda::FrmHalvikWaveMain;
using orvenda::testing::ScriptedDialogs;
using namespace orvenda::sigmf::test;

class SigmfLoadGuiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ComonLib> state_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<FrmHalvikWaveMain> window_;
    std::unique_ptr<Scratch> scratch_;

    template <class T>
    T* child(const char* name) {
        T* found = window_->findChild<T*>(QString::fromLatin1(name));
        if (!found) qFatal("no control %s", name);
        return found;
    }
    QString text(const char* box) { return child<QLineEdit>(box)->text(); }
    // A recording r.sigmf-meta / r.sigmf-data; the next file dialog answers with `answer`.
    void recording(const std::string& meta, const std::string& data, const char* answer = "r.sigmf-meta") {
        writeBytes(scratch_->file("r.sigmf-meta"), meta);
        writeBytes(scratch_->file("r.sigmf-data"), data);
        dialogs_->fileAnswers.push_back(QString::fromStdString(scratch_->file(answer)));
    }
    void loadRecording() { child<QAction>("MnuLoadSigmf")->trigger(); }
    QStringList messages() const {
        QStringList texts;
        for (const auto& m : dialogs_->messages) texts << m.text + " | " + m.caption;
        return texts;
    }

private slots:
    void init() {
        scratch_ = std::make_unique<Scratch>();
        state_ = std::make_unique<ComonLib>();
        dialogs_ = std::make_unique<ScriptedDialogs>();
        window_ = std::make_unique<FrmHalvikWaveMain>(*state_, *dialogs_);
    }
    void cleanup() {
        window_.reset();
        scratch_.reset();
    }

    void convertedRecordingFillsTheGroupAndTheRate() {
        recording(metaText("cu8", R"(, "core:sample_rate": 61440000)"), encodeSamples("cu8", 1001).data);
        loadRecording();
        QCOMPARE(dialogs_->fileRequests.size(), size_t{1});
        QCOMPARE(dialogs_->fileRequests[0].title, QString("SigMF Recording Load"));
        QCOMPARE(messages(), QStringList{"Data Size is not nultiple of 4. | Warning!"});
        QCOMPARE(child<QComboBox>("CmbSelFileType")->currentIndex(), 3);
        QCOMPARE(text("TxtFnameI"), QString("r.sigmf-data"));
        QCOMPARE(text("TxtDataSizeI"), QString("1004"));
        QCOMPARE(text("TxtFs"), QString("61.440000000000"));
        const std::string samples = state_->input.IQFilePath;
        QCOMPARE(state_->input.InputDataType, HALVIK_TYPE_FLOAT_PAIRS);
        QCOMPARE(state_->input.DataSize, 1004);
        QVERIFY(samples != scratch_->file("r.sigmf-data"));
        QCOMPARE(readBytes(samples), encodeSamples("cu8", 1001).engineBytes);

        // Another load replaces the recording: its samples go.
        writeBytes(scratch_->file("s.MNT"), std::string(16, '\1'));
        dialogs_->fileAnswers.push_back(QString::fromStdString(scratch_->file("s.MNT")));
        child<QAction>("MnuLoadBs")->trigger();
        QCOMPARE(state_->input.IQFilePath, scratch_->file("s.MNT"));
        QVERIFY(!std::filesystem::exists(samples));
    }

    void engineLayoutIsReadInPlaceAsShortPairs() {
        recording(metaText("ci16_le"), encodeSamples("ci16_le", 8).data, "r.sigmf-data");
        loadRecording();
        QCOMPARE(messages(), QStringList{});
        QCOMPARE(child<QComboBox>("CmbSelFileType")->currentIndex(), 2);
        QCOMPARE(state_->input.IQFilePath, scratch_->file("r.sigmf-data"));
        QCOMPARE(state_->input.InputDataType, HALVIK_TYPE_INT16_PAIRS);
        QCOMPARE(text("TxtDataSizeI"), QString("8"));
        QCOMPARE(text("TxtFs"), QString("200.000000000000"));  // no rate in the recording
    }

    void rateOutsideTheLimitsLeavesTheField() {
        recording(metaText("ci8", R"(, "core:sample_rate": 250e6)"), encodeSamples("ci8", 4).data);
        loadRecording();
        QCOMPARE(messages(), QStringList{QString::fromStdString(scratch_->file("r.sigmf-meta")) +
                                         ": core:sample_rate 250 MHz is outside the Sampling Freq limits 12.5 to 200 "
                                         "MHz; Sampling Freq is left as it was | Orvenda"});
        QCOMPARE(text("TxtFs"), QString("200.000000000000"));
        QCOMPARE(state_->input.DataSize, 4);
    }

    void refusedRecordingsChangeNothing() {
        recording(metaText("cf32_le"), encodeSamples("cf32_le", 12).data);
        loadRecording();
        const orvenda::input::LoadedInput loaded = state_->input;
        const QString shownName = text("TxtFnameI");

        std::string nan(8, '\0');
        nan += std::string("\0\0\xc0\x7f", 4) + std::string(4, '\0');
        const struct {
            std::string meta, data, message;
        } cases[] = {
            {metaText("cf32_le", R"(, "core:num_channels": 2)"), std::string(16, '\0'),
             "r.sigmf-meta: global core:num_channels: is 2"},
            {metaText("ci8", R"(, "core:sample_rate": 61440000)"), std::string(3, '\0'),
             "r.sigmf-data: 3 bytes of samples are not a whole number of ci8 samples"},
            {metaText("cf32_be", R"(, "core:sample_rate": 61440000)"), std::string(8, '\0') + std::string(8, '\xff'),
             "r.sigmf-data: sample 1 (counted from 0): I is not a finite number"},
            {metaText("cf32_le", "", R"([{"core:sample_start": 0, "core:header_bytes": 8}])"), nan,
             "r.sigmf-data: sample 0 (counted from 0): I is not a finite number"},
        };
        for (const auto& c : cases) {
            dialogs_->messages.clear();
            recording(c.meta, c.data);
            loadRecording();
            QCOMPARE(dialogs_->messages.size(), size_t{1});
            QVERIFY2(dialogs_->messages[0].text.contains(QString::fromStdString(c.message)),
                     qPrintable(dialogs_->messages[0].text));
            QCOMPARE(state_->input.IQFilePath, loaded.IQFilePath);
            QCOMPARE(state_->input.DataSize, loaded.DataSize);
            QCOMPARE(state_->input.PeakI, loaded.PeakI);
            QCOMPARE(text("TxtFnameI"), shownName);
            QCOMPARE(text("TxtFs"), QString("200.000000000000"));
        }
        QVERIFY(!window_->findChild<orvenda::input::SignalSourceGroup*>()->isLoading());
    }

    void closingTheWindowRemovesTheSamples() {
        recording(metaText("cu16_be"), encodeSamples("cu16_be", 16).data);
        loadRecording();
        const std::string samples = state_->input.IQFilePath;
        QVERIFY(std::filesystem::exists(samples));
        // A refused load of another file keeps the recording loaded.
        dialogs_->fileAnswers.push_back(QString::fromStdString(scratch_->file("absent.TXD")));
        child<QAction>("MnuLoadBf")->trigger();
        QCOMPARE(state_->input.IQFilePath, samples);
        QVERIFY(std::filesystem::exists(samples));
        window_.reset();
        QVERIFY(!std::filesystem::exists(samples));
    }
};

QTEST_MAIN(SigmfLoadGuiTest)
#include "sigmf_load_gui_test.moc"
