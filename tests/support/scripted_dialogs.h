// A UserDialogs that answers from a script and records every request, so GUI
// tests can drive commands that open dialogs and check what the user saw.
#ifndef ORVENDA_TESTS_SUPPORT_SCRIPTED_DIALOGS_H
#define ORVENDA_TESTS_SUPPORT_SCRIPTED_DIALOGS_H

#include <QString>
#include <deque>
#include <vector>

#include "gui/common/user_dialogs.h"

namespace orvenda::testing {

class ScriptedDialogs final : public UserDialogs {
public:
    struct FileRequest {
        QString title;
        QString filter;
        bool save = false;
    };
    struct Message {
        QString text;
        QString caption;
    };

    // Answers for the next file dialogs, in order; an empty string cancels.
    // When the script runs dry the dialog counts as cancelled.
    std::deque<QString> fileAnswers;
    std::vector<FileRequest> fileRequests;
    std::vector<Message> messages;

    QString openFile(QWidget*, const QString& title, const QString& filter) override {
        return answer({title, filter, false});
    }
    QString saveFile(QWidget*, const QString& title, const QString& filter) override {
        return answer({title, filter, true});
    }
    void message(QWidget*, const QString& text, const QString& caption) override {
        messages.push_back({text, caption});
    }

private:
    QString answer(FileRequest request) {
        fileRequests.push_back(std::move(request));
        if (fileAnswers.empty()) return QString();
        QString next = fileAnswers.front();
        fileAnswers.pop_front();
        return next;
    }
};

}  // namespace orvenda::testing

#endif
