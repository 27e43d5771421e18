// Helpers of the marker file GUI tests: a recording marker settings link, a
// dialog double that notes the mouse pointer while it is asked, and store
// comparison.
#ifndef ORVENDA_TESTS_MARKERS_MARKER_FILES_GUI_SUPPORT_H
#define ORVENDA_TESTS_MARKERS_MARKER_FILES_GUI_SUPPORT_H

#include <QApplication>
#include <QString>
#include <deque>
#include <vector>

#include "core/markers/marker_store.h"
#include "gui/common/user_dialogs.h"
#include "gui/markers/marker_settings_link.h"
#include "tests/markers/marker_file_test_support.h"

namespace orvenda::markers::testsupport {

class RecordingLink final : public MarkerSettingsLink {
public:
    struct Switch {
        int marker;
        bool checkOnBoxFirst;
        bool operator==(const Switch&) const = default;
    };
    std::vector<Switch> switches;
    std::vector<std::pair<int, bool>> onBoxes;
    std::vector<std::pair<int, QString>> fileNames;

    void switchMarkerOutputOn(MarkerNumber marker, bool checkOnBoxFirst) override {
        switches.push_back({numberOf(marker), checkOnBoxFirst});
    }
    void setMarkerOn(MarkerNumber marker, bool on) override { onBoxes.emplace_back(numberOf(marker), on); }
    void setMarkerFileName(MarkerNumber marker, const QString& name) override {
        fileNames.emplace_back(numberOf(marker), name);
    }
};

// Answers like ScriptedDialogs and notes whether a busy pointer was showing
// each time the user was asked or told something.
class PointerProbeDialogs final : public UserDialogs {
public:
    std::deque<QString> fileAnswers;
    std::vector<bool> busyWhileAsked;
    std::vector<QString> messages;

    QString openFile(QWidget*, const QString&, const QString&) override { return next(); }
    QString saveFile(QWidget*, const QString&, const QString&) override { return next(); }
    void message(QWidget*, const QString& text, const QString&) override {
        note();
        messages.push_back(text);
    }

private:
    void note() { busyWhileAsked.push_back(QApplication::overrideCursor() != nullptr); }
    QString next() {
        note();
        if (fileAnswers.empty()) return QString();
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

inline bool sameStore(const MarkerStore& a, const MarkerStore& b) {
    return a.Marker1Points == b.Marker1Points && a.Marker2Points == b.Marker2Points &&
           a.Marker1Count == b.Marker1Count && a.Marker2Count == b.Marker2Count && a.Marker1Length == b.Marker1Length &&
           a.Marker2Length == b.Marker2Length && a.MarkerLength == b.MarkerLength && a.CurrentMarker == b.CurrentMarker;
}

}  // namespace orvenda::markers::testsupport

#endif
