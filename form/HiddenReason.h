#pragma once
// Why a control of the form cannot be shown now: which list's choice hides its row or box, or
// why its page is not offered. Works on the control tree alone, so pages whose widgets were
// never made answer the same.
//
// Threads: UI thread only.
#include <string>

#include "form/FormContext.h"

class CControlUI;

// The text before a control in its row, as the window shows it (its label), or "". UI thread.
std::string CaptionOf(const CControlUI& control);

// CaptionOf, preceded by the title of the box around the control when another control on its
// page has the same label ("DIO2 Report method"). UI thread.
std::string DistinctCaptionOf(const CControlUI& control);

// The page of "switch" the control sits on, or -1 when it is on none. UI thread.
int PageOfControl(const CControlUI& control);

// The text a page's tab button shows without a count of pending edits, or "" when the skin has
// none. UI thread.
std::string PageTitle(FormContext& form, int page);

// Why the control on that page is hidden ("hidden while Work mode is TRNS"), in the window's
// language; "" when nothing hides it. UI thread.
std::string HiddenReason(FormContext& form, const CControlUI& control, int page);
