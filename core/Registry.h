#pragma once
// The registry on a system that has none: a store of keys and typed values under
// HKEY_LOCAL_MACHINE, kept in one file of the installation, and the seven registry
// procedures of the tool (`RegistryAPI`) working on such a store.
//
// The file is the text form of a registry export ("Windows Registry Editor Version 5.00"),
// in UTF-8:
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Brennhal\SystemParameters\1.0]
//   "TUI Languages Loaded"="ENU,DEU"
//   "Restricted Rights"=dword:00000001
//   "Blob"=hex:01,02,ff
//   @="text of the key's default value"
// Texts escape \\ and \" as usual; control characters are written as \r, \n, \t or \xHH so
// that every entry stays on one line. Other value types are written as hex(N):.. and kept.
// Key and value names compare without regard to case and keep the spelling first written;
// subkeys and values list in the order they were created.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

constexpr quint32 HKEY_LOCAL_MACHINE = 0x80000002;

constexpr qint16 REG_SZ = 1;      // text, stored as UTF-8
constexpr qint16 REG_BINARY = 3;  // bytes
constexpr qint16 REG_DWORD = 4;   // 32-bit number, read back as a signed 32-bit number

// One value's type and raw data, as the registry holds it.
struct RegistryValue {
    quint32 type = REG_SZ;
    QByteArray data;

    static RegistryValue text(const QString& text);
    static RegistryValue dword(quint32 number);
    static RegistryValue binary(const QByteArray& bytes);
    bool operator==(const RegistryValue&) const = default;
};

// Key paths are relative to HKEY_LOCAL_MACHINE, separated by "\"; the empty path is the hive
// itself and a trailing "\" is ignored. A key name is 1 to 255 characters without control
// characters.
//
// The store writes its file only when asked (`save`, `saveAs`) or, when it is bound to a file,
// after each change made through `RegistryAPI` (the tool changes the registry rarely: only its
// stored queries). Direct edits through the methods below stay in memory until saved.
// Saving is atomic: a temporary file in the same folder, renamed over the old one.
class RegistryStore {
public:
    RegistryStore();  // empty, in memory, bound to no file
    ~RegistryStore();
    RegistryStore(RegistryStore&&) noexcept;
    RegistryStore& operator=(RegistryStore&&) noexcept;

    // Binds the store to `path` and loads it; a missing file gives an empty store. False (and
    // the reason in `error`) when the file cannot be read or is not a registry file; the store
    // is then left empty and unbound.
    bool open(const QString& path, QString* error = nullptr);
    bool save(QString* error = nullptr);  // to the bound file; false when unbound
    bool saveAs(const QString& path, QString* error = nullptr);  // writes and binds
    QString filePath() const;

    QByteArray toFileText() const;
    bool fromFileText(const QByteArray& text, QString* error = nullptr);

    // Direct edits, without access checks; keys are created with their parents as needed.
    bool createKey(const QString& key);  // false for an invalid path
    bool setValue(const QString& key, const QString& name, const RegistryValue& value);
    bool keyExists(const QString& key) const;
    std::optional<RegistryValue> value(const QString& key, const QString& name) const;
    QStringList subkeyNames(const QString& key) const;
    QStringList valueNames(const QString& key) const;

    // Access a key refuses to the procedures: an unreadable key cannot be opened for reading
    // (tests, listings, reads), an unwritable one for writing (values, new subkeys).
    // Kept in memory only, never written to the file.
    void setKeyReadable(const QString& key, bool readable);
    void setKeyWritable(const QString& key, bool writable);

private:
    friend class RegistryAPI;

    struct Value {
        QString name;
        RegistryValue value;
    };
    struct Key {
        QString name;
        std::vector<std::unique_ptr<Key>> subkeys;
        QList<Value> values;
        bool readable = true;
        bool writable = true;

        Key* subkey(const QString& name) const;
        Value* findValue(const QString& name);
    };

    Key* find(const QString& key) const;
    // Creates the missing keys of `key` and returns it; nullptr for an invalid path, or when
    // `checkAccess` and the key under which the first new one would go is not writable.
    // `parentOfNew` receives that key (nullptr when nothing was created).
    Key* create(const QString& key, Key** parentOfNew = nullptr, bool checkAccess = false);
    bool persist();  // saves when bound to a file

    std::unique_ptr<Key> m_root;
    QString m_path;
};

// The names and data of a key's values, column i for the i-th value in listing order.
// Data is a QString for texts, an int (qint32) for numbers and a QByteArray otherwise.
struct RegValueTable {
    QStringList names;
    QVariantList data;
    int count() const { return names.size(); }
};

// The tool's registry procedures. Only HKEY_LOCAL_MACHINE can be opened. Buffer limits are
// counted in bytes of UTF-8 and include the terminating zero of names and texts: names 260,
// texts read by GetRegValue 2048, bytes read by GetRegValue 4096, data in a listing 4096.
class RegistryAPI {
public:
    explicit RegistryAPI(RegistryStore& store) : m_store(store) {}

    bool RegKeyExists(quint32 hive, const QString& key) const;
    // True when the key existed already, false when it was created (with missing parents).
    // Throws KestraneError(1001, "Unable to create the registry key").
    bool RegCreateNewKey(quint32 hive, const QString& key);
    // Text (QString), bytes (QByteArray) or number (int); `defaultValue` unchanged when the
    // key cannot be opened or the value does not fit. Throws KestraneError(1001, "Unsupported
    // value type") for another type, once the key is open.
    QVariant GetRegValue(quint32 hive, const QString& key, const QString& valueName, qint16 type,
                         const QVariant& defaultValue) const;
    // Writes nothing when the key cannot be opened for writing, for another type, or for a
    // number that is not a whole number within 32 bits (signed or unsigned).
    void SetRegValue(quint32 hive, const QString& key, const QString& valueName, qint16 type,
                     const QVariant& value);
    void DeleteRegValue(quint32 hive, const QString& key, const QString& valueName);
    // Empty when the key cannot be opened or has no subkeys / values.
    QStringList EnumRegKeys(quint32 hive, const QString& key) const;
    RegValueTable EnumRegValues(quint32 hive, const QString& key) const;

private:
    RegistryStore::Key* openKey(quint32 hive, const QString& key, bool forWriting) const;

    RegistryStore& m_store;
};
