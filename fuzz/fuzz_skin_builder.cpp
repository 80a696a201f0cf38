// The skin builder on arbitrary XML: it builds a tree or refuses, and never crashes.
#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "ui/Control.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManager.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "fuzz_skin_builder";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(argc, argv);
    return app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    App();
    std::string xml(reinterpret_cast<const char*>(data), size);
    CPaintManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root = builder.CreateFromText(xml, nullptr, &manager);
    if (root) {
        manager.AttachDialog(root);
        (void)manager.FindControl("richedit");
    } else if (builder.LastError().empty()) {
        std::abort();
    }
    QCoreApplication::processEvents();
    return 0;
}
