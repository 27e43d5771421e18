#include "tests/main_window/recording_halvik.h"

#include <QApplication>
#include <QCursor>
#include <QPushButton>
#include <QWidget>

namespace {

RecordedHalvikCall& recorded() {
    static RecordedHalvikCall call;
    return call;
}

bool buttonEnabled(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name))) return button->isEnabled();
    }
    return false;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) RecordedHalvikCall* RecordedHalvik() { return &recorded(); }

extern "C" __attribute__((visibility("default"))) int32_t Halvik(const char* IPath, const char* QPath,
                                                                 int32_t InputDataType, int32_t InputFileKind,
                                                                 const MarkerPoint* Marker1Points,
                                                                 const MarkerPoint* Marker2Points, int32_t SampleCount,
                                                                 double PeakValue, const ConversionSettings* Settings,
                                                                 const char* OutPath) {
    RecordedHalvikCall& call = recorded();
    ++call.calls;
    call.iPath = IPath;
    call.qPath = QPath;
    call.inputDataType = InputDataType;
    call.inputFileKind = InputFileKind;
    call.marker1 = Marker1Points;
    call.marker2 = Marker2Points;
    call.sampleCount = SampleCount;
    call.peakValue = PeakValue;
    call.settings = *Settings;
    call.outPath = OutPath;
    const QCursor* cursor = QApplication::overrideCursor();
    call.busyPointer = cursor && cursor->shape() == Qt::WaitCursor;
    call.baseBandEnabled = buttonEnabled("BtnTransform");
    call.ifEnabled = buttonEnabled("BtnTransIF");
    return call.result;
}
