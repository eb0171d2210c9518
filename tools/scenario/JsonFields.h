// Typed reading of the fields of a JSON document, with one message per
// mistake: wrong types, unknown keys (with a guess at what was meant),
// missing required fields, numbers outside their limits, and physical
// quantities written as text with their unit ("8 nm", "250 kt").
//
// A number field is described once, as data (NumberField): how it is
// written, its limits, and the words of its messages. The messages are made
// from that description, so a limit is never repeated as text.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "tools/scenario/JsonDocument.h"

namespace cs::preview {

// How a number is written. The quantities are texts with a unit and are
// converted to the module's units: nautical miles, feet, knots, feet per
// minute, seconds.
enum class Written {
    Number,       // a plain number
    WholeNumber,  // a plain number without fraction
    Angle,        // degrees true: a plain number, or text with "deg"
    Distance,
    Altitude,
    Speed,
    VerticalSpeed,
    Time,
};

// One number field. In the texts, "{min}" and "{max}" stand for the limits.
struct NumberField {
    const char* key;
    Written written;
    double min;
    double max;
    // An allowed value, named in the message about a value outside the
    // limits, e.g. "a time from {min} to {max} s".
    const char* allowed = nullptr;
    // Plain numbers: what the value is, named in the message about a wrong
    // type, e.g. "a latitude in degrees". Whole numbers use `allowed`.
    const char* kind = nullptr;
    // What the field should hold, named when it is missing where required.
    const char* missing = nullptr;
};

constexpr double kUnlimited = std::numeric_limits<double>::infinity();

// The same field with another text for when it is missing.
constexpr NumberField requiredAs(NumberField field, const char* missing) {
    field.missing = missing;
    return field;
}

// The text of a field's description with its limits filled in.
std::string describe(const char* text, const NumberField& field);

// Reads the fields of one document; every method throws InputError.
class FieldReader {
  public:
    explicit FieldReader(const JsonDocument& document) : doc_(document) {}
    const JsonDocument& document() const { return doc_; }
    [[noreturn]] void fail(const std::string& path, const std::string& problem) const {
        doc_.fail(path, problem);
    }

    // Objects and their keys.
    void expectObject(const Json& j, const std::string& path) const;
    // Fails on the first key of `object` that is not among `allowed`.
    void checkKeys(const Json& object, const std::string& path,
                   const std::vector<std::string>& allowed) const;
    static const Json* find(const Json& object, const std::string& key);
    // The value of `key`; fails as a missing field expecting `what`.
    const Json& require(const Json& object, const std::string& path, const std::string& key,
                        const std::string& what) const;

    // Numbers: read as `field` says and checked against its limits. `path`
    // is the value's own path.
    double number(const Json& j, const std::string& path, const NumberField& field) const;
    // The field of `object` (at `path`) if present.
    std::optional<double> optional(const Json& object, const std::string& path,
                                   const NumberField& field) const;
    // The field of `object`; fails when missing with the field's `missing`.
    double required(const Json& object, const std::string& path, const NumberField& field) const;
    // The two halves of number(), for checks made in a different order.
    double read(const Json& j, const std::string& path, const NumberField& field) const;
    void checkLimits(const std::string& path, double value, const NumberField& field) const;

    // Any finite number; `what` names it in the message about a wrong type.
    double finiteNumber(const Json& j, const std::string& path, const std::string& what) const;
    // A text of at most `maxLength` bytes.
    std::string text(const Json& j, const std::string& path, size_t maxLength) const;
    bool flag(const Json& j, const std::string& path) const;

  private:
    double quantity(const Json& j, const std::string& path, Written written) const;
    double angle(const Json& j, const std::string& path) const;
    double wholeNumber(const Json& j, const std::string& path, const NumberField& field) const;

    const JsonDocument& doc_;
};

// How a JSON value is named in messages: "a number", "a text", "a list"...
const char* typeName(const Json& j);

// The closest of `candidates` to `word` (ignoring case) when it is a likely
// misspelling, else empty.
std::string closestName(const std::string& word, const std::vector<std::string>& candidates);

// The number at the start of `text` and what follows it, leading spaces
// removed; false when the text does not start with a number.
bool splitValue(const std::string& text, double* value, std::string* unit);

// `word` in lower case (ASCII).
std::string lowerCase(std::string word);

}  // namespace cs::preview
