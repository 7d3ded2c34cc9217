#include "core/Registry.h"

#include "core/Errors.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <limits>

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kHive = QStringLiteral("HKEY_LOCAL_MACHINE");

// Buffer sizes of the procedures, in bytes, terminating zero included for names and texts.
constexpr int kNameBuffer = 260;
constexpr int kTextBuffer = 2048;
constexpr int kBytesBuffer = 4096;
constexpr int kListingDataBuffer = 4096;
constexpr int kMaxListed = 1000000;
constexpr int kMaxKeyNameLength = 255;

bool hasControlCharacter(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

// "A\B\" -> {"A", "B"}; "" -> {} (the hive); nothing for a path with an empty name in it.
std::optional<QStringList> splitPath(QString path)
{
    if (path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    if (path.isEmpty())
        return QStringList{};
    const QStringList names = path.split(QLatin1Char('\\'));
    for (const QString& name : names)
        if (name.isEmpty())
            return std::nullopt;
    return names;
}

bool isValidKeyName(const QString& name)
{
    return name.size() <= kMaxKeyNameLength && !hasControlCharacter(name);
}

bool fitsWithZero(const QString& text, int buffer) { return text.toUtf8().size() + 1 <= buffer; }

qint32 dwordFromData(QByteArray data)
{
    data.resize(4, '\0');
    return qFromLittleEndian<qint32>(data.constData());
}

// ---- file text ------------------------------------------------------------------------------

QString quoted(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

QString valueText(const RegistryValue& value)
{
    if (value.type == quint32(REG_SZ)) {
        const QString text = QString::fromUtf8(value.data);
        if (text.toUtf8() == value.data)  // bytes that are not UTF-8 go out as hex(1)
            return quoted(text);
    }
    if (value.type == quint32(REG_DWORD) && value.data.size() == 4)
        return QStringLiteral("dword:%1").arg(quint32(dwordFromData(value.data)), 8, 16, QLatin1Char('0'));
    QString out = value.type == quint32(REG_BINARY) ? QStringLiteral("hex:")
                                                    : QStringLiteral("hex(%1):").arg(value.type, 0, 16);
    QStringList bytes;
    for (char byte : value.data)
        bytes << QStringLiteral("%1").arg(uint(quint8(byte)), 2, 16, QLatin1Char('0'));
    return out + bytes.join(QLatin1Char(','));
}

// Reads a quoted text starting at `pos` (on the opening quote); `pos` ends behind the closing one.
std::optional<QString> parseQuoted(const QString& line, qsizetype& pos)
{
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            return std::nullopt;
        switch (line[pos].unicode()) {
        case '\\': out += QLatin1Char('\\'); break;
        case '"': out += QLatin1Char('"'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'x': {
            bool ok = false;
            const ushort code = line.mid(pos + 1, 2).toUShort(&ok, 16);
            if (!ok || line.mid(pos + 1, 2).size() != 2)
                return std::nullopt;
            out += QChar(code);
            pos += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<RegistryValue> parseData(const QString& text)
{
    if (text.startsWith(QLatin1Char('"'))) {
        qsizetype pos = 0;
        const auto parsed = parseQuoted(text, pos);
        if (!parsed || !text.mid(pos).trimmed().isEmpty())
            return std::nullopt;
        return RegistryValue::text(*parsed);
    }
    if (text.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = text.mid(6).trimmed();
        bool ok = false;
        const quint32 number = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8)
            return std::nullopt;
        return RegistryValue::dword(number);
    }
    RegistryValue value;
    QString bytes;
    if (text.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive)) {
        value.type = REG_BINARY;
        bytes = text.mid(4);
    } else if (text.startsWith(QLatin1String("hex("), Qt::CaseInsensitive)) {
        const qsizetype close = text.indexOf(QLatin1String("):"));
        bool ok = false;
        value.type = close < 0 ? 0 : text.mid(4, close - 4).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        bytes = text.mid(close + 2);
    } else {
        return std::nullopt;
    }
    bytes = bytes.trimmed();
    if (bytes.isEmpty())
        return value;
    for (const QString& byte : bytes.split(QLatin1Char(','))) {
        bool ok = false;
        const uint number = byte.trimmed().toUInt(&ok, 16);
        if (!ok || number > 0xff)
            return std::nullopt;
        value.data.append(char(number));
    }
    return value;
}

}  // namespace

// ---- RegistryValue --------------------------------------------------------------------------

RegistryValue RegistryValue::text(const QString& text) { return {quint32(REG_SZ), text.toUtf8()}; }

RegistryValue RegistryValue::dword(quint32 number)
{
    QByteArray data(4, '\0');
    qToLittleEndian(number, data.data());
    return {quint32(REG_DWORD), data};
}

RegistryValue RegistryValue::binary(const QByteArray& bytes) { return {quint32(REG_BINARY), bytes}; }

// ---- RegistryStore --------------------------------------------------------------------------

RegistryStore::Key* RegistryStore::Key::subkey(const QString& name) const
{
    for (const auto& key : subkeys)
        if (key->name.compare(name, Qt::CaseInsensitive) == 0)
            return key.get();
    return nullptr;
}

RegistryStore::Value* RegistryStore::Key::findValue(const QString& name)
{
    for (Value& value : values)
        if (value.name.compare(name, Qt::CaseInsensitive) == 0)
            return &value;
    return nullptr;
}

RegistryStore::RegistryStore() : m_root(std::make_unique<Key>()) {}
RegistryStore::~RegistryStore() = default;
RegistryStore::RegistryStore(RegistryStore&&) noexcept = default;
RegistryStore& RegistryStore::operator=(RegistryStore&&) noexcept = default;

RegistryStore::Key* RegistryStore::find(const QString& key) const
{
    const auto names = splitPath(key);
    if (!names)
        return nullptr;
    Key* current = m_root.get();
    for (const QString& name : *names) {
        current = current->subkey(name);
        if (!current)
            return nullptr;
    }
    return current;
}

RegistryStore::Key* RegistryStore::create(const QString& key, Key** parentOfNew, bool checkAccess)
{
    const auto names = splitPath(key);
    if (!names || !std::all_of(names->begin(), names->end(), isValidKeyName))
        return nullptr;
    Key* firstParent = nullptr;
    Key* current = m_root.get();
    for (const QString& name : *names) {
        if (Key* next = current->subkey(name)) {
            current = next;
            continue;
        }
        if (!firstParent) {
            if (checkAccess && !current->writable)
                return nullptr;
            firstParent = current;
        }
        current->subkeys.push_back(std::make_unique<Key>());
        current = current->subkeys.back().get();
        current->name = name;
    }
    if (parentOfNew)
        *parentOfNew = firstParent;
    return current;
}

bool RegistryStore::createKey(const QString& key) { return create(key) != nullptr; }

bool RegistryStore::setValue(const QString& key, const QString& name, const RegistryValue& value)
{
    Key* target = create(key);
    if (!target)
        return false;
    if (Value* existing = target->findValue(name))
        existing->value = value;
    else
        target->values.append({name, value});
    return true;
}

bool RegistryStore::keyExists(const QString& key) const { return find(key) != nullptr; }

std::optional<RegistryValue> RegistryStore::value(const QString& key, const QString& name) const
{
    Key* target = find(key);
    const Value* found = target ? target->findValue(name) : nullptr;
    return found ? std::optional(found->value) : std::nullopt;
}

QStringList RegistryStore::subkeyNames(const QString& key) const
{
    QStringList names;
    if (const Key* target = find(key))
        for (const auto& subkey : target->subkeys)
            names << subkey->name;
    return names;
}

QStringList RegistryStore::valueNames(const QString& key) const
{
    QStringList names;
    if (const Key* target = find(key))
        for (const Value& value : target->values)
            names << value.name;
    return names;
}

void RegistryStore::setKeyReadable(const QString& key, bool readable)
{
    if (Key* target = find(key))
        target->readable = readable;
}

void RegistryStore::setKeyWritable(const QString& key, bool writable)
{
    if (Key* target = find(key))
        target->writable = writable;
}

QByteArray RegistryStore::toFileText() const
{
    QString out = kHeader + QLatin1String("\n\n");
    // Depth first, each key before its subkeys, so that loading recreates the same order.
    auto writeKey = [&out](auto& self, const Key& key, const QString& path) -> void {
        out += QLatin1Char('[') + path + QLatin1String("]\n");
        for (const Value& value : key.values)
            out += (value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name)) + QLatin1Char('=')
                   + valueText(value.value) + QLatin1Char('\n');
        out += QLatin1Char('\n');
        for (const auto& subkey : key.subkeys)
            self(self, *subkey, path + QLatin1Char('\\') + subkey->name);
    };
    writeKey(writeKey, *m_root, kHive);
    return out.toUtf8();
}

bool RegistryStore::fromFileText(const QByteArray& bytes, QString* error)
{
    auto fail = [error](int line, const QString& reason) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(line).arg(reason);
        return false;
    };
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));

    RegistryStore loaded;
    Key* current = nullptr;
    bool headerSeen = false;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        QString line = lines[i].trimmed();
        // Long hex data may be wrapped: a line ending in "\" goes on in the next one.
        while (line.endsWith(QLatin1Char('\\')) && i + 1 < lines.size()) {
            line.chop(1);
            line += lines[++i].trimmed();
        }
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (!headerSeen) {
            if (line != kHeader)
                return fail(lineNumber, QStringLiteral("not a registry file (expected \"%1\")").arg(kHeader));
            headerSeen = true;
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                return fail(lineNumber, QStringLiteral("unclosed key name"));
            const QString path = line.mid(1, line.size() - 2);
            if (!path.startsWith(kHive, Qt::CaseInsensitive)
                || (path.size() > kHive.size() && path[kHive.size()] != QLatin1Char('\\')))
                return fail(lineNumber, QStringLiteral("key outside HKEY_LOCAL_MACHINE"));
            current = loaded.create(path.mid(kHive.size() + 1));
            if (!current)
                return fail(lineNumber, QStringLiteral("invalid key name"));
            continue;
        }
        if (!current)
            return fail(lineNumber, QStringLiteral("value outside a key"));
        QString name;
        qsizetype pos = 0;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else if (line.startsWith(QLatin1Char('"'))) {
            const auto parsed = parseQuoted(line, pos);
            if (!parsed)
                return fail(lineNumber, QStringLiteral("invalid value name"));
            name = *parsed;
        } else {
            return fail(lineNumber, QStringLiteral("unrecognised line"));
        }
        const QString rest = line.mid(pos).trimmed();
        if (!rest.startsWith(QLatin1Char('=')))
            return fail(lineNumber, QStringLiteral("missing \"=\""));
        const auto data = parseData(rest.mid(1).trimmed());
        if (!data)
            return fail(lineNumber, QStringLiteral("invalid value data"));
        if (Value* existing = current->findValue(name))
            existing->value = *data;
        else
            current->values.append({name, *data});
    }
    if (!headerSeen)
        return fail(1, QStringLiteral("not a registry file (expected \"%1\")").arg(kHeader));
    m_root = std::move(loaded.m_root);
    return true;
}

bool RegistryStore::open(const QString& path, QString* error)
{
    m_root = std::make_unique<Key>();
    m_path.clear();
    QFile file(path);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = file.errorString();
            return false;
        }
        if (!fromFileText(file.readAll(), error))
            return false;
    }
    m_path = path;
    return true;
}

bool RegistryStore::save(QString* error)
{
    if (m_path.isEmpty()) {
        if (error)
            *error = QStringLiteral("the registry store is not bound to a file");
        return false;
    }
    return saveAs(m_path, error);
}

bool RegistryStore::saveAs(const QString& path, QString* error)
{
    // QSaveFile writes a temporary file beside the target and renames it over the target on
    // commit; on failure the temporary file is removed and the old file stays as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toFileText()) < 0 || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    m_path = path;
    return true;
}

QString RegistryStore::filePath() const { return m_path; }

bool RegistryStore::persist() { return m_path.isEmpty() || save(); }

// ---- RegistryAPI ----------------------------------------------------------------------------

RegistryStore::Key* RegistryAPI::openKey(quint32 hive, const QString& key, bool forWriting) const
{
    if (hive != HKEY_LOCAL_MACHINE)
        return nullptr;
    RegistryStore::Key* found = m_store.find(key);
    if (!found || !(forWriting ? found->writable : found->readable))
        return nullptr;
    return found;
}

bool RegistryAPI::RegKeyExists(quint32 hive, const QString& key) const
{
    return openKey(hive, key, false) != nullptr;
}

bool RegistryAPI::RegCreateNewKey(quint32 hive, const QString& key)
{
    const KestraneError failure(ErrorNumber::RegistryError, QStringLiteral("Unable to create the registry key"));
    RegistryStore::Key* parentOfNew = nullptr;
    if (hive != HKEY_LOCAL_MACHINE || !m_store.create(key, &parentOfNew, true))
        throw failure;
    if (!parentOfNew)
        return true;
    if (!m_store.persist()) {
        parentOfNew->subkeys.pop_back();  // the new branch was appended last
        throw failure;
    }
    return false;
}

QVariant RegistryAPI::GetRegValue(quint32 hive, const QString& key, const QString& valueName, qint16 type,
                                  const QVariant& defaultValue) const
{
    RegistryStore::Key* opened = openKey(hive, key, false);
    if (!opened)
        return defaultValue;
    if (type != REG_SZ && type != REG_BINARY && type != REG_DWORD)
        throw KestraneError(ErrorNumber::RegistryError, QStringLiteral("Unsupported value type"));
    const RegistryStore::Value* found = opened->findValue(valueName);
    if (!found)
        return defaultValue;
    // The stored type is not compared with the requested one: the data is read as asked.
    const QByteArray& data = found->value.data;
    switch (type) {
    case REG_SZ:
        if (data.size() + 1 <= kTextBuffer)
            return QString::fromUtf8(data);
        break;
    case REG_BINARY:
        if (data.size() <= kBytesBuffer)
            return data;
        break;
    case REG_DWORD:
        if (data.size() <= 4)
            return dwordFromData(data);
        break;
    }
    return defaultValue;
}

void RegistryAPI::SetRegValue(quint32 hive, const QString& key, const QString& valueName, qint16 type,
                              const QVariant& value)
{
    RegistryStore::Key* opened = openKey(hive, key, true);
    if (!opened)
        return;
    RegistryValue encoded;
    if (type == REG_SZ && value.canConvert<QString>()) {
        encoded = RegistryValue::text(value.toString());
    } else if (type == REG_BINARY && value.canConvert<QByteArray>()) {
        encoded = RegistryValue::binary(value.toByteArray());
    } else if (type == REG_DWORD) {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<quint32>::max())
            return;
        encoded = RegistryValue::dword(quint32(number));
    } else {
        return;
    }
    // Keep memory and file in step: a change that cannot be saved is taken back.
    if (RegistryStore::Value* existing = opened->findValue(valueName)) {
        const RegistryValue previous = existing->value;
        existing->value = encoded;
        if (!m_store.persist())
            existing->value = previous;
    } else {
        opened->values.append({valueName, encoded});
        if (!m_store.persist())
            opened->values.removeLast();
    }
}

void RegistryAPI::DeleteRegValue(quint32 hive, const QString& key, const QString& valueName)
{
    RegistryStore::Key* opened = openKey(hive, key, true);
    if (!opened)
        return;
    for (qsizetype i = 0; i < opened->values.size(); ++i) {
        if (opened->values[i].name.compare(valueName, Qt::CaseInsensitive) != 0)
            continue;
        const RegistryStore::Value removed = opened->values.takeAt(i);
        if (!m_store.persist())
            opened->values.insert(i, removed);
        return;
    }
}

QStringList RegistryAPI::EnumRegKeys(quint32 hive, const QString& key) const
{
    QStringList names;
    const RegistryStore::Key* opened = openKey(hive, key, false);
    if (!opened)
        return names;
    for (const auto& subkey : opened->subkeys) {
        // A name too large for the buffer ends the listing.
        if (names.size() >= kMaxListed || !fitsWithZero(subkey->name, kNameBuffer))
            break;
        names << subkey->name;
    }
    return names;
}

RegValueTable RegistryAPI::EnumRegValues(quint32 hive, const QString& key) const
{
    RegValueTable table;
    const RegistryStore::Key* opened = openKey(hive, key, false);
    if (!opened)
        return table;
    for (const RegistryStore::Value& value : opened->values) {
        const QByteArray& data = value.value.data;
        const bool isText = value.value.type == quint32(REG_SZ);
        const int dataSize = data.size() + (isText ? 1 : 0);
        // A name or data too large for the buffers ends the listing.
        if (table.count() >= kMaxListed || !fitsWithZero(value.name, kNameBuffer) || dataSize > kListingDataBuffer)
            break;
        table.names << value.name;
        if (isText)
            table.data << QString::fromUtf8(data);
        else if (value.value.type == quint32(REG_DWORD))
            table.data << dwordFromData(data);
        else
            table.data << data;
    }
    return table;
}
