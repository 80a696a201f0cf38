// dtu_screenshots: the documentation's screenshots of the real window against the virtual
// unit, in both languages (scripts/screenshots builds and runs it).
//
//   dtu_screenshots --out DIR [--only NAME]... [--language en|zh]
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "shots/Scenarios.h"
#include "shots/ShotSession.h"

namespace {

struct Options {
    std::string out;
    std::set<std::string> only;
    std::string language;
};

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        if (arg == "--out") {
            options->out = argv[++i];
        } else if (arg == "--only") {
            options->only.insert(argv[++i]);
        } else if (arg == "--language") {
            options->language = argv[++i];
        } else {
            return false;
        }
    }
    return !options->out.empty();
}

// One scenario in one language, on a fresh unit and with backups of its own; false with the
// reason on stderr.
bool Shoot(const shots::Scenario& scenario, const shots::Language& language,
           const std::string& out) {
    const std::string file = out + "/" + language.tag + "-" + scenario.name + ".png";
    QTemporaryDir data;
    if (!data.isValid()) return false;
    // The backups a scenario makes never reach the engineer's own.
    setenv("XDG_DATA_HOME", data.path().toUtf8().constData(), 1);
    shots::ShotSession session(DTU_SHOTS_SKIN_DIR, language, scenario.baud);
    QImage shot;
    const bool shotTaken = session.ready && scenario.run(session, &shot) && !shot.isNull();
    if (!shotTaken || session.unexpectedDialogs > 0) {
        std::fprintf(stderr, "screenshots: %s: %s\n", file.c_str(),
                     session.error.empty() ? "an unexpected dialog" : session.error.c_str());
        return false;
    }
    // Opaque RGB at the strongest compression keeps the files small.
    if (!shot.convertToFormat(QImage::Format_RGB888).save(QString::fromStdString(file), "PNG", 0)) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", file.c_str());
        return false;
    }
    std::printf("%s\n", file.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fprintf(stderr,
                     "usage: dtu_screenshots --out DIR [--only NAME]... [--language en|zh]\n");
        return 2;
    }
    // The settings the window reads are its own, not the engineer's.
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toUtf8().constData(), 1);
    QApplication app(argc, argv);
    QDir().mkpath(QString::fromStdString(options.out));
    int failed = 0;
    for (const shots::Language& language : shots::kLanguages) {
        if (!options.language.empty() && options.language != language.tag) continue;
        for (const shots::Scenario& scenario : shots::Scenarios()) {
            if (!options.only.empty() && !options.only.count(scenario.name)) continue;
            if (!Shoot(scenario, language, options.out)) ++failed;
        }
    }
    return failed ? 1 : 0;
}
