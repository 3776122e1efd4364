#include "platform.h"

#ifdef _WIN32

#include <cstdlib>

// The C runtime keeps descriptors 0 to 2 reserved even without a console,
// and a write to a broken pipe fails without a signal; there is no file-size
// limit.
void prepareProcess() {}

void waitForKey()
{
    static_cast<void>(std::system("pause"));
}

#else

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <iterator>
#include <termios.h>
#include <unistd.h>

namespace {

termios savedMode;
termios keyMode;
volatile std::sig_atomic_t inKeyMode = 0;
struct sigaction restoringAction;
const int restoredSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGTSTP};

// Puts the terminal back before the signal takes its default course. Only a
// stop returns from raise(), once the process is continued; the wait then
// resumes in key mode.
extern "C" void restoreAndRaise(int sig)
{
    int savedErrno = errno;
    tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);

    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigaction(sig, &dfl, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    static_cast<void>(raise(sig));

    sigaction(sig, &restoringAction, nullptr);
    if (inKeyMode)
        tcsetattr(STDIN_FILENO, TCSANOW, &keyMode);
    errno = savedErrno;
}

// Reads one key from a terminal in non-canonical mode without echo.
void readKey()
{
    if (tcgetattr(STDIN_FILENO, &savedMode) != 0)
        return;
    keyMode = savedMode;
    keyMode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    keyMode.c_cc[VMIN] = 1;
    keyMode.c_cc[VTIME] = 0;

    restoringAction.sa_handler = restoreAndRaise;
    sigemptyset(&restoringAction.sa_mask);
    struct sigaction previous[std::size(restoredSignals)];
    for (std::size_t i = 0; i < std::size(restoredSignals); ++i)
        sigaction(restoredSignals[i], &restoringAction, &previous[i]);

    inKeyMode = 1;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &keyMode) == 0) {
        char key;
        while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
        }
    }
    inKeyMode = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);
    for (std::size_t i = 0; i < std::size(restoredSignals); ++i)
        sigaction(restoredSignals[i], &previous[i], nullptr);
}

} // namespace

void prepareProcess()
{
    int fd;
    do
        fd = open("/dev/null", O_RDWR);
    while (fd >= 0 && fd <= STDERR_FILENO);
    if (fd > STDERR_FILENO)
        close(fd);
    static_cast<void>(signal(SIGPIPE, SIG_IGN));
    static_cast<void>(signal(SIGXFSZ, SIG_IGN));
}

void waitForKey()
{
    std::cout << "Press any key to continue . . . " << std::flush;
    if (isatty(STDIN_FILENO))
        readKey();
    std::cout << std::endl;
}

#endif
