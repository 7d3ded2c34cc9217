#pragma once
// Word lists the demo directory builds its invented people, places and objects from.
#include <QStringList>

namespace velmo::demo {

const QStringList& firstNames();
const QStringList& lastNames();
const QStringList& departments();   // call handler, list and interview handler names
const QStringList& siteNames();     // servers, locations and the dialing domain

}  // namespace velmo::demo
