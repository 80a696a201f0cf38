#include "form/ListingFlow.h"

#include <set>
#include <string>

#include "form/ChangedWrites.h"
#include "form/ChannelSwitches.h"
#include "form/ConfigFiles.h"
#include "form/DeviceForm.h"
#include "form/FormWindow.h"
#include "form/PendingEdits.h"
#include "form/Questions.h"
#include "form/TabStrip.h"
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

constexpr const char* kDeviceType = "Device Type";

std::string WithTypes(const char* key, const std::string& file, const std::string& unit) {
    return FilledLabel("LoadFile", key, {{"file", file}, {"unit", unit}});
}

// A file of another type of unit goes only where the engineer (or --any-device) says so; the
// module tabs then follow the unit, so a module it lacks is never written. False: write nothing.
bool ApplyToThisUnit(FormWindow& frame) {
    const std::string unitType = frame.parameterTable.ParameterAt(kDeviceType).value;
    const auto file = frame.fileValues.find(kDeviceType);
    if (file == frame.fileValues.end() || file->second == unitType) return true;
    const std::string fileType = ui::DecodeUnitText(file->second).toUtf8().toStdString();
    const std::string shownType = ui::DecodeUnitText(unitType).toUtf8().toStdString();
    if (!AskToGoOn(frame, Question::OtherDevice, WithTypes("OtherDevice", fileType, shownType))) {
        LogAppend(frame, WithTypes("OtherDeviceRefused", fileType, shownType) + "\r\n");
        return false;
    }
    ApplyDeviceTypeTabs(frame, unitType);
    // The file's transfer-channel mask is its own module's, whose bits mean other directions.
    if (frame.loadedFileParameters) {
        for (const ChannelEntry& mask : kChannelEntries) {
            frame.loadedFileParameters->erase(std::string(mask.entry));
        }
    }
    return true;
}

// The same item of its list counts as the same value ("05" and "5" of a numbered list).
bool SameItem(FormWindow& frame, const std::string& name, const std::string& a,
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

LRESULT OnParseAnswer(FormWindow& frame) {
    ParseDeviceAnswer(frame.parameterTable, frame.rxBuffer, frame.rxLength);
    frame.fileValues.clear();
    ShowValues(frame);
    RememberFormAsRead(frame);
    return 0;
}

void ParseApplyAnswer(FormWindow& frame) {
    ParseDeviceAnswer(frame.parameterTable, frame.rxBuffer, frame.rxLength);
    frame.pendingMarksDue = true;
    const std::set<std::string>* held = LoadedFileParameters(frame);
    if (!ApplyToThisUnit(frame)) return;
    ReviewAndApply(frame, held);
    if (held) RememberFormAsApplied(frame, *held);
}

void CheckReadBack(FormWindow& frame) {
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
