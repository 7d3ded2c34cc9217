#pragma once
// The options pages' Find buttons: each fills a name box and its hidden object-ID box from the
// run's one picker of its kind. The caller-input groups' four destination kinds are the same on
// both pages; a page adds its own Find buttons with rows of the same table type.
#include "search/ui/PickerDialog.h"
#include "search/ui/SharedPicker.h"
#include "search/ui/frmSubscriberSearch.h"

class QWidget;
struct WizardContext;

// A Find button, the two boxes its pick fills and the picker it opens.
struct FindButton {
    const char* find;
    const char* name;
    const char* objectId;
    PickerDialog& (*picker)(WizardContext&);
};

// The run's picker of that kind, as a FindButton opens it.
template <typename Picker> PickerDialog& findPicker(WizardContext& context)
{
    return sharedPicker<Picker>(context);
}

// The run's subscriber picker, as a FindButton opens it: with remote subscribers (a destination
// may be a subscriber of every kind) or with the kinds offered by default only.
template <bool remote> PickerDialog& subscriberPicker(WizardContext& context)
{
    auto& picker = sharedPicker<frmSubscriberSearch>(context);
    picker.bShowRemoteSubscribers = remote;
    return picker;
}

// Connects element `index` of the button's arrays (-1: its single controls); `button` is a row
// of a table that outlives the page. A pick fills the two boxes only: it chooses no option.
void connectFindButton(QWidget& page, WizardContext& context, const FindButton& button, int index = -1);

// Connects each destination kind's Find of caller-input groups 0 to `groupCount` - 1.
void connectCallerInputFindButtons(QWidget& page, WizardContext& context, int groupCount);
