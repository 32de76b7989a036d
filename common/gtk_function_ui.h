#pragma once
// A function of GTK, GDK or GLib, found by its name in the running program:
// the toolkit brings them in, but the program is not built against their
// headers. Null where the toolkit is not GTK.
#include <dlfcn.h>

template <typename Function>
Function gtkFunction(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
}
