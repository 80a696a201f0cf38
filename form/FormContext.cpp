#include "form/FormContext.h"

#include "app/FrameWnd.h"

FormContext FrameFormContext(CM5Z30FrameWnd& frame) {
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
