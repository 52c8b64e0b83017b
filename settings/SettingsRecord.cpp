#include "settings/SettingsRecord.h"

#include "settings/RecordFields.h"

#include <charconv>
#include <iterator>
#include <utility>

namespace settings {

namespace {

// Appends fields in order, each after a comma but the first.
class RecordWriter {
public:
    RecordWriter() { out_.reserve(320); }

    void single(float value) { separate(); out_ += formatSingle(value); }
    void int16(std::int16_t value) { separate(); out_ += QByteArray::number(value); }
    void boolean(bool value) { separate(); out_ += value ? "#TRUE#" : "#FALSE#"; }

    // Paths on this platform may hold a double quote; doubling it keeps the field whole
    // and leaves every other path byte for byte as it would be without the doubling.
    void text(const QString& value) {
        separate();
        out_ += '"';
        for (const char c : value.toUtf8()) {
            if (c == '"')
                out_ += '"';
            out_ += c;
        }
        out_ += '"';
    }

    QByteArray finish() { return std::move(out_) + "\r\n"; }

private:
    void separate() {
        if (!first_)
            out_ += ',';
        first_ = false;
    }

    QByteArray out_;
    bool first_ = true;
};

}  // namespace

QByteArray formatSingle(float value) {
    if (value == 0.0f)
        return QByteArrayLiteral("0");  // no "-0"
    // Fixed notation never uses an exponent; without a precision it is the shortest text
    // that reads back to the same float. Locale plays no part in to_chars.
    char buffer[128];
    const auto [end, ec] = std::to_chars(std::begin(buffer), std::end(buffer), value, std::chars_format::fixed);
    if (ec != std::errc())
        return QByteArrayLiteral("0");  // cannot happen: the longest float needs under 60 characters
    return QByteArray(buffer, end - buffer);
}

QByteArray formatRecord(const SettingsToWrite& s) {
    RecordWriter w;
    w.single(s.formLeft);
    w.single(s.formTop);
    w.single(s.panelLeft);
    w.single(s.panelTop);
    w.text(s.makuPath0);
    w.text(s.makuPath1);
    w.int16(s.makuSpeed0);
    w.int16(s.makuSpeed1);
    w.text(s.kanbanPath);
    w.single(s.kanbanLeft);
    w.single(s.kanbanTop);
    w.boolean(s.viewKanban);
    w.boolean(s.viewWaku);
    w.int16(s.hScroll1);
    w.int16(s.hScroll2);
    w.int16(s.nakaMode);
    return w.finish();
}

SettingsRead parseRecord(QByteArrayView fileBytes) {
    SettingsRead s;
    parseRecordInto(fileBytes, s);
    return s;
}

void parseRecordInto(QByteArrayView fileBytes, SettingsRead& s) {
    FieldReader in(fileBytes);
    // One statement per field: the fields must be read in file order.
    s.formLeft = toInt32(in.next());
    s.formTop = toInt32(in.next());
    s.panelLeft = toInt32(in.next());
    s.panelTop = toInt32(in.next());
    s.makuPath0 = toText(in.next());
    s.makuPath1 = toText(in.next());
    s.makuSpeed0 = toInt32(in.next());
    s.makuSpeed1 = toInt32(in.next());
    s.kanbanPath = toText(in.next());
    s.kanbanLeft = toInt32(in.next());
    s.kanbanTop = toInt32(in.next());
    s.viewKanban = toBoolean(in.next());
    s.viewWaku = toBoolean(in.next());
    s.hScroll1 = toInt32(in.next());
    s.hScroll2 = toInt32(in.next());
    s.nakaMode = toInt16(in.next());
}

}  // namespace settings
