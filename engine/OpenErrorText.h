#pragma once
// The log's words for a connection that could not be made, all from Language.ini
// ([OnStartCom]), with the details put in for their {placeholders}.
//
// Threads: any (labels are read on each call).
#include <initializer_list>
#include <string>
#include <utility>

#include "serial/PortError.h"
#include "settings/Labels.h"

// Why the device could not be opened: the holder, the dialout command, the refused setting.
std::string DescribeOpenFailure(const std::string& device, const serial::OpenFailure& failure);

// The text of key in [OnStartCom] with each "{name}" replaced by its value.
std::string FillOpenText(const char* key, LabelValues values);
