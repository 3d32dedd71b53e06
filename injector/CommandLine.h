// The command line: options such as "/d /t3:Duty Operator /t4:Hi there /s3 /u" that set
// the window's fields and choices over the saved settings, and may send one batch of
// events without showing the window ("/u") or show the help ("/?").
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "injector/Controls.h"
#include "injector/FXL_Procs.h"

class UserMessages;

namespace CommandLine {

struct Option {
  QString keyword;  // upper case, without surrounding blanks
  QString value;    // without surrounding blanks; empty when the option has no colon
};

enum class Action { OpenWindow, ShowHelp, SendOnce };

struct Outcome {
  Action action = Action::OpenWindow;
  std::int16_t eventType = 0;
};

// The program's arguments as one text, joined with single blanks.
QString ArgumentText(const QStringList& arguments);

// The options up to the first empty one ("//" or a trailing "/" ends the list).
QList<Option> Parse(const QString& argumentText);

// The controls of the main window that options set, and where warnings go.
struct OptionTargets {
  std::array<TextControl, FXL_Procs::kFieldCount>& Text_Field;
  OptionControlArray& Option_ConnectionType;
  ComboControl& Combo_Systems;
  CheckControl& Check_SetDateAndTime;
  UserMessages& messages;
};

// Applies the options to the window, left to right; "?" stops there.
Outcome Apply(const OptionTargets& form, const QString& argumentText);

// What Apply would end with, without touching any window.
Action Predict(const QString& argumentText);

QString HelpTitle();
QString HelpText();

}  // namespace CommandLine
