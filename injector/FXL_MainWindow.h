// The visible main window: Qt widgets mirroring the controls of an FXL_Main, both ways.
#pragma once

#include <QWidget>

#include "injector/BurstProgress.h"
#include "injector/ElidedText.h"

class FXL_Main;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class TextControl;
class CheckControl;

class FXL_MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit FXL_MainWindow(FXL_Main& form, QWidget* parent = nullptr);
  ~FXL_MainWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* CreateEventButtons();
  QWidget* CreateTimeStamp();
  QWidget* CreateInformationFields();
  QWidget* CreateConnectionMethod();
  QWidget* CreateStatusAndSettings();
  QWidget* CreateAutomaticAlarms();
  QWidget* CreateStatusLine();
  // As large as the groups want, but never larger than the screen; beyond that they scroll.
  void FitScreen();

  // A field showing the control; one with a sample text asks for only its width.
  QLineEdit* Bind(TextControl& control, const QString& sample = {});
  QCheckBox* Bind(CheckControl& control, const QString& caption);
  void ShowOptions();
  void ShowSystems();

  FXL_Main& form_;
  ElidedRadioButton* options_[3] = {};
  QComboBox* systems_ = nullptr;
  QLabel* systemLabel_ = nullptr;
  BurstProgress progress_{this};
  bool closing_ = false;
};
