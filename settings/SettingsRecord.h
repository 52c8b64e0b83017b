#pragma once
// The settings file's one record: sixteen comma-separated fields ended by CR LF.
// A field is known only by its place, so both structs keep the file's order.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace settings {

// What SaveIni gathers from the controls, in the types they hold.
struct SettingsToWrite {
    float formLeft = 0, formTop = 0, panelLeft = 0, panelTop = 0;  // twips, screen
    QString makuPath0, makuPath1;
    std::int16_t makuSpeed0 = 0, makuSpeed1 = 0;
    QString kanbanPath;
    float kanbanLeft = 0, kanbanTop = 0;                           // twips, main window
    bool viewKanban = false, viewWaku = false;
    std::int16_t hScroll1 = 0, hScroll2 = 0;
    std::int16_t nakaMode = 0;
    friend bool operator==(const SettingsToWrite&, const SettingsToWrite&) = default;
};

// What LoadIni reads, in the types of its reading targets.
struct SettingsRead {
    std::int32_t formLeft = 0, formTop = 0, panelLeft = 0, panelTop = 0;
    QString makuPath0, makuPath1;
    std::int32_t makuSpeed0 = 0, makuSpeed1 = 0;
    QString kanbanPath;
    std::int32_t kanbanLeft = 0, kanbanTop = 0;
    bool viewKanban = false, viewWaku = false;
    std::int32_t hScroll1 = 0, hScroll2 = 0;
    std::int16_t nakaMode = 0;
    friend bool operator==(const SettingsRead&, const SettingsRead&) = default;
};

// The whole line in UTF-8, ending in CR LF. Numbers are written in the C locale's form
// (no exponent below 1e7 in magnitude), texts in double quotes with a quote doubled.
QByteArray formatRecord(const SettingsToWrite& settings);

// Reads the first record of the file's bytes; whatever follows its sixteenth field is
// ignored. Throws ctl::RuntimeError: kInputPastEnd for a missing field (or an empty
// file), kTypeMismatch for a field of the wrong kind, kOverflow for a number out of its
// target's range. Control ranges are not checked here (see SettingsValues.h).
SettingsRead parseRecord(QByteArrayView fileBytes);

// The same, reading each field straight into its place in `into`, in file order: when a
// field is broken, the fields before it hold what was read and the rest are left as they were.
void parseRecordInto(QByteArrayView fileBytes, SettingsRead& into);

// The single-precision text of a position as the record stores it ("8850", "-75", "1.5").
QByteArray formatSingle(float value);

}  // namespace settings
