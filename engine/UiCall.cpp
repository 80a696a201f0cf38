#include "engine/UiCall.h"

#include "app/FrameWnd.h"

LRESULT CallOnUi(CM5Z30FrameWnd& frame, const std::function<LRESULT()>& fn) {
    // The send returns only once fn has run or was refused, so the address stays valid.
    auto* target = const_cast<std::function<LRESULT()>*>(&fn);
    return frame.SendMessage(kMsgRunOnUi, reinterpret_cast<WPARAM>(target), 0);
}
