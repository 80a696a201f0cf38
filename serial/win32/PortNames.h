#pragma once
// How the Win32 files name a COM port, and which ports this process has open: Windows refuses a
// second open of a port to its own holder as to anyone, and the port list must not call the
// program's own port another program's.
//
// Threads: any.
#include <string>

namespace serial::win32 {

// "COM3" for "\\.\COM3", "com3" and "COM3": one name per port.
std::string PortKey(const std::string& device);
// The name CreateFileA takes, "\\.\COM10" (COM10 and beyond open only so).
std::string DevicePath(const std::string& device);
void NoteHeld(const std::string& device, bool held);
bool IsHeldHere(const std::string& device);

}  // namespace serial::win32
