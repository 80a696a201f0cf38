#pragma once
// A frame on the real skin with its worker, connected over a pseudo-terminal to a virtual unit,
// logged in and (normally) read once: the session the form's end-to-end tests share.
#include <map>
#include <string>
#include <vector>

#include "sim/VirtualUnitHost.h"
#include "tests/form/FormFixture.h"
#include "tests/form/WholeFrame.h"
#include "tests/support/FrameOnUnit.h"

namespace formtest {

inline void UseRealSkin(const char* folder) {
    const std::string skin = testpaths::SourceDir() + "/skin/" + folder;
    CPaintManagerUI::SetResourcePath(skin);
    // The program's folder is the test's own: what the program keeps there (config.ini) never
    // lands in the source tree.
    CPaintManagerUI::SetInstancePath(testpaths::TempDir());
    SetLabelFilePath(skin + "/Language.ini");
}

inline void Click(FormWindow& frame, const char* name) {
    if (CControlUI* control = frame.paintManager.FindControl(name)) {
        frame.paintManager.SendNotify(control, "click");
    }
}

// The label as the unit prints it: the parser's leading CR LF is the previous line's end.
inline std::string UnitLabel(const std::string& responseLabel) {
    return responseLabel.rfind("\r\n", 0) == 0 ? responseLabel.substr(2) : responseLabel;
}

// A unit of one variant and a frame on the real skin, connected, logged in and read once.
struct Session {
    explicit Session(sim::UnitVariant variant, const char* skin = "ConifgENRes")
        : Session(Options(variant), skin) {}
    // `read`: false leaves the unit unread after the login.
    explicit Session(sim::UnitOptions options, const char* skin = "ConifgENRes", bool read = true)
        : host(std::move(options)) {
        UseRealSkin(skin);
        if (!host.Start(&error)) return;
        if (!testsupport::SetUpFrameOnUnit(frame, host, &error)) return;
        Click(frame, "Open");
        if (!frame.serialPort.IsOpen()) {
            error = "the port did not open";
            return;
        }
        Click(frame, "Login");
        if (!WaitUntil([&] { return frame.loggedIn.load(); }, 5000)) {
            error = "no login";
            return;
        }
        // The login's own idle period first, so the read waits for its own.
        if (!WaitUntil([&] { return frame.idleNotices > 0; }, 5000)) {
            error = "the worker did not go idle after the login";
            return;
        }
        ready = !read || Read();
    }
    static sim::UnitOptions Options(sim::UnitVariant variant) {
        sim::UnitOptions options;
        options.variant = variant;
        options.start = sim::UnitStart::Configuration;
        return options;
    }
    // Does `action` and waits until the worker has run every job it caused and found the
    // queue empty again (the buttons are enabled once per idle period).
    template <typename Action>
    bool Settle(Action action, int ms = 20000) {
        const int before = frame.idleNotices;
        action();
        return WaitUntil([&] { return frame.idleNotices > before; }, ms);
    }
    // "Load": the unit's listing into the form.
    bool Read() {
        const int before = frame.parsedListings;
        return Settle([&] { Click(frame, "Load"); }) && frame.parsedListings > before;
    }
    // "Save" pressed; the writes it made (no wait when it queued nothing).
    std::vector<std::string> Save() {
        const std::size_t from = host.ReceivedCommands().size();
        const int before = frame.idleNotices;
        frame.jobQueue.Hold(true);
        Click(frame, "Save");
        const bool queued = frame.jobQueue.Size() > 0;
        frame.jobQueue.Hold(false);
        if (queued) WaitUntil([&] { return frame.idleNotices > before; }, 20000);
        return WritesSince(from);
    }
    // The unit's listed values by label: compared before and after, byte for byte.
    std::map<std::string, std::string> UnitValues() {
        std::map<std::string, std::string> values;
        for (const auto& [name, entry] : frame.parameterTable) {
            if (entry.responseLabel.empty()) continue;
            const std::string label = UnitLabel(entry.responseLabel);
            if (auto stored = host.StoredValueByLabel(label)) values[label] = *stored;
        }
        return values;
    }
    // The parameter writes the unit received since `from` commands.
    std::vector<std::string> WritesSince(std::size_t from) {
        const auto commands = host.ReceivedCommands();
        std::vector<std::string> writes;
        for (std::size_t i = from; i < commands.size(); ++i) {
            if (commands[i].find('=') != std::string::npos) writes.push_back(commands[i]);
        }
        return writes;
    }

    RecordingDialogs dialogs;
    ui::ScopedDialogs scopedDialogs{&dialogs};
    sim::VirtualUnitHost host;
    WholeFrame frame;
    std::string error;
    bool ready = false;
};

}  // namespace formtest
