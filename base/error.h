#pragma once
// The one error type raised inside the plug-in. It carries the text the user
// sees when it reaches an export; exports stop every error (see exports_win.cpp).
#include <exception>
#include <string>

namespace quill {

class Error : public std::exception {
public:
    explicit Error(std::u16string text) : text_(std::move(text)) {}
    const std::u16string& text() const noexcept { return text_; }
    const char* what() const noexcept override { return "quill::Error"; }

private:
    std::u16string text_;
};

// What the user reads for the error being handled (call inside a catch block):
// an Error's own text, or a plain sentence for running out of memory or
// anything unexpected.
std::u16string CurrentErrorText() noexcept;

}  // namespace quill
