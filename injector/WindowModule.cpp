#include "injector/WindowModule.h"

#include <QApplication>

#include "injector/FXL_Main.h"
#include "injector/FXL_MainWindow.h"
#include "injector/WindowMessages.h"

namespace {

class QtWindowModule : public WindowModule {
 public:
  std::unique_ptr<QCoreApplication> CreateApplication(int& argc, char** argv) override {
    return std::make_unique<QApplication>(argc, argv);
  }

  UserMessages& Messages() override { return messages_; }

  int Run(FXL_Main& form) override {
    FXL_MainWindow window(form);
    messages_.SetWindow(&window);
    QObject::connect(&form, &FXL_Main::Unloaded, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    const int status = QCoreApplication::exec();
    return status != 0 ? status : form.ExitCode();
  }

 private:
  WindowMessages messages_{true};
};

}  // namespace

extern "C" __attribute__((visibility("default"))) WindowModule* FauxlarmCreateWindowModule() {
  return new QtWindowModule;
}
