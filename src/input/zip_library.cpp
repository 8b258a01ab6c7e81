#include "input/zip_library.h"

#include <dlfcn.h>

namespace vorn {

namespace {

// The library the headers came from (its file name with the major version),
// set by the build.
#ifndef VORN_LIBZIP_SONAME
#define VORN_LIBZIP_SONAME "libzip.so"
#endif

template <typename F>
bool Find(void* handle, const char* name, F* function, std::string* error) {
  void* symbol = dlsym(handle, name);
  if (symbol == nullptr) {
    *error = std::string("the zip library has no ") + name;
    return false;
  }
  *function = reinterpret_cast<F>(symbol);
  return true;
}

}  // namespace

bool LoadZipLibrary(const char* file, ZipLibrary* library, std::string* error) {
  // The library stays loaded for the rest of the run.
  void* handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    *error = std::string("the zip library ") + file + " cannot be loaded" +
             (why != nullptr ? std::string(": ") + why : std::string());
    return false;
  }
  ZipLibrary z;
  const bool found =
      Find(handle, "zip_open", &z.open, error) && Find(handle, "zip_discard", &z.discard, error) &&
      Find(handle, "zip_name_locate", &z.name_locate, error) &&
      Find(handle, "zip_stat_init", &z.stat_init, error) &&
      Find(handle, "zip_stat_index", &z.stat_index, error) &&
      Find(handle, "zip_fopen_index", &z.fopen_index, error) &&
      Find(handle, "zip_fread", &z.fread, error) && Find(handle, "zip_fclose", &z.fclose, error) &&
      Find(handle, "zip_get_error", &z.get_error, error) &&
      Find(handle, "zip_file_get_error", &z.file_get_error, error) &&
      Find(handle, "zip_error_code_zip", &z.error_code_zip, error) &&
      Find(handle, "zip_error_init_with_code", &z.error_init_with_code, error) &&
      Find(handle, "zip_error_strerror", &z.error_strerror, error) &&
      Find(handle, "zip_error_fini", &z.error_fini, error) &&
      Find(handle, "zip_strerror", &z.strerror, error) &&
      Find(handle, "zip_file_strerror", &z.file_strerror, error);
  if (!found) {
    dlclose(handle);
    return false;
  }
  *library = z;
  return true;
}

const ZipLibrary* Zip(std::string* error) {
  struct Loaded {
    ZipLibrary library;
    std::string error;
    bool ok = false;
  };
  static const Loaded loaded = [] {
    Loaded l;
    l.ok = LoadZipLibrary(VORN_LIBZIP_SONAME, &l.library, &l.error);
    return l;
  }();
  if (!loaded.ok) {
    *error = loaded.error;
    return nullptr;
  }
  return &loaded.library;
}

}  // namespace vorn
