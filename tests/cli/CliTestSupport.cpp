#include "tests/cli/CliTestSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <fstream>

#include "params/ParameterTable.h"
#include "tests/support/TestPaths.h"

namespace clitest {

CliRun::CliRun(const QStringList& args, bool ownGroup) : process_(std::make_unique<QProcess>()) {
    if (ownGroup) process_->setChildProcessModifier([] { setsid(); });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The program's settings come from the build folder; keep a user's own away from the test.
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(testpaths::TempDir()));
    process_->setProcessEnvironment(env);
    process_->setWorkingDirectory(QString::fromStdString(testpaths::TempDir()));
    process_->start(QString::fromStdString(testpaths::BinaryDir() + "/dtuconfig"), args);
}

CliResult CliRun::Finish(int timeoutMs) {
    CliResult result;
    const bool finished = process_->waitForFinished(timeoutMs);
    if (!finished) {
        process_->kill();
        process_->waitForFinished(2000);
    }
    result.out = process_->readAllStandardOutput().toStdString();
    result.err = errSoFar_ + process_->readAllStandardError().toStdString();
    if (finished && process_->exitStatus() == QProcess::NormalExit) {
        result.exitCode = process_->exitCode();
    }
    return result;
}

bool CliRun::WaitForStderr(const std::string& text, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    // waitForReadyRead waits on the current channel only.
    process_->setReadChannel(QProcess::StandardError);
    while (errSoFar_.find(text) == std::string::npos) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || process_->state() == QProcess::NotRunning) return false;
        process_->waitForReadyRead(static_cast<int>(left));
        errSoFar_ += process_->readAllStandardError().toStdString();
    }
    process_->setReadChannel(QProcess::StandardOutput);
    return true;
}

void CliRun::Interrupt() {
    if (process_->processId() > 0) kill(static_cast<pid_t>(process_->processId()), SIGINT);
}

void CliRun::InterruptGroup() {
    if (process_->processId() > 0) kill(-static_cast<pid_t>(process_->processId()), SIGINT);
}

CliResult RunCli(const QStringList& args, int timeoutMs) {
    return CliRun(args).Finish(timeoutMs);
}

sim::UnitOptions FastUnit(sim::UnitVariant variant, sim::UnitStart start) {
    sim::UnitOptions options;
    options.variant = variant;
    options.start = start;
    options.baud = kBaud;
    // A slow start of the program still meets the prompt window.
    options.promptWindow = std::chrono::seconds(10);
    return options;
}

QStringList PortArgs(const sim::VirtualUnitHost& host) {
    return {"--port", QString::fromStdString(host.DevicePath()), "--baud", QString::number(kBaud)};
}

std::string CaptureListing(const std::string& device, int timeoutMs) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    const std::string command = "\r\nAT+SHOW\r\n";
    std::string answer;
    if (write(fd, command.data(), command.size()) == static_cast<ssize_t>(command.size())) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        const std::string end = "\r\nOK\r\n";
        while (std::chrono::steady_clock::now() < deadline) {
            const bool complete = answer.find("Access Point Name:") != std::string::npos &&
                                  answer.size() >= end.size() &&
                                  answer.compare(answer.size() - end.size(), end.size(), end) == 0;
            if (complete) break;
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char block[4096];
            const ssize_t n = read(fd, block, sizeof block);
            if (n > 0) answer.append(block, static_cast<std::size_t>(n));
        }
    }
    close(fd);
    const bool complete = answer.size() > 6 && answer.ends_with("\r\nOK\r\n");
    return complete ? answer : std::string();
}

std::map<std::string, std::string> UnitValuesByName(const sim::VirtualUnitHost& host) {
    ParameterTable table;
    BuildParameterTable(table);
    std::map<std::string, std::string> values;
    for (const auto& [name, entry] : table) {
        if (entry.responseLabel.empty()) continue;
        // The unit prints the label after the previous line's end.
        std::string label = entry.responseLabel;
        if (label.starts_with("\r\n")) label.erase(0, 2);
        if (auto stored = host.StoredValueByLabel(label)) values[name] = *stored;
    }
    return values;
}

std::string NameOfCommand(const std::string& atCommand) {
    ParameterTable table;
    BuildParameterTable(table);
    for (const auto& [name, entry] : table) {
        if (entry.atCommand == atCommand) return name;
    }
    return {};
}

bool ParseJsonObject(const std::string& text, std::map<std::string, std::string>* values) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return false;
    const QJsonObject object = doc.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isString()) return false;
        (*values)[it.key().toStdString()] = it.value().toString().toStdString();
    }
    return true;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> WritesSince(const sim::VirtualUnitHost& host, std::size_t from) {
    const std::vector<std::string> commands = host.ReceivedCommands();
    std::vector<std::string> writes;
    for (std::size_t i = from; i < commands.size(); ++i) {
        if (commands[i].find('=') != std::string::npos) writes.push_back(commands[i]);
    }
    return writes;
}

}  // namespace clitest
