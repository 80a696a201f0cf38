#include "form/Questions.h"

#include "form/FormWindow.h"
#include "settings/Labels.h"
#include "ui/Dialogs.h"

bool AskToGoOn(FormWindow& frame, Question question, const std::string& text) {
    if (frame.questionAnswer) return frame.questionAnswer(question, text);
    return ui::MessageBox(text, ProgramTitle(), MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) ==
           IDOK;
}
