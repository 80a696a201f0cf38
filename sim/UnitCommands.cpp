// The unit's command set: what each AT command does and what it answers.
#include "sim/TextUtil.h"
#include "sim/UnitParameters.h"
#include "sim/UnitTexts.h"
#include "sim/VirtualUnit.h"

namespace sim {

namespace {

enum class Action {
    Attention,
    Show,
    Factory,
    Version,
    Pin,
    Signal,
    NetMode,
    FileLog,
    Quit,
    List,
    Clock
};

struct CommandRow {
    std::string_view word;
    Action action;
    bool takesArgument;  // written "WORD=argument"; the others stand alone
};

constexpr CommandRow kCommands[] = {
    {"AT", Action::Attention, false},           {"AT+SHOW", Action::Show, false},
    {"AT+FACTORY", Action::Factory, false},     {"AT+VER", Action::Version, false},
    {"AT+CPIN?", Action::Pin, false},           {"AT+CSQ", Action::Signal, false},
    {"AT+FINDNETMODE", Action::NetMode, false}, {"AT+READFILELOG", Action::FileLog, false},
    {"AT+QUIT", Action::Quit, false},           {"AT+LIST", Action::List, false},
    {"AT+EXCCLK", Action::Clock, true},
};

const CommandRow* FindCommand(std::string_view word) {
    for (const auto& row : kCommands) {
        if (EqualsNoCase(row.word, word)) return &row;
    }
    return nullptr;
}

std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

void VirtualUnit::Escape(std::string_view trigger, std::string_view greeting, TimePoint now) {
    const CommandFaults commandFaults = faults.ForCommand(trigger);
    if (commandFaults.reboot) {
        Restart(now);
        return;
    }
    if (commandFaults.error) {
        Answer(trigger, std::string(kErrorText), Result::Error, commandFaults, now);
        return;
    }
    if (mode != UnitMode::Configuration) EnterConfiguration(now);
    lastCommand = now;
    Answer(trigger, std::string(greeting), Result::Text, commandFaults, now);
}

void VirtualUnit::RunCommand(std::string_view command, TimePoint now) {
    const std::size_t equals = command.find('=');
    const bool hasArgument = equals != std::string_view::npos;
    const std::string_view word = hasArgument ? command.substr(0, equals) : TrimEnd(command);
    const std::string_view argument = hasArgument ? command.substr(equals + 1) : "";

    const CommandFaults commandFaults = faults.ForCommand(word);
    if (commandFaults.reboot) {
        Restart(now);
        return;
    }
    const auto refuse = [&] {
        Answer(word, std::string(kErrorText), Result::Error, commandFaults, now);
    };
    if (commandFaults.error) return refuse();

    const CommandRow* row = FindCommand(word);
    if (!row) {
        if (!hasArgument) return refuse();
        if (KeepsOldValue(word)) {
            Log(ToUpperAscii(word) + " kept", now);
            Answer(word, std::string(kOkText), Result::Ok, commandFaults, now);
            return;
        }
        switch (store.Write(word, argument)) {
            case WriteResult::Stored:
                Log(ToUpperAscii(word) + " set", now);
                Answer(word, std::string(kOkText), Result::Ok, commandFaults, now);
                return;
            case WriteResult::Refused:
            case WriteResult::ReadOnly:
                Log(ToUpperAscii(word) + " refused", now);
                return refuse();
            case WriteResult::UnknownCommand:
                return refuse();
        }
        return refuse();
    }
    if (row->takesArgument != hasArgument) return refuse();

    std::string text;
    switch (row->action) {
        case Action::Attention:
            break;
        case Action::Show:
            text = std::string(kListingHeader) + store.Listing();
            break;
        case Action::Factory:
            store.RestoreFactory();
            Log("factory settings restored", now);
            break;
        case Action::Version:
            text = VersionText(*store.ByLabel("Device Type:"));
            break;
        case Action::Pin:
            text = kPinText;
            break;
        case Action::Signal:
            text = kSignalText;
            break;
        case Action::NetMode:
            text = kNetModeText;
            break;
        case Action::FileLog:
            text = "\r\n[File log]\r\n";
            for (const std::string& entry : eventLog) text += entry + "\r\n";
            break;
        case Action::List:
            text = CommandListText();
            break;
        case Action::Quit:
            break;
        case Action::Clock:
            if (!clock.Set(argument, now)) return refuse();
            Log("clock set", now);
            break;
    }
    Answer(word, text + std::string(kOkText), Result::Ok, commandFaults, now);
    if (row->action == Action::Quit) {
        Log("quit setting", now);
        EnterWorking(now, false);
    }
}

void VirtualUnit::Answer(std::string_view command, std::string text, Result result,
                         const CommandFaults& commandFaults, TimePoint now) {
    if (result == Result::Ok) ++counters.okAnswers;
    if (result == Result::Error) ++counters.errorAnswers;
    FlushEcho(now);
    if (commandFaults.cut) return Unplug(now);
    if (commandFaults.mute) return;
    ShapedAnswer shaped = faults.Shape(command, std::move(text));
    transmitter.Queue(std::move(shaped.noise), now);
    transmitter.Queue(std::move(shaped.body), now + commandFaults.delay, shaped.gap);
}

bool VirtualUnit::KeepsOldValue(std::string_view word) const {
    for (const std::string& kept : options.keepOld) {
        if (EqualsNoCase(kept, word)) return true;
    }
    return false;
}

}  // namespace sim
