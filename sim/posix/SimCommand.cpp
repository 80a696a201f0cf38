#include "sim/SimCommand.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "sim/FaultRule.h"
#include "sim/TextUtil.h"
#include "sim/UnitParameters.h"
#include "sim/VirtualUnitHost.h"

namespace sim {

namespace {

constexpr std::string_view kUsage =
    "usage: dtuconfig sim [options]\n"
    "Runs a virtual DTU on a pseudo-terminal until interrupted (Ctrl-C) and prints the\n"
    "device path to open on standard output.\n"
    "\n"
    "  --variant none|lora|zigbee|gps   module fitted (default none)\n"
    "  --baud N             line speed; output is paced at 10 bits a byte (default 115200)\n"
    "  --echo               echo every received byte\n"
    "  --link PATH          also make a symbolic link PATH to the device (removed on exit)\n"
    "  --fault FAULT        commit a fault, repeatable (see below)\n"
    "  --seed N             seed for the faults' chance (default 1)\n"
    "  --timeout SECONDS    setting mode ends after this long without commands (default 300)\n"
    "  --prompt SECONDS     length of the start-up prompt window (default 3)\n"
    "  --start power-on|working|config   how the unit comes up (default power-on)\n"
    "  --lora-ver TEXT      \"LORA ver\" of a LoRa unit (default \"SX1278 T4R22A v1.3\";\n"
    "                       try \"T4R22B-N v2.0\")\n"
    "  --hard-values        values the form's lists lack (RS232, 1, a number past a list) and\n"
    "                       GBK texts, as a unit that was set up by other tools holds them\n"
    "  --odd-values         every parameter of words or numbers holds \"x\": a value in none\n"
    "                       of the form's lists\n"
    "  --long-values N      every text, address and phone parameter holds N characters\n"
    "  --keep-old CMD       answer OK to writes of CMD but keep the old value, repeatable\n"
    "  --help               this text\n"
    "\n"
    "Faults:\n";

// Written by the signal handler and by the unplug callback; read by the main thread.
int wakePipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 's';
    [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &byte, 1);
}

struct SimArguments {
    UnitOptions options;
    std::vector<FaultRule> faults;
    std::string link;
    bool help = false;
};

bool ParseSeconds(std::string_view text, Duration* value) {
    long long ms = 0;
    if (!ParseScaled(text, 1000, &ms) || ms <= 0 || ms > 1000LL * 86400 * 365) return false;
    *value = std::chrono::milliseconds(ms);
    return true;
}

bool ParseArguments(int argc, char** argv, SimArguments* parsed, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string_view option = argv[i];
        std::string_view value;
        bool hasValue = false;
        if (const std::size_t equals = option.find('=');
            option.substr(0, 2) == "--" && equals != std::string_view::npos) {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
            hasValue = true;
        }
        const auto takeValue = [&]() -> bool {
            if (hasValue) return true;
            if (i + 1 >= argc) {
                *error = std::string(option) + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        const auto bad = [&](std::string_view what) {
            *error = "bad " + std::string(what) + " '" + std::string(value) + "'";
            return false;
        };
        if (option == "--help" || option == "-h") {
            parsed->help = true;
        } else if (option == "--echo") {
            parsed->options.echo = true;
        } else if (option == "--variant") {
            if (!takeValue()) return false;
            if (!ParseVariant(value, &parsed->options.variant)) return bad("variant");
        } else if (option == "--baud") {
            long long baud = 0;
            if (!takeValue()) return false;
            if (!ParseInteger(value, &baud) || baud < kMinBaud || baud > kMaxBaud) {
                return bad("baud rate");
            }
            parsed->options.baud = static_cast<int>(baud);
        } else if (option == "--link") {
            if (!takeValue()) return false;
            if (value.empty()) return bad("link path");
            parsed->link = std::string(value);
        } else if (option == "--fault") {
            if (!takeValue()) return false;
            FaultRule rule;
            if (!ParseFaultRule(value, &rule, error)) return false;
            if (rule.kind == FaultKind::Value && FindParameterByCommand(rule.target) < 0 &&
                FindParameterByLabel(rule.target) < 0) {
                *error = "no parameter is written by '" + rule.target + "'";
                return false;
            }
            parsed->faults.push_back(rule);
        } else if (option == "--seed") {
            long long seed = 0;
            if (!takeValue()) return false;
            if (!ParseInteger(value, &seed) || seed < 0 || seed > 0xFFFFFFFFLL) return bad("seed");
            parsed->options.seed = static_cast<std::uint32_t>(seed);
        } else if (option == "--timeout") {
            if (!takeValue()) return false;
            if (!ParseSeconds(value, &parsed->options.inactivityTimeout)) return bad("time-out");
        } else if (option == "--prompt") {
            if (!takeValue()) return false;
            if (!ParseSeconds(value, &parsed->options.promptWindow)) return bad("prompt window");
        } else if (option == "--start") {
            if (!takeValue()) return false;
            if (value == "power-on") {
                parsed->options.start = UnitStart::PowerOn;
            } else if (value == "working") {
                parsed->options.start = UnitStart::Working;
            } else if (value == "config") {
                parsed->options.start = UnitStart::Configuration;
            } else {
                return bad("start mode");
            }
        } else if (option == "--hard-values") {
            parsed->options.hardValues = true;
        } else if (option == "--odd-values") {
            parsed->options.oddValues = true;
        } else if (option == "--long-values") {
            long long length = 0;
            if (!takeValue()) return false;
            if (!ParseInteger(value, &length) || length < 1 || length > 999) {
                return bad("value length");
            }
            parsed->options.longValues = static_cast<int>(length);
        } else if (option == "--keep-old") {
            if (!takeValue()) return false;
            if (FindParameterByCommand(value) < 0) return bad("command to keep");
            parsed->options.keepOld.emplace_back(value);
        } else if (option == "--lora-ver") {
            if (!takeValue()) return false;
            parsed->options.loraVersion = std::string(value);
        } else {
            *error = "unknown option '" + std::string(argv[i]) + "'";
            return false;
        }
    }
    return true;
}

// Makes `link` point at `target`; an old symbolic link there is replaced, anything else is
// left alone and reported.
bool MakeLink(const std::string& link, const std::string& target, std::string* error) {
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            *error = link + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        *error = "cannot create " + link + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// Removes `link` only while it still points at our device.
void RemoveLink(const std::string& link, const std::string& target) {
    char buffer[4096];
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer - 1);
    if (n > 0 && std::string_view(buffer, static_cast<std::size_t>(n)) == target) {
        ::unlink(link.c_str());
    }
}

}  // namespace

int RunSimCommand(int argc, char** argv) {
    SimArguments arguments;
    std::string error;
    if (!ParseArguments(argc, argv, &arguments, &error)) {
        std::fprintf(stderr, "dtuconfig sim: %s\n(try --help)\n", error.c_str());
        return 2;
    }
    if (arguments.help) {
        std::fputs(std::string(kUsage).c_str(), stdout);
        std::fputs(std::string(FaultHelp()).c_str(), stdout);
        return 0;
    }
    if (::pipe2(wakePipe, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "dtuconfig sim: pipe: %s\n", std::strerror(errno));
        return 1;
    }
    VirtualUnitHost host(arguments.options);
    for (const FaultRule& rule : arguments.faults) host.AddFault(rule, nullptr);
    host.SetUnplugCallback([] { OnSignal(0); });

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    struct sigaction oldInt {
    }, oldTerm{};
    ::sigaction(SIGINT, &action, &oldInt);
    ::sigaction(SIGTERM, &action, &oldTerm);

    int status = 0;
    if (!host.Start(&error)) {
        std::fprintf(stderr, "dtuconfig sim: %s\n", error.c_str());
        status = 1;
    } else if (!arguments.link.empty() && !MakeLink(arguments.link, host.DevicePath(), &error)) {
        std::fprintf(stderr, "dtuconfig sim: %s\n", error.c_str());
        status = 1;
    } else {
        std::printf("%s\n", host.DevicePath().c_str());
        std::fflush(stdout);
        std::fprintf(stderr, "virtual %s unit at %d baud on %s; Ctrl-C stops it\n",
                     host.StoredValueByLabel("Device Type:").value_or("").c_str(),
                     arguments.options.baud, host.DevicePath().c_str());
        char byte = 0;
        while (::read(wakePipe[0], &byte, 1) < 0 && errno == EINTR) {
        }
        if (host.LineCut()) std::fprintf(stderr, "the line was cut (unplug)\n");
    }
    host.Stop();
    if (!arguments.link.empty() && status == 0) RemoveLink(arguments.link, host.DevicePath());
    ::sigaction(SIGINT, &oldInt, nullptr);
    ::sigaction(SIGTERM, &oldTerm, nullptr);
    ::close(wakePipe[0]);
    ::close(wakePipe[1]);
    wakePipe[0] = wakePipe[1] = -1;
    return status;
}

}  // namespace sim
