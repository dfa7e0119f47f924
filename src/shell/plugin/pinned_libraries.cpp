// The drawing libraries the editor uses make tables of their own when they
// are loaded or first used (pixman's implementations, fontconfig's and
// cairo's caches) and never free them. A host unloads the plug-in when its
// last instance closes, which would unload them too and lose that memory at
// every load. Loading the plug-in marks them to stay for the life of the
// process instead (they are already loaded as its dependencies; nothing is
// read or opened here).
#include <dlfcn.h>

#include <initializer_list>

namespace {

struct PinnedLibraries {
  PinnedLibraries() {
    for (const char* name : {"libcairo.so.2", "libpixman-1.so.0", "libfontconfig.so.1", "libfreetype.so.6"}) {
      // NOLOAD: only a library already mapped; the handle is kept on purpose.
      dlopen(name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
    }
  }
};

const PinnedLibraries pinned;

}  // namespace
