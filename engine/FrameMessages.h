#pragma once
// The numbers of the frame's window messages, for the code that posts and sends them without
// needing the frame itself.
//
// Threads: constants.
#include "ui/Types.h"

// The program's own window messages (the serial port's, 1034 and 1041, are in SerialPort.h;
// the log's, 2125, in ui/Log.h).
inline constexpr UINT kMsgLayoutRule = 2124;   // run layout rule wParam with lParam
inline constexpr UINT kMsgParseAnswer = 2126;  // worker: parse the listing, fill the form
inline constexpr UINT kMsgUnhandled = 2127;    // not handled: default processing
inline constexpr UINT kMsgSaveToFile = 2128;
inline constexpr UINT kMsgLoadFromFile = 2129;
inline constexpr UINT kMsgAboutHelp = 2130;
inline constexpr UINT kMsgCommandState = 2131;  // enable (1) or disable (0) a button group
inline constexpr UINT kMsgSwitchLanguage = 2132;
// Calls the worker makes on the UI thread (job start, results) run through 2140 with a
// pointer to a function object: the worker itself never touches UI-thread state.
inline constexpr UINT kMsgRunOnUi = 2140;
