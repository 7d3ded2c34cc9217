#pragma once
// The options page's two message play-order lists (listFlexStackOrderNewMessages and
// listFlexStackOrderOldMessages) and their up-down arrows. Each list holds the seven message
// types once each; an entry's item data (ListRole::ItemData) is its type code 1 to 7 and its
// string number (ListRole::StringNumber) that of its text, so the engine reads the order in any
// language.
#include "core/StringLookup.h"

class QListWidget;
class QSpinBox;

// Clears the list and fills it in the first order: "Urgent Voice Messages" (1) to "Receipts and
// Notices" (7), strings 320 to 326; no entry selected.
void FillFlexStackOrderList(QListWidget* list, const StringLookup& text);
// The arrows: the selected entry changes places with its neighbour below (above) and stays
// selected. Nothing happens at the end of the list or with no entry selected.
void MoveFlexStackEntryDown(QListWidget* list);
void MoveFlexStackEntryUp(QListWidget* list);
// Makes the up and down arrows of `arrows` move the selected entry of `list` up and down. The
// control's own value is not used.
void ConnectFlexStackArrows(QSpinBox* arrows, QListWidget* list);
