#pragma once
// The value a setting travels in between a control and storage: a Boolean, a
// 32-bit signed integer or a text, with the conversions between them.
//
//   from \ to   Boolean              integer                 text
//   Boolean     -                    true -1, false 0        "True" / "False"
//   integer     non-zero is true     -                       decimal
//   text        "true"/"false" (any  an integer as the       -
//               case) or an integer  settings read it
//
// A text that is neither raises VariantError and converts nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "base/error.h"

namespace quill {

class VariantError : public Error {
public:
    using Error::Error;
};

class Variant {
public:
    enum class Type { Text, Boolean, Integer };

    Variant() = default;  // empty text
    Variant(bool value) : value_(value) {}
    Variant(int32_t value) : value_(value) {}
    Variant(std::u16string value) : value_(std::move(value)) {}
    Variant(const char16_t* value) : value_(std::u16string(value ? value : u"")) {}

    Type type() const noexcept { return static_cast<Type>(value_.index()); }
    bool AsBoolean() const;
    int32_t AsInteger() const;
    std::u16string AsText() const;

    bool operator==(const Variant&) const = default;

private:
    std::variant<std::u16string, bool, int32_t> value_;
};

}  // namespace quill
