#include "form/FormContext.h"

#include "form/FormWindow.h"

FormContext FrameFormContext(FormWindow& frame) {
    return FormContext{
        frame.paintManager,
        frame.parameterTable,
        frame.tabTable,
        frame.loraVersion,
        [&frame](int code, LPARAM argument) {
            frame.PostMessage(kMsgLayoutRule, static_cast<WPARAM>(code), argument);
        },
    };
}
