#include "align/sphinx_library.h"

#include <dlfcn.h>

namespace olve {

TSphinxLibrary::~TSphinxLibrary()
{
    if (FHandle)
        dlclose(FHandle);
}

bool TSphinxLibrary::Load(std::string& error)
{
    if (FHandle)
        return true;
    // The recognizer's library brings its base library along; both are searched for names.
    void* handle = dlopen(OLVE_SPHINX_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        error = std::string("the speech recognizer cannot be loaded (") + (reason ? reason : OLVE_SPHINX_LIBRARY) + ")";
        return false;
    }
    std::string missing;
#define OLVE_SPHINX_RESOLVE(function)                                                                                 \
    function = reinterpret_cast<decltype(function)>(dlsym(handle, #function));                                       \
    if (!function && missing.empty())                                                                                 \
        missing = #function;
    OLVE_SPHINX_FUNCTIONS(OLVE_SPHINX_RESOLVE)
#undef OLVE_SPHINX_RESOLVE
    if (!missing.empty()) {
        dlclose(handle);
        error = "the speech recognizer " OLVE_SPHINX_LIBRARY " lacks " + missing;
        return false;
    }
    FHandle = handle;
    return true;
}

}  // namespace olve
