// Placeholders until reading, writing and the .cfg files land; each is replaced by its own file.
#include "params/ConfigFiles.h"
#include "params/DeviceForm.h"

LRESULT OnParseAnswer(CM5Z30FrameWnd&) { return 0; }
void SaveToFile(CM5Z30FrameWnd&) {}
void LoadFromFile(CM5Z30FrameWnd&) {}
