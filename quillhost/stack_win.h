#pragma once
// The stack on which the stand-in runs the plug-in's code. A 32-bit IDE is
// built by a compiler that keeps the stack aligned to 4 bytes only, so it may
// call an export with the stack at any multiple of 4. The 32-bit stand-in
// therefore calls every export, and runs every callback's body, with the stack
// at 4 modulo 16 (unless --stack-align 16): code of the plug-in that assumes
// 16 faults in the tests. Windows x64 always aligns to 16; there it is a plain call.
#include <cstdint>
#include <type_traits>

namespace quillhost {

// 4 or 16: the alignment of the stack at each call into the plug-in.
int StackAlignment();
void SetStackAlignment(int bytes);

#ifdef _WIN64
template <class R, class... A, class... B>
R OnHostStack(R (*fn)(A...), B... args) {
    return fn(args...);
}
#else
// Calls fn with the words args[0..count) on a stack at StackAlignment() bytes
// past a multiple of 16 (stack_win.cpp).
extern "C" intptr_t CallOnStack(void* fn, const intptr_t* args, int count, int past16);

template <class T>
intptr_t Word(T value) {
    static_assert(sizeof(T) <= sizeof(intptr_t));
    if constexpr (std::is_pointer_v<T>) return reinterpret_cast<intptr_t>(value);
    else return static_cast<intptr_t>(value);
}

template <class R, class... A, class... B>
R OnHostStack(R (*fn)(A...), B... args) {
    const intptr_t words[sizeof...(A) + 1] = {Word(static_cast<A>(args))..., 0};
    const intptr_t result = CallOnStack(reinterpret_cast<void*>(fn), words, static_cast<int>(sizeof...(A)),
                                        StackAlignment() % 16);
    if constexpr (std::is_void_v<R>) return;
    else if constexpr (std::is_pointer_v<R>) return reinterpret_cast<R>(result);
    else return static_cast<R>(result);
}
#endif

// A callback whose body runs on the host's stack: what the plug-in is handed
// in place of F.
template <auto F>
struct HostStackCallback;
template <class R, class... A, R (*F)(A...)>
struct HostStackCallback<F> {
    static R Call(A... args) { return OnHostStack(F, args...); }
};

}  // namespace quillhost
