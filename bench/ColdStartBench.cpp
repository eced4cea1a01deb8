// Cold start: from the start of a new process to the login window shown, on
// an existing user database. Each iteration starts this executable again as
// a child that runs the program's own start (application object, message-box
// prompter, main window) and writes one line when the window is first
// painted; the parent measures the wall-clock time from spawning the child
// to reading that line. The median of the repetitions is the figure to quote.
//
// Beside it a bare program is timed the same way: the same application
// object, an attachment of the same user database, a window that shows one
// line of text (so that, like any window of the suite, it loads a font).
// The ratio of the two medians is what the program's own start adds.

#include "SuiteSetup.h"
#include "db/Database.h"
#include "platform/ExecutableDirectory.h"
#include "platform/MessageBoxPrompter.h"
#include "shell/Application.h"
#include "shell/BaseMain.h"

#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

const char *const ChildFlag = "--child";
const char *const BareFlag = "--bare";
QString applicationDirectory;
std::string selfPath;

// Writes the line the parent waits for at the first paint of the window.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

int runChild(int argc, char **argv, const char *directory)
{
    tg::EdizioneProgramma = QStringLiteral("SMALL");
    tg::TaskgateApplication application(argc, argv);
    tg::ExecutableDirectory::override(QString::fromLocal8Bit(directory));
    tg::MessageBoxPrompter prompter;
    tg::Prompter::install(&prompter);
    tg::TBaseMainForm mainForm;
    FirstPaint watcher;
    mainForm.installEventFilter(&watcher);
    mainForm.show();
    const int result = application.exec();
    tg::Prompter::install(nullptr);
    return result;
}

int runBare(int argc, char **argv, const char *directory)
{
    tg::TaskgateApplication application(argc, argv);
    tg::db::Database database;
    database.setDatabaseName(tg::setup::userDatabasePath(QString::fromLocal8Bit(directory)));
    database.setLoginPrompt(false);
    database.params() << QStringLiteral("user_name=SYSDBA") << QStringLiteral("password=quillbeam");
    database.connect();
    QWidget window;
    window.resize(800, 600);
    QLabel caption(QStringLiteral("Taskgate"), &window);
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    const int result = application.exec();
    database.disconnect();
    return result;
}

// Spawns one child and returns the seconds until it reported the window.
double timeOneStart(const char *flag)
{
    int channel[2];
    if (pipe(channel) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    const QByteArray directory = applicationDirectory.toLocal8Bit();
    char *const arguments[] = {const_cast<char *>(selfPath.c_str()), const_cast<char *>(flag),
                               const_cast<char *>(directory.constData()), nullptr};
    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, selfPath.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(channel[1]);
    char line[16] = {};
    const ssize_t got = spawned == 0 ? read(channel[0], line, sizeof(line) - 1) : -1;
    const auto shown = std::chrono::steady_clock::now();
    close(channel[0]);
    if (spawned == 0)
        waitpid(child, nullptr, 0);
    if (got <= 0 || std::strncmp(line, "shown", 5) != 0)
        return -1;
    return std::chrono::duration<double>(shown - started).count();
}

// One start of the given child per iteration: the program (ChildFlag) or the
// bare program (BareFlag).
void BM_StartToWindow(benchmark::State &state, const char *flag)
{
    for (auto _ : state) {
        const double seconds = timeOneStart(flag);
        if (seconds < 0) {
            state.SkipWithError("the child did not show its window");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK_CAPTURE(BM_StartToWindow, ColdStartToLoginWindow, ChildFlag)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_StartToWindow, BareProgramToWindow, BareFlag)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], ChildFlag) == 0)
        return runChild(argc, argv, argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], BareFlag) == 0)
        return runBare(argc, argv, argv[2]);

    if (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    char resolved[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", resolved, sizeof(resolved) - 1);
    selfPath = length > 0 ? std::string(resolved, static_cast<size_t>(length)) : std::string(argv[0]);

    // An application directory with the suite's user database and demo users,
    // made once before the measured starts.
    QTemporaryDir directory;
    applicationDirectory = directory.path() + QLatin1Char('/');
    QDir().mkpath(applicationDirectory + QStringLiteral("Grafica"));
    tg::setup::createUserDatabase(tg::setup::userDatabasePath(applicationDirectory));
    tg::setup::insertDemoData(tg::setup::userDatabasePath(applicationDirectory), {});

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
