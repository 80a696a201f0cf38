#pragma once
// FormContext: the pieces of the frame's state the form behaviour works on, handed over as
// references so the rules and the layout switch run without a whole window (tests build one
// over a bare paint manager and a queue of posted rule codes).
//
// Threads: UI thread only; the context is built for one call and not kept.
#include <functional>
#include <string>

#include "form/TabTable.h"
#include "params/ParameterTable.h"
#include "ui/Types.h"

class FormWindow;
class CPaintManagerUI;

// Posts layout rule code with its argument (message 2124); the rule runs after the current
// handler has returned, never inside the caller.
using RulePoster = std::function<void(int code, LPARAM argument)>;

struct FormContext {
    CPaintManagerUI& paintManager;
    ParameterTable& parameterTable;
    TabTable& tabTable;
    const std::string& loraVersion;  // the LoRa module's version text, kept when reading
    RulePoster postRule;
};

// The context of the frame: its controls, tables and LoRa version, and a poster that posts
// message 2124 to its window. UI thread.
FormContext FrameFormContext(FormWindow& frame);
