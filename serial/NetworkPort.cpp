#include "serial/NetworkPort.h"

#include <algorithm>
#include <cctype>

namespace serial {

namespace {

struct SchemeRow {
    std::string_view prefix;
    NetworkMode mode;
};

constexpr SchemeRow kSchemes[] = {
    {"rfc2217://", NetworkMode::Rfc2217},
    {"tcp://", NetworkMode::Raw},
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

bool IsPortNumber(std::string_view text) {
    if (text.empty() || text.size() > 5) return false;
    unsigned long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    return value >= 1 && value <= 65535;
}

}  // namespace

bool IsNetworkPortName(std::string_view name) {
    return std::any_of(std::begin(kSchemes), std::end(kSchemes),
                       [&](const SchemeRow& row) { return StartsWithNoCase(name, row.prefix); });
}

bool ParseNetworkPortName(std::string_view name, NetworkAddress* address) {
    for (const SchemeRow& row : kSchemes) {
        if (!StartsWithNoCase(name, row.prefix)) continue;
        std::string_view rest = name.substr(row.prefix.size());
        if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
        std::string_view host;
        std::string_view service;
        if (!rest.empty() && rest.front() == '[') {
            // An IPv6 address is bracketed, as in a URL: its own colons are not the port's.
            const std::size_t close = rest.find(']');
            if (close == std::string_view::npos || rest.substr(close + 1, 1) != ":") return false;
            host = rest.substr(1, close - 1);
            service = rest.substr(close + 2);
        } else {
            const std::size_t colon = rest.rfind(':');
            if (colon == std::string_view::npos) return false;
            host = rest.substr(0, colon);
            service = rest.substr(colon + 1);
            if (host.find(':') != std::string_view::npos) return false;
        }
        const auto bad = [](char c) {
            return std::isspace(static_cast<unsigned char>(c)) || c == '/' || c == '[' || c == ']';
        };
        if (host.empty() || std::any_of(host.begin(), host.end(), bad) || !IsPortNumber(service))
            return false;
        *address = {row.mode, std::string(host), std::string(service)};
        return true;
    }
    return false;
}

namespace telnet {

namespace {

constexpr unsigned char kNotifyLineState = 106;
constexpr unsigned char kNotifyModemState = 107;
constexpr unsigned char kFlowSuspend = 108;
constexpr unsigned char kFlowResume = 109;

std::string Command(unsigned char verb, unsigned char option) {
    return {static_cast<char>(kIac), static_cast<char>(verb), static_cast<char>(option)};
}

bool WeSpeak(unsigned char option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}

bool TheyMaySpeak(unsigned char option) {
    return option == kBinary || option == kSuppressGoAhead;
}

}  // namespace

std::string Escape(std::string_view data) {
    std::string out;
    out.reserve(data.size() + 8);
    for (char c : data) {
        out += c;
        if (static_cast<unsigned char>(c) == kIac) out += c;
    }
    return out;
}

std::size_t DataBytesIn(std::string_view data, std::size_t sent) {
    std::size_t used = 0;
    std::size_t count = 0;
    for (char c : data) {
        used += static_cast<unsigned char>(c) == kIac ? 2 : 1;
        if (used > sent) break;
        ++count;
    }
    return count;
}

std::string ComPortCommand(unsigned char command, std::string_view value) {
    std::string out = {static_cast<char>(kIac), static_cast<char>(kSb), static_cast<char>(kComPort),
                       static_cast<char>(command)};
    out += Escape(value);
    out += static_cast<char>(kIac);
    out += static_cast<char>(kSe);
    return out;
}

std::vector<LineCommand> LineCommands(std::uint32_t baud, unsigned dataBits, char parity,
                                      unsigned stopBits) {
    constexpr std::string_view kParities = "NOEMS";
    const std::size_t parityCode = kParities.find(parity);
    const std::string baudValue = {static_cast<char>(baud >> 24), static_cast<char>(baud >> 16),
                                   static_cast<char>(baud >> 8), static_cast<char>(baud)};
    return {
        {kSetBaudRate, baudValue},
        {kSetDataSize, std::string(1, static_cast<char>(dataBits))},
        {kSetParity,
         std::string(1,
                     static_cast<char>(parityCode == std::string_view::npos ? 0 : parityCode + 1))},
        {kSetStopSize, std::string(1, static_cast<char>(stopBits))},
    };
}

std::string TelnetDecoder::Greet() {
    std::string out;
    for (unsigned char option : {kComPort, kBinary}) {
        ours_[option] = Asked;
        out += Command(kWill, option);
    }
    for (unsigned char option : {kBinary, kSuppressGoAhead}) {
        theirs_[option] = Asked;
        out += Command(kDo, option);
    }
    return out;
}

void TelnetDecoder::Feed(std::string_view input, std::string* data) {
    for (char ch : input) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (state_) {
            case State::Data:
                if (byte == kIac)
                    state_ = State::Iac;
                else
                    *data += ch;
                break;
            case State::Iac:
                if (byte == kIac) {
                    *data += ch;
                    state_ = State::Data;
                } else if (byte >= kWill && byte <= kDont) {
                    verb_ = byte;
                    state_ = State::Option;
                } else if (byte == kSb) {
                    sub_.clear();
                    state_ = State::Sub;
                } else {
                    // NOP, go-ahead, a stray SE...: nothing for a binary line.
                    state_ = State::Data;
                }
                break;
            case State::Option:
                Negotiate(verb_, byte);
                state_ = State::Data;
                break;
            case State::Sub:
                if (byte == kIac)
                    state_ = State::SubIac;
                else
                    sub_ += ch;
                break;
            case State::SubIac:
                if (byte == kSe) {
                    EndSubnegotiation();
                    state_ = State::Data;
                } else {
                    // A doubled IAC is a value byte; anything else ends a malformed one.
                    if (byte == kIac) sub_ += ch;
                    state_ = byte == kIac ? State::Sub : State::Data;
                }
                break;
        }
    }
}

void TelnetDecoder::Negotiate(unsigned char verb, unsigned char option) {
    // Each side's option is off, asked for by us, or on; an answer is sent only when that
    // changes at the other side's request, so two programs never bounce the same request.
    const bool aboutUs = verb == kDo || verb == kDont;
    const bool enable = verb == kDo || verb == kWill;
    OptionState& state = aboutUs ? ours_[option] : theirs_[option];
    const bool allowed = aboutUs ? WeSpeak(option) : TheyMaySpeak(option);
    const unsigned char yes = aboutUs ? kWill : kDo;
    const unsigned char no = aboutUs ? kWont : kDont;
    if (enable) {
        if (state == On) return;
        if (state == Off) replies_ += Command(allowed ? yes : no, option);
        state = allowed ? On : Off;
    } else {
        if (state == On) replies_ += Command(no, option);
        state = Off;
        if (aboutUs && option == kComPort) comPortDeclined_ = true;
    }
}

void TelnetDecoder::EndSubnegotiation() {
    if (sub_.size() < 2 || static_cast<unsigned char>(sub_[0]) != kComPort) return;
    const auto command = static_cast<unsigned char>(sub_[1]);
    // State notices come unasked, and a flow-control notice concerns a buffer the server keeps:
    // neither is data nor an answer.
    if (command < kServerOffset || command == kNotifyLineState || command == kNotifyModemState ||
        command == kFlowSuspend || command == kFlowResume)
        return;
    answers_.push_back({command, sub_.substr(2)});
}

std::string TelnetDecoder::TakeReplies() {
    return std::exchange(replies_, {});
}

std::vector<TelnetDecoder::Answer> TelnetDecoder::TakeAnswers() {
    return std::exchange(answers_, {});
}

}  // namespace telnet

}  // namespace serial
