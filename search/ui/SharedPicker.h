#pragma once
// The run's one picker of each kind, shared by every page that opens one.
#include "core/ui/WizardContext.h"
#include "core/ui/frmMain.h"

// The run's one picker of that kind, created on first use and reused by every page.
template <typename Picker> Picker& sharedPicker(WizardContext& context)
{
    if (Picker* picker = context.forms.find<Picker>())
        return *picker;
    // Owned by the start page, which lives for the whole run.
    return *new Picker(context, context.forms.find<frmMain>());
}
