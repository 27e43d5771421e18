// Scaffolding: the controls and loads are filled in by the input loading work.
#include "input/signal_source_group.h"

namespace orvenda::input {

SignalSourceGroup::SignalSourceGroup(LoadedInput& state, UserDialogs& dialogs, QWidget* parent)
    : QGroupBox(QStringLiteral("Signal Source "), parent), state_(state), dialogs_(dialogs) {}

void SignalSourceGroup::loadIText() {}
void SignalSourceGroup::loadQText() {}
void SignalSourceGroup::loadIQText() {}
void SignalSourceGroup::loadBinaryShort() {}
void SignalSourceGroup::loadBinaryFloat() {}
bool SignalSourceGroup::isLoading() const { return false; }
bool SignalSourceGroup::specifyDataSize() const { return false; }
QString SignalSourceGroup::dataSizeText() const { return QString(); }

}  // namespace orvenda::input
