#pragma once

#include <QApplication>
#include <exception>

namespace tg {

// The application object with the program's top-level error report: an
// exception that escapes an event handler is shown in an error box and the
// program keeps running.
class TaskgateApplication : public QApplication {
public:
    TaskgateApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Shows the text of an escaped exception in an error box.
void reportUnhandledError(std::exception_ptr error);

} // namespace tg
