#pragma once

// Owners of libcurl's handles, so that each is freed on every way out of
// the code that made it, and the error thrown when libcurl refuses a call
// while a message is being put together.

#include <curl/curl.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace lum {

struct CurlEasyCleanup {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct CurlListFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct CurlMimeFree {
  void operator()(curl_mime* mime) const { curl_mime_free(mime); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;
using CurlList = std::unique_ptr<curl_slist, CurlListFree>;
using CurlMime = std::unique_ptr<curl_mime, CurlMimeFree>;

class CurlError : public std::runtime_error {
 public:
  explicit CurlError(CURLcode code) : std::runtime_error(curl_easy_strerror(code)), mCode(code) {}
  CURLcode code() const { return mCode; }

 private:
  CURLcode mCode;
};

// Throws CurlError for a call that did not succeed.
inline void throwOnCurlError(CURLcode code) {
  if (code != CURLE_OK) {
    throw CurlError(code);
  }
}

// What libcurl made; it makes nothing only when out of memory.
template <class Handle>
Handle* madeByCurl(Handle* handle) {
  if (handle == nullptr) {
    throw CurlError(CURLE_OUT_OF_MEMORY);
  }
  return handle;
}

// Adds a line to the list, which stays as it was when libcurl cannot.
inline void appendLine(CurlList& list, const std::string& line) {
  curl_slist* longer = madeByCurl(curl_slist_append(list.get(), line.c_str()));
  static_cast<void>(list.release());  // now the head of longer
  list.reset(longer);
}

}  // namespace lum
