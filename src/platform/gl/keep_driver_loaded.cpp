#include "platform/gl/keep_driver_loaded.h"

#if defined(__SANITIZE_ADDRESS__)
#define KELMORA_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELMORA_LEAK_CHECKED 1
#endif
#endif

#ifdef KELMORA_LEAK_CHECKED
#include <dlfcn.h>
#include <link.h>

#include <string>
#include <vector>
#endif

namespace kelmora::platform {

void KeepGlDriverLoaded() {
#ifdef KELMORA_LEAK_CHECKED
  // The first context brings the whole driver in; later ones load nothing new.
  static bool kept = false;
  if (kept) return;
  kept = true;
  std::vector<std::string> loaded;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* names) {
        if (info->dlpi_name && *info->dlpi_name) static_cast<std::vector<std::string>*>(names)->push_back(info->dlpi_name);
        return 0;
      },
      &loaded);
  // Opened once more, marked never to unload, and the extra reference dropped again: only
  // the mark stays.
  for (const std::string& name : loaded) {
    if (void* h = dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE)) dlclose(h);
  }
#endif
}

}  // namespace kelmora::platform
