#pragma once
// A frame on a small skin of its own in a temporary folder, for the shell's tests.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <fstream>
#include <memory>
#include <string>

#include "app/FrameWnd.h"
#include "settings/Labels.h"
#include "tests/support/TestPaths.h"
#include "ui/PaintManager.h"

namespace apptest {

using testpaths::WriteFile;

inline void PumpFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

inline const char* const kFrameSkin = R"(<Window size="1400,800" caption="0,0,0,40">
  <VerticalLayout name="root">
    <HorizontalLayout name="captionBand" height="40">
      <Text name="Ver" width="300"/>
      <Text name="VerDown" width="200"/>
      <Container name="Logo_Container" width="40"/>
      <Combo name="Language" width="100">
        <ListLabelElement text="English"/><ListLabelElement text="Chinese"/>
      </Combo>
      <Button name="minbtn" width="30"/>
      <Button name="maxbtn" width="30"/>
      <Button name="restorebtn" width="30" visible="false"/>
      <Button name="closebtn" width="30"/>
    </HorizontalLayout>
    <HorizontalLayout name="body">
      <RichEdit name="richedit"/>
      <RichEdit name="HelpRichEdit"/>
    </HorizontalLayout>
  </VerticalLayout>
</Window>)";

// A skin folder with skin.xml and Language.ini, used as the resource path and label file.
struct SkinFolder {
    std::string dir = testpaths::TempDir();
    explicit SkinFolder(const std::string& skin = kFrameSkin,
                        const std::string& labels = "[InitValue]\nText=No help file\n") {
        WriteFile(dir + "/skin.xml", skin);
        WriteFile(dir + "/Language.ini", labels);
        CPaintManagerUI::SetResourcePath(dir);
        CPaintManagerUI::SetInstancePath(dir);
        SetLabelFilePath(dir + "/Language.ini");
    }
};

inline std::unique_ptr<CM5Z30FrameWnd> MakeFrame(int language = 0) {
    auto frame = std::make_unique<CM5Z30FrameWnd>();
    frame->language = language;
    frame->Create(nullptr, "DTU", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1400, 800);
    return frame;
}

}  // namespace apptest
