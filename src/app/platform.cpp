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
termios keyModeAsSet;
volatile std::sig_atomic_t inKeyMode = 0;
struct sigaction restoringAction;
struct sigaction continuingAction;
struct sigaction previousActions[NSIG];
struct sigaction previousContinue;
// Every standard signal that can be caught and whose default action ends the
// process (with or without a core dump), and the stop that Ctrl-Z sends; the
// real-time signals SIGRTMIN to SIGRTMAX follow. SIGKILL cannot be caught,
// nor can 32 and 33, which the C library keeps below SIGRTMIN; SIGPIPE and
// SIGXFSZ are ignored from the start. SIGTTIN and SIGTTOU are left alone: a
// background wait stops before it changes the mode, and SIGCONT sets key mode
// again after any stop.
const int restoredSignals[] = {SIGHUP,    SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT,
                               SIGBUS,    SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2, SIGALRM,
                               SIGTERM,   SIGXCPU, SIGVTALRM, SIGPROF, SIGIO,   SIGSYS,
#ifdef SIGSTKFLT
                               SIGSTKFLT,
#endif
#ifdef SIGPWR
                               SIGPWR,
#endif
                               SIGTSTP};

template <typename F> void forEachRestoredSignal(F f)
{
    for (const int sig : restoredSignals)
        f(sig);
    for (int sig = SIGRTMIN; sig <= SIGRTMAX && sig < NSIG; ++sig)
        f(sig);
}

// Whether the terminal is in the mode the wait set. A wait that was stopped
// before it set the mode finds the mode of whoever holds the terminal, which
// is not its to change.
bool showsKeyMode()
{
    termios now{};
    return tcgetattr(STDIN_FILENO, &now) == 0 && now.c_iflag == keyModeAsSet.c_iflag &&
           now.c_oflag == keyModeAsSet.c_oflag && now.c_cflag == keyModeAsSet.c_cflag &&
           now.c_lflag == keyModeAsSet.c_lflag;
}

// Puts back the mode the wait found. With SIGTTOU blocked, a process outside
// the terminal's foreground process group may do so without being stopped.
void restoreMode()
{
    sigset_t ttou;
    sigset_t old;
    sigemptyset(&ttou);
    sigaddset(&ttou, SIGTTOU);
    sigprocmask(SIG_BLOCK, &ttou, &old);
    tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);
    sigprocmask(SIG_SETMASK, &old, nullptr);
}

// Sends sig again with its default action, as to a program that never
// caught it.
void raiseDefault(int sig)
{
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigaction(sig, &dfl, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    static_cast<void>(raise(sig));
    sigprocmask(SIG_BLOCK, &set, nullptr);
}

// Puts the terminal back before the signal takes its default course; the
// other handled signals wait until the handler ends. Only a stop returns from
// raise(), once the process is continued or at once when the stop is
// discarded (as in an orphaned process group); the SIGCONT raised here then
// sets key mode again once this handler is done.
extern "C" void restoreAndRaise(int sig)
{
    const int savedErrno = errno;
    if (showsKeyMode())
        restoreMode();
    raiseDefault(sig);
    sigaction(sig, &restoringAction, nullptr);
    static_cast<void>(raise(SIGCONT));
    errno = savedErrno;
}

// Sets key mode again after a stop, whatever caused it: a shell puts its own
// mode back while its job is stopped. Outside the foreground process group
// this stops the process until it is brought there, as any program would.
extern "C" void resumeKeyMode(int /*sig*/)
{
    const int savedErrno = errno;
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

// Catches the handled signals and SIGCONT for the wait. A handler that puts
// the terminal back blocks every other handled signal and SIGCONT, so none
// runs between the restore and the end; SIGCONT's blocks none, so that a
// deadly signal still ends a wait that setting key mode stopped again. Both
// restart what they interrupt, such as a change of mode that stopped.
void installActions()
{
    restoringAction.sa_handler = restoreAndRaise;
    restoringAction.sa_flags = SA_RESTART;
    sigemptyset(&restoringAction.sa_mask);
    forEachRestoredSignal([](int sig) { sigaddset(&restoringAction.sa_mask, sig); });
    sigaddset(&restoringAction.sa_mask, SIGCONT);
    // Only a signal left to its default action is taken: one that the caller
    // ignored stays ignored, as it would in a program that never caught it.
    forEachRestoredSignal([](int sig) {
        sigaction(sig, nullptr, &previousActions[sig]);
        if (previousActions[sig].sa_handler == SIG_DFL)
            sigaction(sig, &restoringAction, nullptr);
    });
    continuingAction.sa_handler = resumeKeyMode;
    continuingAction.sa_flags = SA_RESTART;
    sigemptyset(&continuingAction.sa_mask);
    sigaction(SIGCONT, &continuingAction, &previousContinue);
}

// Gives each signal back the action it had before the wait.
void restoreActions()
{
    forEachRestoredSignal([](int sig) { sigaction(sig, &previousActions[sig], nullptr); });
    sigaction(SIGCONT, &previousContinue, nullptr);
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
    keyModeAsSet = keyMode;

    installActions();
    inKeyMode = 1;
    unsigned char key = 0;
    // The terminal may keep other bits than those asked for.
    if (tcsetattr(STDIN_FILENO, TCSANOW, &keyMode) == 0 &&
        tcgetattr(STDIN_FILENO, &keyModeAsSet) == 0 && readByte(key, -1))
        readRestOfKey(key);
    inKeyMode = 0;
    // Like key mode, this waits for the foreground rather than change the
    // mode under the shell that holds the terminal.
    tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);
    restoreActions();
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
