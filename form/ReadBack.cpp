#include "form/ReadBack.h"

#include "app/FrameWnd.h"
#include "form/DeviceForm.h"
#include "form/PendingEdits.h"
#include "form/WriteReview.h"
#include "params/ComboReadRules.h"
#include "params/DeviceAnswer.h"
#include "params/Listing.h"
#include "settings/Labels.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Log.h"
#include "ui/TextCodec.h"

namespace {

// The same item of its list counts as the same value ("05" and "5" of a numbered list).
bool SameItem(CM5Z30FrameWnd& frame, const std::string& name, const std::string& a,
              const std::string& b) {
    const auto* combo = dynamic_cast<const CComboUI*>(frame.paintManager.FindControl(name));
    if (!combo) return false;
    const ItemChoice ca = ChooseItem(name, a, *combo, frame.parameterTable);
    const ItemChoice cb = ChooseItem(name, b, *combo, frame.parameterTable);
    return ca.change && cb.change && ca.item == cb.item && ca.item >= 0 &&
           ca.item < combo->GetCount();
}

// The unit's bytes as the box's UTF-8 text.
std::string Readable(const std::string& bytes) {
    return ui::DecodeUnitText(bytes).toUtf8().toStdString();
}

}  // namespace

void QueueReadBack(CM5Z30FrameWnd& frame) {
    CommandJob job;
    job.type = JobType::ReadBack;
    job.command = kListingCommand;
    frame.jobQueue.PushJob(job);
}

void CheckReadBack(CM5Z30FrameWnd& frame) {
    frame.notKept.clear();
    const auto confirmed = std::move(frame.confirmedWrites);
    frame.confirmedWrites.clear();
    if (frame.rxLength <= kListingMinimum) {
        LogAppend(frame, LabelText("Notify", "ReadBackMissing", "\r\n").str());
        return;
    }
    ParameterTable listed = frame.parameterTable;
    ParseDeviceAnswer(listed, frame.rxBuffer, frame.rxLength);
    for (const auto& [name, sent] : confirmed) {
        const ParameterEntry* entry = listed.FindParameter(name);
        if (!entry || entry->value == sent || SameItem(frame, name, entry->value, sent)) continue;
        frame.notKept[name] = {sent, entry->value};
    }
    std::string box = LabelText("Notify", "NotKeptBox").str();
    for (const auto& [name, values] : frame.notKept) {
        const std::string label = FormLabelOf(frame, name);
        LogAppend(frame, LabelText("Notify", "NotKept").str() + label + "\r\n");
        box += "\n" + label + ": " + Readable(values.first) + " -> " + Readable(values.second);
    }
    // The form shows what the unit really holds, and that is what later changes start from;
    // edits that were not written (not sent, not chosen, refused) stay over it.
    const KeptEdits kept = KeepPendingEdits(frame);
    OnParseAnswer(frame);
    ShowKeptEdits(frame, kept);
    if (!frame.notKept.empty()) ui::MessageBox(box, ProgramTitle(), MB_OK);
}
