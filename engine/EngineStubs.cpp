// Placeholders until the command engine lands; each is replaced by its own file.
#include "app/FrameWnd.h"
#include "engine/CommandState.h"
#include "engine/Connect.h"
#include "engine/FrameTimers.h"
#include "engine/ReceivePath.h"
#include "engine/UserCommands.h"
#include "engine/Worker.h"

LRESULT OnReceive(CM5Z30FrameWnd&, char*, int) { return 0; }
LRESULT ShowCommandState(CM5Z30FrameWnd&, WPARAM, LPARAM) { return 0; }
void WorkerJobThreadProc(CM5Z30FrameWnd*, std::stop_token) {}
void DispatchNotify(CM5Z30FrameWnd&, TNotifyUI&) {}
void OnFrameTimer(CM5Z30FrameWnd&, UINT) {}
int FillFramePortList(CM5Z30FrameWnd&) { return 0; }
void ToggleFrameConnection(CM5Z30FrameWnd&) {}
void OnPortLost(CM5Z30FrameWnd&) {}
