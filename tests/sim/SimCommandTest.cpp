// "dtuconfig sim" as a process of its own: arguments, the device path on stdout, the link,
// and the stop on SIGTERM or on a cut line.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/sim/SimTestSupport.h"
#include "tests/support/TestPaths.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using simtest::Clock;

// A running sim command with its stdout and stderr piped to the test.
class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> arguments) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        arguments.insert(arguments.begin(), {SIM_CLI_PATH, "sim"});
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid, SIM_CLI_PATH, &actions, nullptr, argv.data(), environ) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        stdoutFd = out[0];
    }
    ~SimProcess() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (stdoutFd >= 0) ::close(stdoutFd);
    }

    // Reads stdout until `marker` or end of file or `limit`.
    std::string ReadOutput(std::string_view marker, std::chrono::milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        while (output.find(marker) == std::string::npos && Clock::now() < deadline) {
            pollfd p{stdoutFd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(stdoutFd, buffer, sizeof buffer);
            if (n <= 0) break;
            output.append(buffer, static_cast<std::size_t>(n));
        }
        return output;
    }

    // Waits for the process to end; its exit code, or -1 when it did not end in time.
    int Wait(std::chrono::milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        while (Clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            ::poll(nullptr, 0, 10);
        }
        return -1;
    }

    pid_t pid = -1;
    int stdoutFd = -1;
    std::string output;
};

TEST(SimCommandTest, ArgumentsAreCheckedAndExplained) {
    struct Row {
        std::vector<std::string> arguments;
        int exitCode;
        std::string_view output;
    };
    const Row rows[] = {
        {{"--help"}, 0, "unplug=N"},   {{"--baud", "fast"}, 2, ""},
        {{"--baud", "10"}, 2, ""},     {{"--variant", "wifi"}, 2, ""},
        {{"--fault", "bogus"}, 2, ""}, {{"--fault", "value:AT+NOSUCH=1"}, 2, ""},
        {{"--timeout", "0"}, 2, ""},   {{"--start", "sleep"}, 2, ""},
        {{"--link"}, 2, ""},           {{"--frobnicate"}, 2, ""},
        {{"--help"}, 0, "--keep-old"}, {{"--keep-old", "AT+NOSUCH"}, 2, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.front());
        SimProcess sim(row.arguments);
        ASSERT_GT(sim.pid, 0);
        const std::string output = sim.ReadOutput("\x04", 2000ms);
        EXPECT_EQ(sim.Wait(2000ms), row.exitCode);
        EXPECT_NE(output.find(row.output), std::string::npos);
    }
}

TEST(SimCommandTest, RunsAUnitUntilTerminated) {
    const std::string link = testpaths::TempDir() + "/dtu0";
    SimProcess sim({"--variant", "lora", "--baud", "921600", "--start", "config", "--link", link,
                    "--fault", "value:AT+APN=BOOK", "--timeout", "30", "--hard-values",
                    "--keep-old", "AT+IPAD"});
    ASSERT_GT(sim.pid, 0);
    const std::string output = sim.ReadOutput("\n", 3000ms);
    ASSERT_EQ(output.rfind("/dev/pts/", 0), 0u) << output;
    const std::string path = output.substr(0, output.find('\n'));
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(path, target);

    simtest::PtyClient client;
    std::string error;
    ASSERT_TRUE(client.Open(link, &error)) << error;
    client.Write("\r\nAT+SHOW\r\n");
    ASSERT_TRUE(client.ReadUntil("\r\nOK\r\n", 3000ms));
    std::string deviceType, apn;
    EXPECT_TRUE(simtest::ProgramValue(client.Received(), "\r\nDevice Type:", &deviceType));
    EXPECT_TRUE(simtest::ProgramValue(client.Received(), "Access Point Name:", &apn));
    EXPECT_EQ(deviceType, "DTU-K3-L");
    EXPECT_EQ(apn, "BOOK");
    // The hard values: an item the form's list lacks, GBK text; and a write answered OK but
    // not carried out.
    std::string dioInterface, highInfo, ip, ipAfter;
    EXPECT_TRUE(simtest::ProgramValue(client.Received(), "DIO1 interface:", &dioInterface));
    EXPECT_TRUE(
        simtest::ProgramValue(client.Received(), "DIO1 high level information:", &highInfo));
    EXPECT_TRUE(simtest::ProgramValue(client.Received(), "\r\nServer's Ip:", &ip));
    EXPECT_EQ(dioInterface, "RS232");
    EXPECT_EQ(highInfo, "\xB8\xDF\xB5\xE7\xC6\xBD");
    client.Take();
    client.Write("AT+IPAD=1.2.3.4\r\n");
    ASSERT_TRUE(client.ReadUntil("OK\r\n", 3000ms));
    client.Take();
    client.Write("\r\nAT+SHOW\r\n");
    ASSERT_TRUE(client.ReadUntil("\r\nOK\r\n", 3000ms));
    EXPECT_TRUE(simtest::ProgramValue(client.Received(), "\r\nServer's Ip:", &ipAfter));
    EXPECT_EQ(ipAfter, ip);

    ::kill(sim.pid, SIGTERM);
    EXPECT_EQ(sim.Wait(3000ms), 0);
    struct stat info {};
    EXPECT_NE(::lstat(link.c_str(), &info), 0) << "link left behind";
    EXPECT_TRUE(client.WaitHangup(1000ms));
}

TEST(SimCommandTest, EndsWhenTheLineIsCut) {
    SimProcess sim({"--start", "config", "--fault", "unplug=30"});
    ASSERT_GT(sim.pid, 0);
    const std::string output = sim.ReadOutput("\n", 3000ms);
    simtest::PtyClient client;
    std::string error;
    ASSERT_TRUE(client.Open(output.substr(0, output.find('\n')), &error)) << error;
    client.Write("AT+SHOW\r\n");
    EXPECT_TRUE(client.WaitHangup(2000ms));
    EXPECT_EQ(client.Received().size(), 30u);
    EXPECT_EQ(sim.Wait(3000ms), 0);
}

}  // namespace
