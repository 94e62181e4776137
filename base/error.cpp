#include "base/error.h"

#include <new>

namespace quill {

std::u16string CurrentErrorText() noexcept {
    try {
        try {
            throw;
        } catch (const Error& e) {
            return e.text();
        } catch (const std::bad_alloc&) {
            return u"Quillmendex ran out of memory. The command was not completed; the editor keeps its text.";
        } catch (...) {
            return u"Quillmendex met an unexpected error. The command was not completed.";
        }
    } catch (...) {
        return {};  // not even the text could be had
    }
}

}  // namespace quill
