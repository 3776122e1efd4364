// Drives the built program as a user would, each run in a fresh folder.
//
// Usage: e2e_test [gtest flags] --exe=PATH [--launcher=CMD] [--eol=crlf]
//                 [--timeout=SECONDS]
// The launcher is put in front of the program (a Wine wrapper, say); crlf
// expects Windows line ends and the command interpreter's own pause prompt.
// A test that is not done within nine tenths of the timeout (CTest's) kills
// the program and fails with "program did not end".

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <utmp.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The built-in operands and their sum, worked out apart from the program.
// clang-format off
const std::string first =
    "98380086727923553215105054181921715175866988514990453315613290351450318742444741152077272515290860426950578327296928895458358530534662845453658908519947";
const std::string second =
    "5503937581225421348936229921973037115157344124265054568382997259560529126023580967387019509196918243715470244197597725848827549164840459221682909153822";
const std::string sum =
    "103884024309148974564041284103894752291024332639255507883996287611010847868468322119464292024487778670666048571494526621307186079699503304675341817673769";
// clang-format on

const char openFailed[] = "\xB6\x7D\xC0\xC9\xA5\xA2\xB1\xD1\x3A\x20";
const char writeFailed[] = "\xBC\x67\xC0\xC9\xA5\xA2\xB1\xD1\x3A\x20";
const char nativePrompt[] = "Press any key to continue . . . ";

struct Target {
    std::string exe;
    std::string launcher;
    bool crlf = false;
} target;

bool windowsTarget()
{
    return target.crlf;
}

std::string eol()
{
    return windowsTarget() ? "\r\n" : "\n";
}

std::string expectedEcho()
{
    const std::string n = eol();
    return " " + first + n + n + "+" + second + n + n + "=" + sum + n;
}

using Clock = std::chrono::steady_clock;
std::chrono::milliseconds budget{60000};
Clock::time_point deadline; // this test's

class Deadline : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo & /*test*/) override
    {
        deadline = Clock::now() + budget;
    }
};

// Waits until fd has data or an end to read; false once until has passed.
bool readable(int fd, Clock::time_point until = deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    pollfd p{fd, POLLIN, 0};
    return left.count() > 0 && poll(&p, 1, static_cast<int>(left.count())) > 0;
}

std::string readFile(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

enum class Out { File, Pipe, Closed, DevFull, BrokenPipe };
enum class In { DevNull, OpenPipe };

struct Outcome {
    int status = -1; // exit status, or 128 + signal
    std::string out;
};

// A fresh folder W inside a fresh parent: the result file is parent/korvax-.txt.
class Sandbox {
public:
    Sandbox()
    {
        std::string tmpl = (fs::temp_directory_path() / "bigsum-e2e-XXXXXX").string();
        parent_ = mkdtemp(tmpl.data());
        fs::create_directory(work());
    }
    ~Sandbox() { fs::remove_all(parent_); }
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

    fs::path work() const { return parent_ / "W"; }
    fs::path result() const { return parent_ / "korvax-.txt"; }

private:
    fs::path parent_;
};

std::vector<std::string> command(const std::vector<std::string> &args)
{
    std::vector<std::string> argv;
    argv.reserve(args.size() + 2);
    if (!target.launcher.empty())
        argv.push_back(target.launcher);
    argv.push_back(target.exe);
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

[[noreturn]] void execWords(const fs::path &dir, std::vector<std::string> words)
{
    std::vector<char *> argv;
    argv.reserve(words.size() + 1);
    for (std::string &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    if (chdir(dir.c_str()) == 0)
        execvp(argv[0], argv.data());
    _exit(127);
}

int statusOf(int wstatus)
{
    return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
}

int waitWithTimeout(pid_t pid, Clock::time_point until = deadline)
{
    int wstatus = 0;
    while (waitpid(pid, &wstatus, WNOHANG) == 0) {
        if (Clock::now() > until) {
            kill(pid, SIGKILL);
            waitpid(pid, &wstatus, 0);
            ADD_FAILURE() << "program did not end";
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return statusOf(wstatus);
}

// fileLimit is the program's RLIMIT_FSIZE in bytes.
Outcome run(const Sandbox &box, Out out = Out::File, In in = In::DevNull,
            const std::vector<std::string> &args = {}, rlim_t fileLimit = RLIM_INFINITY)
{
    const fs::path captured = box.work().parent_path() / "stdout";
    const bool outPiped = out == Out::Pipe || out == Out::BrokenPipe;
    int inPipe[2] = {-1, -1};
    int outPipe[2] = {-1, -1};
    if (in == In::OpenPipe && pipe(inPipe) != 0)
        ADD_FAILURE() << "pipe";
    if (outPiped && pipe(outPipe) != 0)
        ADD_FAILURE() << "pipe";
    // A reader gone before the program writes, as after `bigsum | true`.
    if (out == Out::BrokenPipe) {
        close(outPipe[0]);
        outPipe[0] = -1;
    }

    const pid_t pid = fork();
    if (pid == 0) {
        const rlimit limit{fileLimit, fileLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(127);
        int fd = in == In::OpenPipe ? inPipe[0] : open("/dev/null", O_RDONLY);
        dup2(fd, STDIN_FILENO);
        switch (out) {
        case Out::File:
            fd = open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            break;
        case Out::DevFull:
            fd = open("/dev/full", O_WRONLY);
            break;
        case Out::Pipe:
        case Out::BrokenPipe:
            fd = outPipe[1];
            break;
        case Out::Closed:
            fd = -1;
            break;
        }
        if (fd >= 0)
            dup2(fd, STDOUT_FILENO);
        else
            close(STDOUT_FILENO);
        for (int p : {inPipe[0], inPipe[1], outPipe[0], outPipe[1]})
            if (p > STDERR_FILENO)
                close(p);
        execWords(box.work(), command(args));
    }

    Outcome r;
    if (outPiped)
        close(outPipe[1]);
    if (out == Out::Pipe) {
        char buf[4096];
        ssize_t n;
        while (readable(outPipe[0]) && (n = read(outPipe[0], buf, sizeof buf)) > 0)
            r.out.append(buf, static_cast<std::size_t>(n));
        close(outPipe[0]);
    }
    r.status = waitWithTimeout(pid);
    if (in == In::OpenPipe) {
        close(inPipe[0]);
        close(inPipe[1]);
    }
    if (out == Out::File)
        r.out = readFile(captured);
    return r;
}

// What a successful run prints after the echo: on Windows the pause prompt of
// cmd.exe or of Wine's cmd, with the line end it prints after a key or none.
void expectPrompt(const std::string &tail)
{
    const std::string prompts[] = {nativePrompt, "Press any key to continue... "};
    if (windowsTarget())
        EXPECT_TRUE(std::any_of(std::begin(prompts), std::end(prompts), [&](const std::string &p) {
            return tail == p || tail == p + "\r\n";
        })) << tail;
    else
        EXPECT_EQ(tail, std::string(nativePrompt) + "\n");
}

void expectSuccess(const Outcome &r, const Sandbox &box)
{
    const std::string echo = expectedEcho();
    EXPECT_EQ(r.status, 0);
    ASSERT_GE(r.out.size(), echo.size()) << r.out;
    EXPECT_EQ(r.out.substr(0, echo.size()), echo);
    expectPrompt(r.out.substr(echo.size()));
    EXPECT_EQ(readFile(box.result()), sum);
}

TEST(Run, PrintsTheAdditionAndStoresTheSum)
{
    Sandbox box;
    const Outcome r = run(box);
    expectSuccess(r, box);
}

TEST(Run, ReplacesALongerFile)
{
    Sandbox box;
    std::ofstream(box.result()) << std::string(4096, '7') << '\n';
    expectSuccess(run(box), box);
}

TEST(Run, IgnoresArguments)
{
    const std::vector<std::vector<std::string>> argLists = {
        {"--help"}, {"-o", "elsewhere.txt"}, {"", "x y"}, {"../korvax-.txt"}};
    for (const auto &args : argLists) {
        SCOPED_TRACE(args.front());
        Sandbox box;
        expectSuccess(run(box, Out::File, In::DevNull, args), box);
        EXPECT_FALSE(fs::exists(box.work() / "elsewhere.txt"));
    }
}

TEST(Run, DoesNotWaitOnAPipeThatStaysOpen)
{
    if (windowsTarget())
        GTEST_SKIP() << "the command interpreter's pause reads its key from the pipe";
    Sandbox box;
    expectSuccess(run(box, Out::File, In::OpenPipe), box);
}

TEST(Failure, OpenReportsThePathAndExitsOne)
{
    Sandbox box;
    fs::create_directory(box.result()); // a directory in the way
    const Outcome r = run(box);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string(openFailed) + "../korvax-.txt" + eol());
    EXPECT_TRUE(fs::is_directory(box.result()));
}

TEST(Failure, FullDiskReportsThePathAfterTheEcho)
{
    Sandbox box;
    fs::create_symlink("/dev/full", box.result());
    const Outcome r = run(box);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, expectedEcho() + writeFailed + "../korvax-.txt" + eol());
}

// Standard output is a pipe, which the limit does not cover.
TEST(Failure, FileSizeLimitKeepsWhatFitAndReportsThePath)
{
    if (windowsTarget())
        GTEST_SKIP() << "Windows has no file-size limit; under Wine it would hit Wine itself";
    Sandbox box;
    const Outcome r = run(box, Out::Pipe, In::DevNull, {}, 100);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, expectedEcho() + writeFailed + "../korvax-.txt" + eol());
    EXPECT_EQ(readFile(box.result()), sum.substr(0, 100));
}

TEST(BrokenOutput, StillStoresTheWholeSum)
{
    const struct {
        const char *name;
        Out out;
    } rows[] = {
        {"reader gone", Out::BrokenPipe},
        {"closed", Out::Closed},
        {"full", Out::DevFull},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Sandbox box;
        const Outcome r = run(box, row.out);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(readFile(box.result()), sum);
    }
}

// A reader that stops reading (a terminal held by Ctrl-S, a busy pipe), then
// SIGTERM: the echo blocks in a full pipe, and the sum is already stored.
TEST(BlockedOutput, EndingTheProgramKeepsTheWholeSum)
{
    if (windowsTarget())
        GTEST_SKIP() << "a signal ends Wine's launcher, not the Windows process";
    Sandbox box;
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    fcntl(out[1], F_SETPIPE_SZ, 4096);
    ASSERT_EQ(fcntl(out[1], F_SETFL, O_NONBLOCK), 0);
    const std::string page(4096, 'x');
    while (write(out[1], page.data(), page.size()) > 0) {
    }
    ASSERT_EQ(fcntl(out[1], F_SETFL, 0), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execWords(box.work(), command({}));
    }
    close(out[1]);
    const auto until = std::min(deadline, Clock::now() + std::chrono::seconds(5));
    while (readFile(box.result()) != sum && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "did not block on the full pipe";
    kill(pid, SIGTERM);
    EXPECT_EQ(waitWithTimeout(pid), 128 + SIGTERM);
    close(out[0]);
    EXPECT_EQ(readFile(box.result()), sum);
}

// The key wait on a terminal: key mode while waiting, the old mode after.
class Terminal : public testing::Test {
protected:
    void SetUp() override
    {
        if (windowsTarget())
            GTEST_SKIP() << "the command interpreter's pause owns the console";
    }

    void TearDown() override { end(); }

    // Ends at once a program that a failed check left running; a shell's
    // job goes with the terminal when the shell does.
    void end()
    {
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        for (int *fd : {&master_, &slave_})
            if (*fd >= 0)
                close(std::exchange(*fd, -1));
    }

    // The mode is read before the fork: a fast program may be waiting already
    // when the parent next runs. The parent keeps the terminal's other side
    // to read what input the program left.
    void start(const std::vector<std::string> &words = command({}), bool background = false)
    {
        end();
        if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0)
            ADD_FAILURE() << "openpty";
        before_ = modeOf(master_);
        pid_ = fork();
        if (pid_ == 0) {
            close(master_);
            if (login_tty(slave_) != 0)
                _exit(127);
            if (background)
                leaveTheForeground();
            execWords(box_.work(), words);
        }
    }

    // The one child of process leader.
    static pid_t childOf(pid_t leader)
    {
        const std::string id = std::to_string(leader);
        pid_t child = 0;
        std::ifstream("/proc/" + id + "/task/" + id + "/children") >> child;
        return child;
    }

    // Goes on in a child in a process group of its own, not the foreground
    // one; this session leader ends as the child does.
    static void leaveTheForeground()
    {
        int wstatus = 0;
        if (const pid_t job = fork(); job != 0)
            _exit(waitpid(job, &wstatus, 0) == job ? statusOf(wstatus) : 127);
        setpgid(0, 0);
    }

    // Each step takes the program milliseconds: one that does not come fails
    // the case in seconds, not at its deadline.
    static Clock::time_point soon()
    {
        return std::min(deadline, Clock::now() + std::chrono::seconds(5));
    }

    // Reads one side of the terminal (by default what the program wrote)
    // until text shows, and returns all it read.
    std::string readUntil(const std::string &text, int fd = -1) const
    {
        fd = fd < 0 ? master_ : fd;
        const auto until = soon();
        std::string seen;
        char buf[512];
        while (seen.find(text) == std::string::npos && readable(fd, until)) {
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            seen.append(buf, static_cast<std::size_t>(n));
        }
        return seen;
    }

    static termios modeOf(int fd)
    {
        termios t{};
        tcgetattr(fd, &t);
        return t;
    }

    // Once the prompt is out, the program switches to key mode before reading.
    bool awaitKeyMode() const
    {
        const auto until = soon();
        while ((modeOf(master_).c_lflag & ICANON) != 0) {
            if (Clock::now() > until)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    void awaitWait()
    {
        const std::string seen = readUntil(nativePrompt);
        ASSERT_NE(seen.find(nativePrompt), std::string::npos) << seen;
        ASSERT_TRUE(awaitKeyMode()) << "never switched to key mode";
    }

    // What the next reader of the terminal gets before a newline typed now.
    std::string leftInput() const
    {
        if (write(master_, "\n", 1) != 1)
            return "(write failed)";
        const std::string left = readUntil("\n", slave_);
        return left.substr(0, left.find('\n'));
    }

    Sandbox box_;
    pid_t pid_ = -1;
    int master_ = -1;
    int slave_ = -1;
    termios before_{}; // the mode the program found
};

// A key press ends the wait whole: the next reader gets none of its bytes,
// also when they come in two writes.
TEST_F(Terminal, WaitsForOneKeyAndRestoresTheMode)
{
    const struct {
        const char *name;
        std::string bytes;
        std::string later;
    } keys[] = {
        {"letter", "k", ""},
        {"Up", "\x1b[A", ""},
        {"Up, split", "\x1b", "[A"},
        {"F1 (xterm)", "\x1bOP", ""},
        {"F1 (Linux console)", "\x1b[[A", ""},
        {"Ctrl+F5", "\x1b[15;5~", ""},
        {"Alt+x", "\x1bx", ""},
        {"Alt+Up (rxvt)", "\x1b\x1b[A", ""},
        {"Escape", "\x1b", ""},
        {"e acute", "\xc3\xa9", ""},
        {"emoji, split", "\xf0\x9f", "\x98\x80"},
        {"Big5 zhong", "\xa4\xa4", ""},
    };
    for (const auto &key : keys) {
        SCOPED_TRACE(key.name);
        start();
        ASSERT_NO_FATAL_FAILURE(awaitWait());
        EXPECT_EQ(modeOf(master_).c_lflag & (ICANON | ECHO), 0u);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(waitpid(pid_, nullptr, WNOHANG), 0) << "did not wait for a key";
        for (const std::string &part : {key.bytes, key.later}) {
            ASSERT_EQ(write(master_, part.data(), part.size()), static_cast<ssize_t>(part.size()));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_EQ(waitWithTimeout(pid_, soon()), 0);
        EXPECT_EQ(modeOf(master_).c_lflag, before_.c_lflag);
        EXPECT_EQ(leftInput(), "");
        EXPECT_EQ(readFile(box_.result()), sum);
    }
}

// A signal ends the wait before the key typed after it, and leaves the mode
// as found. One that the caller ignored does not end it, and the key then
// does. That caller is a job-control shell that stays the program's parent
// (exit keeps it from exec'ing the program), where Ctrl-Z could stop it.
TEST_F(Terminal, SignalsEndTheWaitUnlessIgnored)
{
    const struct {
        const char *name;
        const char *key; // or sent with kill
        int sig;
    } rows[] = {{"INT", "\x03", SIGINT},      {"QUIT", "\x1c", SIGQUIT},
                {"TERM", nullptr, SIGTERM},   {"HUP", nullptr, SIGHUP},
                {"ALRM", nullptr, SIGALRM},   {"USR1", nullptr, SIGUSR1},
                {"ABRT", nullptr, SIGABRT},   {"RTMIN", nullptr, SIGRTMIN},
                {"RTMAX", nullptr, SIGRTMAX}, {"TSTP", "\x1a", SIGTSTP}};
    for (const bool ignored : {false, true})
        for (const auto &row : rows) {
            if (row.sig == SIGTSTP && !ignored)
                continue; // the next case
            if (row.sig >= SIGRTMIN && !target.launcher.empty())
                continue; // qemu-user passes real-time signals on as others
            SCOPED_TRACE(std::string(row.name) + (ignored ? " ignored" : ""));
            std::vector<std::string> words = command({});
            const std::string trap = "set -m; trap '' " + std::string(row.name) + "; \"$@\"; exit";
            if (ignored)
                words.insert(words.begin(), {"bash", "-c", trap, "bash"});
            start(words);
            ASSERT_NO_FATAL_FAILURE(awaitWait());
            ASSERT_TRUE(row.key != nullptr ? write(master_, row.key, 1) == 1
                                           : kill(-tcgetpgrp(master_), row.sig) == 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ASSERT_EQ(write(master_, "k", 1), 1);
            EXPECT_EQ(waitWithTimeout(pid_, soon()), ignored ? 0 : 128 + row.sig);
            EXPECT_EQ(modeOf(master_).c_lflag, before_.c_lflag);
        }
}

// A stop is discarded for a session leader, so a job-control shell runs the
// program and reports the mode while it is stopped (fg changes it at once).
TEST_F(Terminal, CtrlZLeavesTheModeAsFoundUntilContinued)
{
    const char script[] = R"sh(set -m; m=$(stty -g); "$@"
        [ "$(stty -g)" = "$m" ] || echo "stopped in another mode"; echo stopped; fg)sh";
    std::vector<std::string> words = {"bash", "-c", script, "bash"};
    const std::vector<std::string> program = command({});
    words.insert(words.end(), program.begin(), program.end());
    start(words);
    ASSERT_NO_FATAL_FAILURE(awaitWait());
    ASSERT_EQ(write(master_, "\x1a", 1), 1);
    const std::string seen = readUntil("stopped\r\n");
    EXPECT_NE(seen.find("stopped\r\n"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("another mode"), std::string::npos) << seen;
    ASSERT_TRUE(awaitKeyMode()) << "did not wait again";
    ASSERT_EQ(write(master_, "k", 1), 1);
    EXPECT_EQ(waitWithTimeout(pid_, soon()), 0);
}

// A stop that cannot be caught, then the mode put back as a job-control shell
// does while its job is stopped: once continued, the wait is in key mode
// again, and one key ends it with nothing echoed or left over.
TEST_F(Terminal, StopAndContinueWaitsInKeyModeAgain)
{
    start();
    ASSERT_NO_FATAL_FAILURE(awaitWait());
    int wstatus = 0;
    ASSERT_EQ(kill(pid_, SIGSTOP), 0);
    ASSERT_EQ(waitpid(pid_, &wstatus, WUNTRACED), pid_);
    ASSERT_TRUE(WIFSTOPPED(wstatus));
    ASSERT_EQ(tcsetattr(master_, TCSANOW, &before_), 0);
    ASSERT_EQ(kill(pid_, SIGCONT), 0);
    ASSERT_TRUE(awaitKeyMode()) << "not in key mode again";
    ASSERT_EQ(write(master_, "k", 1), 1);
    EXPECT_EQ(waitWithTimeout(pid_, soon()), 0);
    EXPECT_EQ(readUntil("\n"), "\r\n") << "the key was echoed";
    EXPECT_EQ(modeOf(master_).c_lflag, before_.c_lflag);
    EXPECT_EQ(leftInput(), "");
}

// Outside the foreground group, as under timeout, the wait stops at its first
// change of mode; SIGTERM, then SIGCONT as timeout sends, ends it at once. The
// mode is left as the wait found it, or as the shell set it meanwhile.
TEST_F(Terminal, SignalEndsAWaitOutsideTheForeground)
{
    for (const bool shellChangesMode : {false, true}) {
        SCOPED_TRACE(shellChangesMode ? "the shell changes the mode" : "the mode as found");
        start(command({}), true);
        ASSERT_NE(readUntil(nativePrompt).find(nativePrompt), std::string::npos);
        const pid_t job = childOf(pid_);
        const std::string stat = "/proc/" + std::to_string(job) + "/stat";
        const auto until = soon();
        while (readFile(stat).find(") T ") == std::string::npos && Clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ASSERT_NE(readFile(stat).find(") T "), std::string::npos) << "did not stop";
        termios expected = before_;
        if (shellChangesMode)
            expected.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ASSERT_EQ(tcsetattr(master_, TCSANOW, &expected), 0);
        ASSERT_TRUE(kill(job, SIGTERM) == 0 && kill(job, SIGCONT) == 0);
        EXPECT_EQ(waitWithTimeout(pid_, Clock::now() + std::chrono::seconds(2)), 128 + SIGTERM);
        EXPECT_EQ(modeOf(master_).c_lflag, expected.c_lflag);
    }
}

// Each case runs in a folder of its own: a path is made absolute first, a
// bare name is left for PATH.
std::string absoluteIfPath(const std::string &cmd)
{
    return cmd.find('/') == std::string::npos ? cmd : fs::absolute(cmd).string();
}

} // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--exe=", 0) == 0)
            target.exe = absoluteIfPath(arg.substr(6));
        else if (arg.rfind("--launcher=", 0) == 0)
            target.launcher = absoluteIfPath(arg.substr(11));
        else if (arg == "--eol=crlf")
            target.crlf = true;
        else if (arg.rfind("--timeout=", 0) == 0)
            budget = std::chrono::milliseconds(std::stoi(arg.substr(10)) * 900);
    }
    if (target.exe.empty() && !GTEST_FLAG_GET(list_tests)) {
        static_cast<void>(std::fprintf(
            stderr, "usage: e2e_test [gtest flags] --exe=PATH [--launcher=CMD] [--eol=crlf] "
                    "[--timeout=SECONDS]\n"));
        return 2;
    }
    testing::UnitTest::GetInstance()->listeners().Append(new Deadline);
    return RUN_ALL_TESTS();
}
