// The Chinese interface speaks Chinese: every text the window can show (its controls, every
// label of Language.ini, the name each parameter goes by, the progress and the run's summary,
// the review, refusals, the find list and its reasons, the log and the message boxes) holds no
// Latin word but unit values, AT commands, file names and product names.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <set>

#include "app/AboutHelp.h"
#include "app/Progress.h"
#include "engine/JobEnd.h"
#include "form/ChannelSwitches.h"
#include "form/DeviceWrite.h"
#include "form/FindParameter.h"
#include "form/WriteReview.h"
#include "tests/form/UnitSession.h"
#include "ui/Container.h"

namespace {

using namespace formtest;

// Words that are no English though written in Latin letters. Besides these, a word in capitals
// (an acronym, or one of the unit's own words: TRNS, DCTCP, GPRMC, OK) or with a digit in it (a
// line format such as 8N1, RS485, a version) is none either.
// clang-format off
const std::set<std::string> kAllowed = {
    "LoRa", "ZigBee", "Modbus",            // products and protocols
    "KB", "MHz",                           // units
    "Help.txt", "cfg", "dtuconfig",        // file names, extensions and the program
    "sudo", "usermod", "aG", "dialout",    // the command that gives the engineer the port
    "Windows", "English",                  // the system; the English interface by its name
    "Esc",                                 // the key as its cap reads
    "Access", "Point", "Name",             // a listing's first line, quoted as the unit prints it
    "None",                                // the free I/O channel, the item the I/O rules compare
    "tcp",                                 // a network port's kind, as it is typed
};
// clang-format on

// The Latin words of a text that are none of the above; a {placeholder}, an AT command and a
// path (a port's device, a backup file) are no words.
std::vector<std::string> Foreign(const std::string& text) {
    static const std::regex word("[A-Za-z0-9][A-Za-z0-9_.+-]*");
    static const std::regex skipped("\\{[a-z]+\\}|(AT|at)\\+[A-Za-z]+|/[A-Za-z0-9_./+-]+");
    static const std::regex capitalsOrDigit("[A-Z0-9_.+-]+|.*[0-9].*");
    const std::string plain = std::regex_replace(text, skipped, " ");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(plain.begin(), plain.end(), word);
         it != std::sregex_iterator(); ++it) {
        const std::string w = it->str();
        if (std::regex_match(w, capitalsOrDigit) || kAllowed.count(w)) continue;
        found.push_back(w);
    }
    return found;
}

// The texts of the controls; the log's own are the program's lines (walked apart), not the
// unit's text it also shows.
void ControlTexts(CControlUI* control, std::vector<std::string>* texts) {
    if (!control || control->GetName() == "richedit") return;
    texts->push_back(control->GetText().str());
    if (auto* combo = dynamic_cast<CComboUI*>(control)) {
        for (int i = 0; i < combo->GetCount(); ++i) {
            texts->push_back(combo->GetItemAt(i)->GetText().str());
        }
    }
    if (auto* box = dynamic_cast<CContainerUI*>(control)) {
        for (int i = 0; i < box->GetCount(); ++i) ControlTexts(box->GetItemAt(i), texts);
    }
}

std::vector<std::string> IniValues(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> values;
    for (std::string line; std::getline(in, line);) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && line.front() != '[') values.push_back(line.substr(eq + 1));
    }
    return values;
}

// The session's unit read, then edited as an engineer would: a list, a field, a switch and a
// value the unit cannot take; Save reviewed and written, so the log holds the results.
void EditAndSave(Session& s) {
    if (auto* echo = dynamic_cast<CComboUI*>(s.frame.paintManager.FindControl("LCP ECHO"))) {
        echo->SelectItem(echo->GetCurSel() == 0 ? 1 : 0);
    }
    Control(s.frame, "Heartbeat poll time seconds")->SetText("77");
    Control(s.frame, "Secondary Server's Ip")->SetText("999.1.1.1");
    SetSwitch(s.frame.paintManager, "Lora2GPRS", !IsSwitchOn(s.frame.paintManager, "Lora2GPRS"));
    s.Save();
}

// Every write the form could make, through the progress bar, then cancelled: the bar names
// each, the run's summary lists them all.
std::vector<std::string> ProgressOfEveryWrite(Session& s) {
    std::vector<std::string> texts;
    auto* bar = dynamic_cast<CProgressUI*>(s.frame.paintManager.FindControl("JobProgress"));
    for (const FormValue& v : FormValues(s.frame, false)) {
        CommandJob job{JobType::WriteParameter, "AT+X=" + v.value + "\r\n", v.name, v.value};
        ShowJobStarted(s.frame, job);
        if (bar) texts.push_back(bar->GetText().str());
        NoteJobEnded(s.frame, job, JobOutcome::NotSent);
    }
    s.frame.progress.cancelled = true;
    EndRunProgress(s.frame);
    if (bar) texts.push_back(bar->GetText().str());
    return texts;
}

TEST(ChineseText, NoEnglishWordInTheChineseInterface) {
    Session s(sim::UnitVariant::Lora, "ConifgRes");
    ASSERT_TRUE(s.ready) << s.error;
    // The caption's version line as the Chinese interface writes it.
    s.frame.language = 1;
    ShowAboutAndHelp(s.frame);
    EditAndSave(s);
    ASSERT_EQ(s.dialogs.reviews.size(), 1u);
    const std::string skin = testpaths::SourceDir() + "/skin/ConifgRes/";

    struct Source {
        const char* what;
        std::function<std::vector<std::string>()> texts;
    };
    const Source sources[] = {
        {"Language.ini", [&] { return IniValues(skin + "Language.ini"); }},
        {"the controls",
         [&] {
             std::vector<std::string> texts;
             ControlTexts(s.frame.paintManager.GetRoot(), &texts);
             return texts;
         }},
        {"the name of every parameter written",
         [&] {
             std::vector<std::string> texts;
             for (const FormValue& v : FormValues(s.frame, false)) {
                 texts.push_back(FormLabelOf(s.frame, v.name));
             }
             return texts;
         }},
        {"the review",
         [&] {
             std::vector<std::string> texts;
             for (const ui::ReviewRow& r : s.dialogs.reviews[0].rows) {
                 texts.insert(texts.end(), {r.label, r.unitValue, r.newValue, r.notWritten});
             }
             return texts;
         }},
        {"the progress and the cancelled run", [&] { return ProgressOfEveryWrite(s); }},
        {"the find list",
         [&] {
             std::vector<std::string> texts;
             FormContext form = FrameFormContext(s.frame);
             for (const char* text : {"ip", "a", "e", "o", "检测", "模式"}) {
                 for (const FindMatch& m : FindParameters(form, text, 200)) {
                     texts.insert(texts.end(), {m.label, m.hiddenBecause});
                 }
             }
             return texts;
         }},
        {"the log and the boxes",
         [&] {
             std::vector<std::string> texts = s.frame.programLines;
             for (const auto& box : s.dialogs.boxes) texts.push_back(box.text);
             return texts;
         }},
    };
    for (const Source& source : sources) {
        SCOPED_TRACE(source.what);
        const std::vector<std::string> texts = source.texts();
        EXPECT_FALSE(texts.empty());
        for (const std::string& text : texts) {
            const std::vector<std::string> foreign = Foreign(text);
            EXPECT_TRUE(foreign.empty()) << foreign.front() << " in: " << text;
        }
    }
}

}  // namespace
