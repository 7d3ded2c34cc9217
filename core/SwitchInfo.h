#pragma once
// The installation's phone-system integrations (switches): display names and integration IDs,
// read once from the server's registry at start-up and held by the Session. Pages that let the
// administrator pick a switch fill their lists from it (core/ui/SwitchCombo.h); the ID is what
// they compare with or write into the database.
#include "core/Messages.h"
#include "resources/EnglishStrings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

class RegistryAPI;
struct ServerVersion;

struct SwitchInfo {
    // Integration n (1-based towards callers) at index n - 1 of both lists, which always have
    // the same length.
    QStringList astrSwitchNames;
    QList<qint16> aiSwitchIDs;

    qint16 iSwitchCount() const { return static_cast<qint16>(astrSwitchNames.size()); }

    // Name and ID of integration n; for an n outside 1 to iSwitchCount() the name is
    // "Error - bad switch number passed in:" followed by n, and the ID -1.
    void GetSwitchInfoBySwitchCount(qint16 n, QString& strName, qint16& iID) const;
};

namespace SwitchKeys {
inline const QString Integrations = QStringLiteral("Software\\Brennhal\\Pellix\\1.0\\initialization\\integrations");
}

// Reads the integrations of the installation. Servers from 4.2(0).27 on list any number of
// subkeys of the integrations key; older ones know only "integration1" and "integration2".
// When none is found, string 523 ("No switches are configured ...") is shown through
// `messages` and the list is empty. A value that cannot be read is reported through `messages`
// and the entry keeps its default (empty name, ID 0).
SwitchInfo InitalizeSwitchInfo(const RegistryAPI& registry, const ServerVersion& version,
                               const MessageSink& messages = {},
                               const std::function<QString(int)>& strings = resources::englishString);
