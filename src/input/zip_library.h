// libzip, loaded when the first document is read.
//
// libzip brings OpenSSL's library with it, and loading the two cost every
// start of the program about two milliseconds, a fifth of the time of a
// count of a small file; most runs read no document.

#ifndef VORN_INPUT_ZIP_LIBRARY_H_
#define VORN_INPUT_ZIP_LIBRARY_H_

#include <zip.h>

#include <string>

namespace vorn {

// The functions of libzip that the documents are read with.
struct ZipLibrary {
  decltype(&::zip_open) open = nullptr;
  decltype(&::zip_discard) discard = nullptr;
  decltype(&::zip_name_locate) name_locate = nullptr;
  decltype(&::zip_stat_init) stat_init = nullptr;
  decltype(&::zip_stat_index) stat_index = nullptr;
  decltype(&::zip_fopen_index) fopen_index = nullptr;
  decltype(&::zip_fread) fread = nullptr;
  decltype(&::zip_fclose) fclose = nullptr;
  decltype(&::zip_get_error) get_error = nullptr;
  decltype(&::zip_file_get_error) file_get_error = nullptr;
  decltype(&::zip_error_code_zip) error_code_zip = nullptr;
  decltype(&::zip_error_init_with_code) error_init_with_code = nullptr;
  decltype(&::zip_error_strerror) error_strerror = nullptr;
  decltype(&::zip_error_fini) error_fini = nullptr;
  decltype(&::zip_strerror) strerror = nullptr;
  decltype(&::zip_file_strerror) file_strerror = nullptr;
};

// The library, loaded on the first call (from any thread); null when it
// cannot be loaded, with *error saying why.
const ZipLibrary* Zip(std::string* error);

// Loads the library from `file` (a name the system's loader looks up, or a
// path), for Zip and for tests; false with *error when it or one of its
// functions cannot be found.
bool LoadZipLibrary(const char* file, ZipLibrary* library, std::string* error);

}  // namespace vorn

#endif  // VORN_INPUT_ZIP_LIBRARY_H_
