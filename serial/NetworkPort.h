#pragma once
// Serial ports on a serial device server, named "rfc2217://HOST:PORT" (Telnet with the COM port
// control option: the program sets the server's line itself) or "tcp://HOST:PORT" (raw bytes on
// a line the server has set already), and the Telnet coding that the first kind speaks.
//
// Threads: any; a TelnetDecoder belongs to one thread at a time.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace serial {

enum class NetworkMode { Rfc2217, Raw };

struct NetworkAddress {
    NetworkMode mode = NetworkMode::Raw;
    std::string host;     // a name, an IPv4 address, or an IPv6 address without its brackets
    std::string service;  // the decimal port, 1 to 65535
};

// True when the name is a network port's, well formed or not (it is then never a file).
bool IsNetworkPortName(std::string_view name);
// The parts of a well formed network port name; false for anything else.
bool ParseNetworkPortName(std::string_view name, NetworkAddress* address);
// Whether the port's server accepts a connection now (it is closed again at once); at most
// timeoutMs.
bool NetworkPortAnswers(const std::string& device, int timeoutMs);

namespace telnet {

inline constexpr unsigned char kIac = 255;
inline constexpr unsigned char kDont = 254;
inline constexpr unsigned char kDo = 253;
inline constexpr unsigned char kWont = 252;
inline constexpr unsigned char kWill = 251;
inline constexpr unsigned char kSb = 250;
inline constexpr unsigned char kSe = 240;
inline constexpr unsigned char kBinary = 0;
inline constexpr unsigned char kSuppressGoAhead = 3;
inline constexpr unsigned char kComPort = 44;

// The COM port option's client commands; the server answers each with the command plus 100.
inline constexpr unsigned char kSetBaudRate = 1;
inline constexpr unsigned char kSetDataSize = 2;
inline constexpr unsigned char kSetParity = 3;
inline constexpr unsigned char kSetStopSize = 4;
inline constexpr unsigned char kServerOffset = 100;

// The data with each IAC byte doubled, as it must go on the connection.
std::string Escape(std::string_view data);
// How many bytes of data the first sent bytes of Escape(data) carry whole.
std::size_t DataBytesIn(std::string_view data, std::size_t sent);

// A client command of the COM port option with its value (escaped as needed).
std::string ComPortCommand(unsigned char command, std::string_view value);
// The commands that set the server's line: baud rate (4 bytes, network order), data bits,
// parity (1 none, 2 odd, 3 even, 4 mark, 5 space) and stop bits (1 one, 2 two, 3 one and a
// half), each with the value the server must answer.
struct LineCommand {
    unsigned char command;
    std::string value;
};
std::vector<LineCommand> LineCommands(std::uint32_t baud, unsigned dataBits, char parity,
                                      unsigned stopBits);

// Splits what the server sends into the serial data and the Telnet commands, across reads.
class TelnetDecoder {
  public:
    // A COM port option's answer from the server: its command (100 + the client's) and value.
    struct Answer {
        unsigned char command;
        std::string value;
    };

    // What the client says first: it will speak the COM port option and binary, and asks the
    // server for binary and no go-aheads.
    std::string Greet();
    // Appends the data bytes in the input to *data; answers and replies are kept for Take*.
    void Feed(std::string_view input, std::string* data);
    // The negotiation replies to send back (an option asked for: agreed or declined once).
    std::string TakeReplies();
    // The COM port answers received since the last call (line and modem state notices are
    // consumed here and never returned).
    std::vector<Answer> TakeAnswers();
    // Whether the server agreed to the COM port option, or declined it.
    bool ComPortAgreed() const { return ours_[kComPort] == On; }
    bool ComPortDeclined() const { return comPortDeclined_; }

  private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    enum OptionState : unsigned char { Off, Asked, On };
    void Negotiate(unsigned char verb, unsigned char option);
    void EndSubnegotiation();

    State state_ = State::Data;
    unsigned char verb_ = 0;
    std::string sub_;
    std::string replies_;
    std::vector<Answer> answers_;
    // Options each side has in force, so that an agreement is never answered twice (no loop).
    OptionState ours_[256] = {};
    OptionState theirs_[256] = {};
    bool comPortDeclined_ = false;
};

}  // namespace telnet

}  // namespace serial
