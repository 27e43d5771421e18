// The settings frames as the window shows them. Controls are created in the
// order they appear, top to bottom and left to right, which is also the order
// in which the window chains their keyboard focus.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/settings/frame_box.h"
#include "gui/settings/option_group.h"
#include "gui/settings/panel_controls.h"

namespace orvenda::settings {
namespace {

// The six blanks at the start of a switched group's title hold its check box.
QString switchedTitle(const char* title) { return QStringLiteral("      ") + QString::fromLatin1(title); }

FrameBox* topFrame(const char* name, const char* title, QWidget* parent) {
    auto* frame = new FrameBox(QString::fromLatin1(name), QString::fromLatin1(title), parent);
    frame->setTitleColor(kTopFrameTitleColor);
    return frame;
}

FrameBox* frame(const char* name, const QString& title, QWidget* parent) {
    return new FrameBox(QString::fromLatin1(name), title, parent);
}

QCheckBox* checkBox(const char* name, const char* caption, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLabel* label(const char* name, const char* text, QWidget* parent) {
    auto* lbl = new QLabel(QString::fromLatin1(text), parent);
    lbl->setObjectName(QString::fromLatin1(name));
    return lbl;
}

// A text box wide enough for `chars` digits.
QLineEdit* textBox(const char* name, const char* text, int chars, QWidget* parent) {
    auto* box = new QLineEdit(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    const int digits = box->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0')));
    box->setFixedWidth(digits + 16);
    box->setAlignment(Qt::AlignRight);
    return box;
}

OptionGroup* options(const char* name, std::initializer_list<const char*> captions, QWidget* parent) {
    QStringList list;
    for (const char* caption : captions) list << QString::fromLatin1(caption);
    return new OptionGroup(QString::fromLatin1(name), list, parent);
}

// "I" [text] "mVp-p" rows under an interlock check box.
void levelRows(const QString& group, QGridLayout* grid, int row, QLabel* i, QLineEdit* iText, QLabel* iUnit, QLabel* q,
               QLineEdit* qText, QLabel* qUnit) {
    i->setBuddy(iText);
    q->setBuddy(qText);
    // The captions "I" and "Q" stand in two groups; say which one.
    iText->setAccessibleName(group + QStringLiteral(" I"));
    qText->setAccessibleName(group + QStringLiteral(" Q"));
    grid->addWidget(i, row, 0);
    grid->addWidget(iText, row, 1);
    grid->addWidget(iUnit, row, 2);
    grid->addWidget(q, row + 1, 0);
    grid->addWidget(qText, row + 1, 1);
    grid->addWidget(qUnit, row + 1, 2);
    grid->setColumnStretch(3, 1);
}

void buildOutputControl(PanelControls& c, QWidget* parent) {
    c.outputControl = topFrame("FraIQOutputControl", "IQ Output Control", parent);
    auto* column = new QVBoxLayout(c.outputControl);

    FrameBox* filter = frame("FraIQFilter", switchedTitle("I/Q Filter"), c.outputControl);
    c.ChkIQFilter = filter->addTitleSwitch(QStringLiteral("ChkIQFilter"));
    c.CmbFilt = new QComboBox(filter);
    c.CmbFilt->setObjectName(QStringLiteral("CmbFilt"));
    c.CmbFilt->addItems({QStringLiteral("Filt 2.5M"), QStringLiteral("Filt 50M"), QStringLiteral("Filt Through")});
    c.CmbFilt->setCurrentIndex(0);
    (new QVBoxLayout(filter))->addWidget(c.CmbFilt);
    column->addWidget(filter);

    FrameBox* fullScale = frame("FraDataFullScale", QStringLiteral("Data Full Scale"), c.outputControl);
    c.ChkIQInv = checkBox("ChkIQInv", "IQ Inverse", fullScale);
    c.TxtAWGGain = textBox("TxtAWGGain", "1.0", 8, fullScale);
    auto* dfsGrid = new QGridLayout(fullScale);
    dfsGrid->addWidget(c.ChkIQInv, 0, 0, 1, 2);
    c.TxtAWGGain->setAccessibleName(QStringLiteral("Data Full Scale"));
    dfsGrid->addWidget(c.TxtAWGGain, 1, 0);
    dfsGrid->addWidget(label("LblDFSRange", "(0 <= DFS <= 1)", fullScale), 1, 1);
    dfsGrid->setColumnStretch(2, 1);
    column->addWidget(fullScale);

    FrameBox* offset = frame("FraIQOffset", switchedTitle("I/Q Offset"), c.outputControl);
    c.ChkIQOffset = offset->addTitleSwitch(QStringLiteral("ChkIQOffset"));
    c.ChkIQOffsetLock = checkBox("ChkIQOffsetLock", "I/Q value Interlock", offset);
    c.LblIQOffsetI = label("LblIQOffsetI", "I", offset);
    c.TxtIOffset = textBox("TxtIOffset", "200", 6, offset);
    c.LblIQOffsetUnitI = label("LblIQOffsetUnitI", "mVp-p", offset);
    c.LblIQOffsetQ = label("LblIQOffsetQ", "Q", offset);
    c.TxtQOffset = textBox("TxtQOffset", "200", 6, offset);
    c.LblIQOffsetUnitQ = label("LblIQOffsetUnitQ", "mVp-p", offset);
    auto* offsetGrid = new QGridLayout(offset);
    offsetGrid->addWidget(c.ChkIQOffsetLock, 0, 0, 1, 4);
    levelRows(QStringLiteral("I/Q Offset"), offsetGrid, 1, c.LblIQOffsetI, c.TxtIOffset, c.LblIQOffsetUnitI,
              c.LblIQOffsetQ, c.TxtQOffset, c.LblIQOffsetUnitQ);
    column->addWidget(offset);

    FrameBox* output = frame("FraIQOutput", switchedTitle("I/Q Output"), c.outputControl);
    c.ChkIQOutput = output->addTitleSwitch(QStringLiteral("ChkIQOutput"));
    c.OptIQOutput = options("OptIQOutput", {"Fix Gain Path(1Vp-p)", "Variable Gain Path"}, output);
    FrameBox* gains = frame("FraIQOutputGain", QString(), output);
    c.ChkIQOutputLock = checkBox("ChkIQOutputLock", "I/Q value Interlock", gains);
    c.LblIQOutputI = label("LblIQOutputI", "I", gains);
    c.TxtIOutput = textBox("TxtIOutput", "2000", 6, gains);
    c.LblIQOutputUnitI = label("LblIQOutputUnitI", "mVp-p", gains);
    c.LblIQOutputQ = label("LblIQOutputQ", "Q", gains);
    c.TxtQOutput = textBox("TxtQOutput", "2000", 6, gains);
    c.LblIQOutputUnitQ = label("LblIQOutputUnitQ", "mVp-p", gains);
    auto* gainGrid = new QGridLayout(gains);
    gainGrid->addWidget(c.ChkIQOutputLock, 0, 0, 1, 4);
    levelRows(QStringLiteral("I/Q Output"), gainGrid, 1, c.LblIQOutputI, c.TxtIOutput, c.LblIQOutputUnitI,
              c.LblIQOutputQ, c.TxtQOutput, c.LblIQOutputUnitQ);
    auto* outputColumn = new QVBoxLayout(output);
    outputColumn->addWidget(c.OptIQOutput->button(0));
    outputColumn->addWidget(c.OptIQOutput->button(1));
    outputColumn->addWidget(gains);
    column->addWidget(output);
    column->addStretch();
}

void buildOutputSetup(PanelControls& c, QWidget* parent) {
    c.outputSetup = topFrame("FraOutputSetup", "Output Setup", parent);
    auto* column = new QVBoxLayout(c.outputSetup);

    FrameBox* sequence = frame("FraOutputSequence", switchedTitle("Output Sequence"), c.outputSetup);
    c.ChkOutputSequence = sequence->addTitleSwitch(QStringLiteral("ChkOutputSequence"));
    c.OptOutputSequence = options("OptOutputSequence", {"Continuous", "Single", "Gated"}, sequence);
    FrameBox* gated = frame("FraGated", QString(), sequence);
    c.OptGated = options("OptGated", {"Trigger Edge", "Trigger Level"}, gated);
    auto* gatedColumn = new QVBoxLayout(gated);
    gatedColumn->addWidget(c.OptGated->button(0));
    gatedColumn->addWidget(c.OptGated->button(1));
    FrameBox* loop = frame("FraLoopNum", QString(), sequence);
    c.TxtLoopNum = textBox("TxtLoopNum", "1", 6, loop);
    c.LblLoopNum = label("LblLoopNum", "Loop Num", loop);
    c.LblLoopNum->setBuddy(c.TxtLoopNum);
    auto* loopRow = new QHBoxLayout(loop);
    loopRow->addWidget(c.TxtLoopNum);
    loopRow->addWidget(c.LblLoopNum);
    loopRow->addStretch();
    auto* sequenceChoices = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) sequenceChoices->addWidget(c.OptOutputSequence->button(i));
    sequenceChoices->addStretch();
    auto* sequenceDetails = new QVBoxLayout;
    sequenceDetails->addWidget(gated);
    sequenceDetails->addWidget(loop);
    auto* sequenceRow = new QHBoxLayout(sequence);
    sequenceRow->addLayout(sequenceChoices);
    sequenceRow->addLayout(sequenceDetails);
    column->addWidget(sequence);

    FrameBox* trigger = frame("FraStartTrigger", switchedTitle("Start Trigger"), c.outputSetup);
    c.ChkStartTrigger = trigger->addTitleSwitch(QStringLiteral("ChkStartTrigger"));
    c.OptStartTrigger = options("OptStartTrigger", {"Internal", "Link"}, trigger);
    FrameBox* link = frame("FraLink", QString(), trigger);
    c.OptLink = options("OptLink", {"Positive", "Negative"}, link);
    auto* linkColumn = new QVBoxLayout(link);
    linkColumn->addWidget(c.OptLink->button(0));
    linkColumn->addWidget(c.OptLink->button(1));
    auto* triggerChoices = new QVBoxLayout;
    triggerChoices->addWidget(c.OptStartTrigger->button(0));
    triggerChoices->addWidget(c.OptStartTrigger->button(1));
    triggerChoices->addStretch();
    auto* triggerRow = new QHBoxLayout(trigger);
    triggerRow->addLayout(triggerChoices);
    triggerRow->addWidget(link);
    column->addWidget(trigger);

    auto* fsRow = new QHBoxLayout;
    QLabel* fsLabel = label("LblFs", "Sampling Freq", c.outputSetup);
    fsRow->addWidget(fsLabel);
    c.TxtFs = textBox("TxtFs", "200.000000000000", 18, c.outputSetup);
    fsLabel->setBuddy(c.TxtFs);
    fsRow->addWidget(c.TxtFs);
    fsRow->addWidget(label("LblFsUnit", "MHz", c.outputSetup));
    fsRow->addStretch();
    column->addLayout(fsRow);
    column->addStretch();
}

void buildMarker(PanelControls& c, QWidget* parent) {
    c.marker = frame("FraMarker", switchedTitle("Marker"), parent);
    c.ChkMarkerMode = c.marker->addTitleSwitch(QStringLiteral("ChkMarkerMode"));
    c.OptMark = options("OptMark", {"Auto Edit", "Manual Edit"}, c.marker);
    FrameBox* onBoxes = frame("FraMarkOn", QString(), c.marker);
    c.ChkMark1 = checkBox("ChkMark1", "Marker1 ON", onBoxes);
    c.ChkMark2 = checkBox("ChkMark2", "Marker2 ON", onBoxes);
    auto* onColumn = new QVBoxLayout(onBoxes);
    onColumn->addWidget(c.ChkMark1);
    onColumn->addWidget(c.ChkMark2);
    auto* modeColumn = new QVBoxLayout;
    modeColumn->addWidget(c.OptMark->button(0));
    modeColumn->addWidget(c.OptMark->button(1));
    auto* row = new QHBoxLayout(c.marker);
    row->addLayout(modeColumn);
    row->addWidget(onBoxes);
}

void buildIntermediateFrequency(PanelControls& c, QWidget* parent) {
    c.intermediate = topFrame("FraIntermediateFrequency", "Intermidiate Frequency", parent);
    c.OptIF = options("OptIF", {"IF", "Freq Offset"}, c.intermediate);
    auto* carrierLabel = label("LblCarrierFreq", "Carrier Freq", c.intermediate);
    c.TxtIFFreq = textBox("TxtIFFreq", "21.4", 10, c.intermediate);
    carrierLabel->setBuddy(c.TxtIFFreq);
    auto* grid = new QGridLayout(c.intermediate);
    grid->addWidget(c.OptIF->button(0), 0, 0);
    grid->addWidget(c.OptIF->button(1), 0, 1, 1, 2);
    grid->addWidget(carrierLabel, 1, 0);
    grid->addWidget(c.TxtIFFreq, 1, 1);
    grid->addWidget(label("LblIFFreqUnit", "MHz", c.intermediate), 1, 2);
    grid->setColumnStretch(3, 1);
}

// The designed initial state: first options selected, interlocks checked,
// everything that depends on an unchecked switch disabled.
void setInitialState(PanelControls& c) {
    for (OptionGroup* group :
         {c.OptIQOutput, c.OptOutputSequence, c.OptGated, c.OptStartTrigger, c.OptLink, c.OptMark, c.OptIF})
        group->select(0);
    c.ChkIQOffsetLock->setChecked(true);
    c.ChkIQOutputLock->setChecked(true);

    for (QWidget* w :
         std::initializer_list<QWidget*>{c.CmbFilt, c.ChkIQOffsetLock, c.TxtIOffset, c.TxtQOffset, c.LblIQOffsetI,
                                         c.LblIQOffsetQ, c.LblIQOffsetUnitI, c.LblIQOffsetUnitQ, c.ChkIQOutputLock,
                                         c.TxtIOutput, c.TxtQOutput, c.LblIQOutputI, c.LblIQOutputQ, c.LblIQOutputUnitI,
                                         c.LblIQOutputUnitQ, c.TxtLoopNum, c.LblLoopNum, c.ChkMark1, c.ChkMark2})
        w->setEnabled(false);
    for (OptionGroup* group : {c.OptIQOutput, c.OptOutputSequence, c.OptGated, c.OptStartTrigger, c.OptLink, c.OptMark})
        group->setAllEnabled(false);
}

}  // namespace

PanelControls buildPanelControls(QWidget* parent) {
    PanelControls c;
    buildOutputControl(c, parent);
    buildOutputSetup(c, parent);
    buildMarker(c, parent);
    buildIntermediateFrequency(c, parent);
    setInitialState(c);
    return c;
}

}  // namespace orvenda::settings
