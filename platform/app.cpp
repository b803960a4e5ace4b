#include "platform/app.h"

#include <QApplication>
#include <clocale>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/cursor_internal.h"
#include "platform/keys_internal.h"
#include "platform/msgloop_internal.h"
#include "platform/window_internal.h"

namespace {

QApplication *application = nullptr;  // only when this unit made it
int starts = 0;
int app_argc = 1;
char app_name[] = "orvinta";
char *app_argv[] = {app_name, nullptr};

bool display_named()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    const char *display = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    return (platform && *platform) || (display && *display) || (wayland && *wayland);
}

// Only a fatal message is the program's business: the run ends with it.
void toolkit_message(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtFatalMsg) std::fprintf(stderr, "orvinta: %s\n", text.toLocal8Bit().constData());
}

}  // namespace

void route_toolkit_messages()
{
    // The toolkit's own diagnostics (no runtime folder under cron, a style scaling an empty
    // pixmap) say nothing to the user: standard error carries the program's messages only.
    qInstallMessageHandler(toolkit_message);
}

void keep_c_number_format()
{
    // The toolkit adopts the user's locale for the C library too; the program reads and
    // writes numbers with the C functions (fields, data files, reports), which must keep the
    // decimal point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
}

bool platform_start(int, char **)
{
    if (QCoreApplication::instance()) {
        ++starts;
        keys_track_application();
        return true;
    }
    if (!display_named()) return false;
    ++starts;
    route_toolkit_messages();
    // The toolkit sees only the program name: the program's own arguments are not its options.
    application = new QApplication(app_argc, app_argv);
    keep_c_number_format();
    QApplication::setApplicationName("Orvinta");
    QApplication::setQuitOnLastWindowClosed(false);
    keys_track_application();
    return true;
}

void platform_finish()
{
    if (starts > 0) --starts;
    for (HWND w : window_all())
        if (window_live(w) && !w->parent) DestroyWindow(w);
    message_loop_reset();
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (starts > 0) return;
    cursor_forget_all();
    delete application;
    application = nullptr;
}

bool platform_window_system_available()
{
    if (QCoreApplication::instance()) return true;
    if (!display_named()) return false;
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            dup2(null, STDOUT_FILENO);
        }
        QGuiApplication probe(app_argc, app_argv);
        _exit(0);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
