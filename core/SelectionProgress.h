#pragma once
// Progress of a long fill of a selection grid, shown by the selection page in its progress
// window (core/ui/frmSubscriberLoadProgress.h). Any member may be empty.
#include <functional>

struct SelectionProgress {
    std::function<void(int total)> begin;   // the fill starts; total rows expected (0: unknown)
    std::function<void(int done)> step;     // rows handled so far
    std::function<void()> end;              // the fill is over, also after an error
};
