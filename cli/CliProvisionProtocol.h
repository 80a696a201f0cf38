#pragma once
// The lines a unit's run on one port sends its parent on stdout, besides the writes' own
// "name<TAB>old<TAB>new<TAB>result" lines: each starts with '@' and a word, fields by tabs.
//
// Threads: any.
inline constexpr const char* kStepLine = "@step";      // @step <TAB> what the run does now
inline constexpr const char* kUnitLine = "@unit";      // @unit <TAB> device type <TAB> ID number
inline constexpr const char* kWritesLine = "@writes";  // @writes <TAB> how many are queued
// @result <TAB> configured | failed <TAB> the read-back's verdict <TAB> why it failed
inline constexpr const char* kResultLine = "@result";
inline constexpr const char* kReportLine = "@report";  // @report <TAB> the report's file name
