#pragma once
// The active settings store iniData and its operations: the general
// settings file beside the program, the per-file settings file beside a card
// file, the fill-in of every default, the switch between the two files, and
// typed reads of the keys (settingkeys.h).
//
// Reading rule: a value that converts to the key's kind is used; a missing,
// empty or wrong-typed value (a hand-edited "abc" where a number belongs)
// reads as the key's default, so one bad line never breaks the window. A
// switch is on only when its value is 1 numerically ("1", "1.0"); a missing or
// empty switch is off, a non-numeric one takes its default. Keys marked
// OnRead are created with their default by the first read; all other reads
// add nothing to the store.

#include "core/common/inimente.h"
#include "core/settings/settingkeys.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

class SettingsModel
{
public:
    // generalFile: the general settings file; empty means the executable's
    // base name + ".ini" in the program folder.
    explicit SettingsModel(const QString &generalFile = QString());

    static QString defaultGeneralSettingsFile();
    // The per-file settings file of a card file: the card's folder joined with
    // its base name + ".ini". The card path is normalised first (every
    // component as the directory listing spells it).
    static QString perFileSettingsPath(const QString &cardPath);

    QString generalSettingsFile() const { return m_generalFile; }

    // The active store. Replaced (not only changed) by loadFile and
    // SelectSettingsFile.
    iniMente &iniData() { return m_store; }
    const iniMente &iniData() const { return m_store; }

    // Whether the store has been given a file yet (start-up loads the general
    // file only when the card file did not select one).
    bool hasFile() const { return !m_store.GetiniFilename().isEmpty(); }
    QString fileName() const { return m_store.GetiniFilename(); }

    // True when per-file settings are in use: the store's file name is not
    // the general settings file (exact comparison).
    bool FileSettingsActive() const;

    // VerNo := the running version, then every filled key in table order
    // gets its default when missing or empty.
    void FillDefaultSettings();

    // Chooses the settings for a card file that was just opened: its per-file
    // file when that exists, else the general file; reloads only when that
    // changes the file (or per-file settings were found), then fills the
    // defaults. True when the store was reloaded. Either way the caller
    // applies the settings afterwards.
    bool SelectSettingsFile(const QString &cardPath);

    // A fresh store loaded from path (a missing file gives an empty store that
    // will be saved there), then the fill-in.
    void loadFile(const QString &path);
    void loadGeneralSettings() { loadFile(m_generalFile); }
    // Loads path into the current store, keeping its values when the file
    // does not exist (only the file name changes), then the fill-in. The
    // options dialog starts new per-file settings this way as a copy.
    void loadKeepingValues(const QString &path);

    // Saves under the store's file name; false when it could not be written
    // (or the store has no file name).
    [[nodiscard]] bool save();
    // save() for the values the program keeps on its own (window state, the
    // general file at start-up): they are a convenience, so a file that
    // cannot be written (a read-only program folder, a full disk) is reported
    // on the log and the program goes on.
    void saveOrLog();
    // Gives the store another file name (saved there later).
    void setFileName(const QString &path) { m_store.SetiniFilename(path); }

    // Typed reads (see the reading rule above). Keys outside the table read
    // their stored value with the kind's neutral fallback (0, empty, false).
    QString text(const QString &key);
    int integer(const QString &key);
    double number(const QString &key);
    bool isOn(const QString &key);
    bool boolean(const QString &key);
    // A usable colour number: plain 0x00BBGGRR or a known system reference.
    std::uint32_t colour(const QString &key);

    // Writes in the forms of the files: switches 0/1, booleans True/False,
    // colours signed decimal.
    void setText(const QString &key, const QString &value);
    void setInteger(const QString &key, int value);
    void setNumber(const QString &key, double value);
    void setSwitch(const QString &key, bool on);
    void setBoolean(const QString &key, bool value);
    void setColour(const QString &key, std::uint32_t number);

    // The default of a key as the files write it (computed defaults included).
    QString defaultText(const QString &key) const;
    // Replaces the computed ExtEditor default (tests, or a caller that knows
    // better); by default it is looked up once when the model is made.
    void setExternalEditorDefault(const QString &command) { m_externalEditorDefault = command; }

    // Conversions used by the reads, for other readers of settings values.
    static std::optional<double> toNumber(const QVariant &value);
    static std::optional<int> toInteger(const QVariant &value);
    static std::optional<bool> toBoolean(const QVariant &value);
    static std::optional<std::uint32_t> toColour(const QVariant &value);
    static bool isUsableColour(std::uint32_t number);

private:
    QVariant read(const QString &key);

    QString m_generalFile;
    QString m_externalEditorDefault;
    iniMente m_store;
};
