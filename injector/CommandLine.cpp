#include "injector/CommandLine.h"

#include "common/Halvane_Common_Procedures.h"
#include "injector/UserMessages.h"
#include "injector/Utf16View.h"

namespace hcp = Halvane_Common_Procedures;

namespace CommandLine {
namespace {

// Blanks only: a tab is part of the value.
QString TrimBlanks(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first] == u' ')
    ++first;
  while (last > first && text[last - 1] == u' ')
    --last;
  return text.mid(first, last - first);
}

void SelectSystemPosition(const OptionTargets& form, const QString& value) {
  const double position = hcp::RoundHalfEven(hcp::LeadingNumber(Utf16View(value)));
  const int last = form.Combo_Systems.ListCount() - 1;
  if (position >= -1 && position <= last) {
    form.Combo_Systems.SetListIndex(static_cast<int>(position));
    return;
  }
  form.messages.ShowError(
      ProgramName(),
      QStringLiteral("option /c:%1 ignored: the system list has the positions 0 to %2 (-1 clears "
                     "the choice)")
          .arg(value)
          .arg(last));
}

}  // namespace

QString ArgumentText(const QStringList& arguments) {
  return arguments.join(u' ');
}

QList<Option> Parse(const QString& argumentText) {
  QList<Option> options;
  QString slash = QStringLiteral("/");
  QString colon = QStringLiteral(":");
  for (int k = 1;; ++k) {
    const QString option = FXL_Procs::Item(argumentText, static_cast<std::int16_t>(k), slash);
    if (option.isEmpty()) break;
    const qsizetype firstColon = option.indexOf(u':');
    options.append({TrimBlanks(FXL_Procs::Item(option, 0, colon)).toUpper(),
                    firstColon < 0 ? QString() : TrimBlanks(option.mid(firstColon + 1))});
  }
  return options;
}

Outcome Apply(const OptionTargets& form, const QString& argumentText) {
  Outcome outcome;
  bool oneShot = false;
  for (const Option& option : Parse(argumentText)) {
    const QString& k = option.keyword;
    if (k == u"G") {
      form.Option_ConnectionType.Select(0);
    } else if (k == u"D") {
      form.Option_ConnectionType.Select(1);
    } else if (k == u"F") {
      form.Option_ConnectionType.Select(2);
    } else if (k == u"C") {
      SelectSystemPosition(form, option.value);
    } else if (k.size() == 2 && k[0] == u'T' && k[1] >= u'0' && k[1] <= u'5') {
      form.Text_Field[k[1].digitValue()].SetText(option.value);
    } else if (k == u"U") {
      oneShot = true;
    } else if (k.size() == 2 && k[0] == u'S' && k[1] >= u'0' && k[1] <= u'3') {
      outcome.eventType = static_cast<std::int16_t>(k[1].digitValue());
    } else if (k == u"D0") {
      form.Check_SetDateAndTime.SetValue(0);
    } else if (k == u"D1") {
      form.Check_SetDateAndTime.SetValue(1);
    } else if (k == u"?") {
      outcome.action = Action::ShowHelp;
      return outcome;
    }
  }
  outcome.action = oneShot ? Action::SendOnce : Action::OpenWindow;
  return outcome;
}

Action Predict(const QString& argumentText) {
  bool oneShot = false;
  for (const Option& option : Parse(argumentText)) {
    if (option.keyword == u"?") return Action::ShowHelp;
    if (option.keyword == u"U") oneShot = true;
  }
  return oneShot ? Action::SendOnce : Action::OpenWindow;
}

QString HelpTitle() {
  return QStringLiteral("Fauxlarm - Automated Halvane Fake Alarms - Command Line Parameters");
}

QString HelpText() {
  struct Line {
    const char* option;
    const char* description;
    bool blankAfter;
  };
  static const Line kLines[] = {
      {"/g", "Send alarms/messages to Halvane using generic TCP", false},
      {"/d", "Send alarms/messages to Halvane using DLL calls", false},
      {"/f", "Send alarms/messages to Halvane using generic file (GenericFile.txt)", true},
      {"/c:nnn", "Emulate SCADA system number nnn", true},
      {"/d0", "Don't set date & time automatically", false},
      {"/d1", "Set date & time automatically to PC clock", true},
      {"/t0:xxx", "Set Tag field [T0] to xxx", false},
      {"/t1:xxx", "Set Area field [T1] to xxx", false},
      {"/t2:xxx", "Set Category field [T2] to xxx", false},
      {"/t3:xxx", "Set Name field [T3] to xxx (the Receiver Name if /s3 is to be used)", false},
      {"/t4:xxx", "Set Description field [T4] to xxx (the Message if /s3 is to be used)", false},
      {"/t5:xxx", "Set Status field [T5] to xxx", true},
      {"/s0", "Fake inactive alarm event", false},
      {"/s1", "Fake active alarm event", false},
      {"/s2", "Fake acknowledged alarm event", false},
      {"/s3", "Send text message (/t3 and /t4 must be defined)", true},
      {"/u", "Unload Fauxlarm when message is queued", true},
  };
  const QString lineEnd = QStringLiteral("\r\n");
  QString text;
  for (const Line& line : kLines) {
    text += QLatin1String(line.option) + u'\t' + QLatin1String(line.description) + lineEnd;
    if (line.blankAfter) text += lineEnd;
  }
  text += QStringLiteral("Example: Sending a text message to the receiver 'Duty Operator':") +
          lineEnd + lineEnd;
  text += QStringLiteral(
      "\"C:\\Program Files\\Halvane Alarm Server\\Fauxlarm.EXE\" /d /t3:Duty Operator /t4:Hi "
      "there /s3 /u");
  return text;
}

}  // namespace CommandLine
