#pragma once

#include <QApplication>
#include <exception>
#include <type_traits>
#include <utility>

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

// A slot that reports its errors itself: exceptions must not unwind through
// the toolkit's event delivery, which is not written for them.
template <typename Function>
auto reportingErrors(Function function)
{
    return [function](auto &&...arguments) {
        try {
            // Signals may carry arguments the slot does not take (clicked's
            // checked state).
            if constexpr (std::is_invocable_v<const Function &, decltype(arguments)...>)
                function(std::forward<decltype(arguments)>(arguments)...);
            else
                function();
        } catch (...) {
            reportUnhandledError(std::current_exception());
        }
    };
}

} // namespace tg
