// zelvane-skin: draws every image of the editor's skin into a folder, and
// with --preview also whole pages and dialogs composed from them.
//   zelvane-skin IMAGES_FOLDER [--preview FOLDER]
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "image_set.h"
#include "preview.h"

namespace {

int Run(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview")) {
    std::fprintf(stderr, "usage: %s IMAGES_FOLDER [--preview FOLDER]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  int written = 0;
  {
    const skin::ImageSet set = skin::DrawSkin();
    for (const skin::ImageSet::Entry& e : set.entries()) {
      const std::string path = (folder / e.name).string();
      if (!e.canvas->WritePng(path)) {
        std::fprintf(stderr, "zelvane-skin: could not write %s\n", path.c_str());
        return 1;
      }
      ++written;
    }
    if (argc == 4) {
      std::filesystem::create_directories(argv[3]);
      if (!skin::WritePreviews(set, argv[3])) {
        std::fprintf(stderr, "zelvane-skin: could not write the previews into %s\n", argv[3]);
        return 1;
      }
    }
  }
  std::printf("zelvane-skin: %d images in %s\n", written, folder.string().c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int status = 1;
  try {
    status = Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelvane-skin: %s\n", e.what());
  }
  // Cairo's font and pattern caches first, then the fontconfig state they
  // held: what is left at exit would read as leaks under the sanitizers.
  cairo_debug_reset_static_data();
  FcFini();
  return status;
}
