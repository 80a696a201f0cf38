#include "engine/UiCall.h"

#include "engine/EngineWindow.h"
#include "engine/FrameMessages.h"

LRESULT CallOnUi(EngineWindow& frame, const std::function<LRESULT()>& fn) {
    // The send returns only once fn has run or was refused, so the address stays valid.
    auto* target = const_cast<std::function<LRESULT()>*>(&fn);
    return frame.SendMessage(kMsgRunOnUi, reinterpret_cast<WPARAM>(target), 0);
}
