#include "cli/CliProvisionTable.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kLineUp = "\x1b[A";
constexpr const char* kClearLine = "\r\x1b[2K";

}  // namespace

ProvisionTable::ProvisionTable(std::vector<std::string> ports, bool live)
    : ports_(std::move(ports)), states_(ports_.size()), live_(live) {}

void ProvisionTable::Update(std::size_t port, const std::string& state, const std::string& event) {
    states_[port] = state;
    if (live_) {
        Redraw();
    } else if (!event.empty()) {
        std::printf("%s: %s\n", ports_[port].c_str(), event.c_str());
        std::fflush(stdout);
    }
}

void ProvisionTable::Note(const std::string& line) {
    if (live_ && drawn_) {
        for (std::size_t i = 0; i < ports_.size(); ++i) std::fputs(kLineUp, stdout);
        std::fputs(kClearLine, stdout);
        drawn_ = false;
    }
    std::printf("%s\n", line.c_str());
    if (live_) Redraw();
    std::fflush(stdout);
}

void ProvisionTable::Redraw() {
    if (drawn_) {
        for (std::size_t i = 0; i < ports_.size(); ++i) std::fputs(kLineUp, stdout);
    }
    std::size_t width = 0;
    for (const std::string& port : ports_) width = std::max(width, port.size());
    for (std::size_t i = 0; i < ports_.size(); ++i) {
        std::printf("%s%-*s  %s\n", kClearLine, static_cast<int>(width), ports_[i].c_str(),
                    states_[i].c_str());
    }
    drawn_ = true;
    std::fflush(stdout);
}
