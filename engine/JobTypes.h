#pragma once
// What each job type waits for and what the worker does with its answer.
//
// Threads: constant data and pure lookups, any thread.
#include <chrono>
#include <string_view>

#include "engine/CommandJob.h"
#include "params/Listing.h"

// How the receive path decides that the awaited answer is complete. An ERROR line completes
// every kind but None (the Login's only before its greeting), and the worker then stores and
// applies nothing.
enum class Completion {
    None,         // no test
    Listing,      // "Access Point Name:" and an OK line
    Login,        // "enter setting!" logs in, as an OK line does (a late answer to "AT"); an ERROR
                  // line ends it
    Factory,      // an OK line (a ReadAll follows)
    FileListing,  // as Listing
    QuitOk,       // an OK line, and the form shows the logged-out state
    OkOnly,       // an OK line
    Signal,       // an OK line; after an ERROR line the query is retried once
    OkOrError,    // an OK line
    InStep,       // no answer owed any more (LineSync.h): the probe's came after the rest
    InSetting,    // an OK line: the unit is in its setting mode, and the form says so
};

// What the worker does once the answer is complete.
enum class ResultAction {
    None,
    ParseListing,    // a listing longer than 3000 characters fills the form (2126)
    WriteOutcome,    // SaveSuccess and the value stored, or SaveError
    FactoryOutcome,  // FactorySuccess or FactoryError
    SaveFile,        // the listing into the chosen .cfg file
    ApplyFile,       // the listing parsed, then the differing values written
    CheckWrites,     // the listing compared with the confirmed writes, then shown
    LoggedOut,       // 2131 (0, 0)
    NetMode,         // the network mode into "FINDNETMODE"
};

struct JobTypeRow {
    JobType type;
    const char* command;  // the bytes written, line ends included; null where the job builds it
    int baseTimeoutMs;
    Completion completion;
    ResultAction result;
};

// clang-format off
inline constexpr JobTypeRow kJobTypes[] = {
    // type            command                   time-out  completed by             result handling
    {JobType::ReadAll,          kListingCommand,          24000,    Completion::Listing,     ResultAction::ParseListing},
    {JobType::WriteParameter,   nullptr,                  5000,     Completion::OkOrError,   ResultAction::WriteOutcome},
    {JobType::EnterConfig,      nullptr,                  5000,     Completion::Login,       ResultAction::None},
    {JobType::RestoreFactory,   "\r\nAT+FACTORY\r\n",     5000,     Completion::Factory,     ResultAction::FactoryOutcome},
    {JobType::ReadForSave,      kListingCommand,          24000,    Completion::FileListing, ResultAction::SaveFile},
    {JobType::ReadForApply,     kListingCommand,          24000,    Completion::FileListing, ResultAction::ApplyFile},
    {JobType::Quit,             "\r\nat+quit\r\n",        5000,     Completion::QuitOk,      ResultAction::LoggedOut},
    {JobType::FindNetMode,      "AT+FINDNETMODE\r\n",     5000,     Completion::OkOnly,      ResultAction::NetMode},
    {JobType::GetVersion,       "At+VER\r\n",             5000,     Completion::OkOrError,   ResultAction::None},
    {JobType::QueryPin,         "\r\nAt+CPIN?\r\n",       5000,     Completion::OkOrError,   ResultAction::None},
    {JobType::QuerySignal,      "At+CSQ\r\n",             5000,     Completion::Signal,      ResultAction::None},
    {JobType::QuerySignalRetry, "At+CSQ\r\n",             5000,     Completion::OkOrError,   ResultAction::None},
    {JobType::ReadFileLog,      "at+READFILELOG\r\n",     24000,    Completion::OkOrError,   ResultAction::None},
    {JobType::RawCommand,       nullptr,                  5000,     Completion::OkOrError,   ResultAction::None},
    {JobType::ReadBack,         kListingCommand,          24000,    Completion::Listing,     ResultAction::CheckWrites},
    {JobType::Resync,           "AT\r\n",                 5000,     Completion::InStep,      ResultAction::None},
    {JobType::ModeProbe,        "\r\nAT\r\n",             5000,     Completion::InSetting,   ResultAction::None},
};
// clang-format on

// The time-out of any other type, and what it waits for (nothing).
inline constexpr JobTypeRow kOtherJobType = {JobType::None, nullptr, 5000, Completion::None,
                                             ResultAction::None};

// The row of a job type or pending kind (kOtherJobType for one not in the table).
constexpr const JobTypeRow& JobTypeOf(JobType type) {
    for (const JobTypeRow& row : kJobTypes) {
        if (row.type == type) return row;
    }
    return kOtherJobType;
}

// The fixed command of a job type (its table row's); empty for a type whose job builds its own.
constexpr std::string_view JobCommand(JobType type) {
    const char* command = JobTypeOf(type).command;
    return command ? std::string_view(command) : std::string_view();
}

// The job's time-out: its base time-out times the factor (at least 1).
inline std::chrono::milliseconds JobTimeout(JobType type, int timeoutFactor) {
    return std::chrono::milliseconds(static_cast<long long>(JobTypeOf(type).baseTimeoutMs) *
                                     (timeoutFactor < 1 ? 1 : timeoutFactor));
}
