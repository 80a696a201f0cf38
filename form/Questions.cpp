#include "form/Questions.h"

#include "app/FrameWnd.h"
#include "settings/Labels.h"
#include "ui/Dialogs.h"

bool AskToGoOn(CM5Z30FrameWnd& frame, Question question, const std::string& text) {
    if (frame.questionAnswer) return frame.questionAnswer(question, text);
    return ui::MessageBox(text, ProgramTitle(), MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) ==
           IDOK;
}
