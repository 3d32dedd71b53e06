// The visible main window: Qt widgets mirroring the controls of an FXL_Main, both ways.
#pragma once

#include <QWidget>

class FXL_Main;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TextControl;
class CheckControl;

class FXL_MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit FXL_MainWindow(FXL_Main& form, QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* CreateEventButtons();
  QWidget* CreateTimeStamp();
  QWidget* CreateInformationFields();
  QWidget* CreateConnectionMethod();
  QWidget* CreateStatusAndSettings();
  QWidget* CreateAutomaticAlarms();

  QLineEdit* Bind(TextControl& control);
  QCheckBox* Bind(CheckControl& control, const QString& caption);
  void ShowOptions();
  void ShowSystems();

  FXL_Main& form_;
  QRadioButton* options_[3] = {};
  QComboBox* systems_ = nullptr;
  QLabel* systemLabel_ = nullptr;
  bool closing_ = false;
};
