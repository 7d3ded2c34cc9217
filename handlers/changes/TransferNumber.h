#pragma once
// A transfer rule's number (`Extension`) and transfer switch (`Action`), as its "Transfer To"
// list chooses: kept or filled from the handler's extension, the handler's extension, or the
// extension of the handler's message recipient (a subscriber or a distribution list).
#include <QtGlobal>

class HandlerEdit;
class Recordset;

namespace HandlerChanges {

// `rule` is the current contact rule row, `index` its transfer rule number and `enabled` the
// tri-state code of its `comTransferEnabled` list. Reads `comTransferTo`(index).
void applyTransferNumber(HandlerEdit& edit, Recordset& rule, int index, qint16 enabled);

}  // namespace HandlerChanges
