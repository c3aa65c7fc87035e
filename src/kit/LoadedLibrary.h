#pragma once

#include <dlfcn.h>

namespace selvane {

// A function of a library loaded with dlopen, by name, into a pointer of its own type; false when
// the library lacks it. The libraries a command may never need (libcurl, SQLite, cairo) are loaded
// when first needed, and their functions found this way.
template <typename F>
bool resolve(void* library, F& function, const char* name) {
    function = reinterpret_cast<F>(::dlsym(library, name));
    return function != nullptr;
}

}  // namespace selvane
