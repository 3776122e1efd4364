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
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

termios savedMode;
termios keyMode;
volatile std::sig_atomic_t inKeyMode = 0;
struct sigaction restoringAction;
struct sigaction previousActions[NSIG];
// Every signal that can be caught and whose default action ends the process
// (with or without a core dump), the real-time ones aside, and the stop that
// Ctrl-Z sends; SIGPIPE and SIGXFSZ are ignored from the start. SIGTTIN and
// SIGTTOU are left alone: a background wait stops before it changes the mode.
const int restoredSignals[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP,   SIGABRT,
                               SIGBUS,  SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2,   SIGPIPE,
                               SIGALRM, SIGTERM, SIGXCPU,   SIGXFSZ, SIGVTALRM, SIGPROF,
                               SIGIO,   SIGSYS,  SIGSTKFLT, SIGPWR,  SIGTSTP};

template <typename F> void forEachRestoredSignal(F f)
{
    for (const int sig : restoredSignals)
        f(sig);
    for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig)
        f(sig);
}

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

// Reads one byte of standard input, waiting at most ms milliseconds for it
// (for ever when ms is -1); false when none came.
bool readByte(unsigned char &byte, int ms)
{
    for (;;) {
        pollfd p{STDIN_FILENO, POLLIN, 0};
        const int ready = poll(&p, 1, ms);
        if (ready == 0)
            return false;
        if (ready > 0) {
            const ssize_t n = read(STDIN_FILENO, &byte, 1);
            if (n >= 0)
                return n == 1;
        }
        if (errno != EINTR)
            return false;
    }
}

// The next byte of a key press, or -1: the rest of a key press arrives with
// its first byte, so 100 ms is plenty.
int followingByte()
{
    unsigned char byte = 0;
    return readByte(byte, 100) ? byte : -1;
}

// Consumes the bytes that a key press sends after its first: the rest of an
// escape sequence (ESC [ or ESC O, parameter bytes and a final byte; the
// Linux console's ESC [ [ and a letter; ESC and a key for Alt), of a UTF-8
// character, or of a double-byte character (Big5, GBK, Shift-JIS, EUC) whose
// first byte is one that cannot begin a UTF-8 character. ESC with nothing
// after it is the Escape key.
void readRestOfKey(int first)
{
    int c = first;
    if (c == 0x1B) {
        c = followingByte();
        if (c == 0x1B)
            c = followingByte();
        if (c == '[' || c == 'O') {
            const int intro = c;
            c = followingByte();
            if (intro == '[' && c == '[')
                c = followingByte();
            while (c >= 0x20 && c <= 0x3F)
                c = followingByte();
            return;
        }
    }
    int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0x80 ? 1 : 0;
    while (more-- > 0 && (followingByte() & 0xC0) == 0x80) {
    }
}

// Reads one key press, all the bytes it sends, from a terminal in
// non-canonical mode without echo, so none of them reach the next reader.
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
    // Only a signal left to its default action is taken: one that the caller
    // ignored stays ignored, as it would in a program that never caught it.
    forEachRestoredSignal([](int sig) {
        sigaction(sig, nullptr, &previousActions[sig]);
        if (previousActions[sig].sa_handler == SIG_DFL)
            sigaction(sig, &restoringAction, nullptr);
    });

    inKeyMode = 1;
    unsigned char key = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &keyMode) == 0 && readByte(key, -1))
        readRestOfKey(key);
    inKeyMode = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);
    forEachRestoredSignal([](int sig) { sigaction(sig, &previousActions[sig], nullptr); });
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
