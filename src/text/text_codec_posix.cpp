// Code page 932 through iconv's "CP932" converter, with its error reports on:
// no //TRANSLIT, no //IGNORE, and a conversion iconv calls irreversible
// counts as a failure.
#include <errno.h>
#include <iconv.h>

#include "text/text_codec_platform.h"

namespace tolvashu::platform_cp932 {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // `expansion`: how many output bytes one input byte can become at most.
  std::optional<std::string> Convert(std::string_view in, std::size_t expansion) {
    if (!ok()) return std::nullopt;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    std::string out(in.size() * expansion, '\0');
    char* in_next = const_cast<char*>(in.data());  // iconv never writes through it
    std::size_t in_left = in.size();
    char* out_next = out.data();
    std::size_t out_left = out.size();
    std::size_t irreversible = iconv(handle_, &in_next, &in_left, &out_next, &out_left);
    if (irreversible != 0 || in_left != 0) return std::nullopt;  // also (size_t)-1: EILSEQ, EINVAL, E2BIG
    out.resize(out.size() - out_left);
    return out;
  }

 private:
  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  iconv_t handle_;
};

// A code page 932 byte becomes at most three UTF-8 bytes (a half-width kana);
// a UTF-8 character never grows in code page 932.
constexpr std::size_t kDecodeExpansion = 3;
constexpr std::size_t kEncodeExpansion = 1;

}  // namespace

std::optional<std::string> DecodeCharacters(std::string_view bytes) {
  thread_local Converter decoder("UTF-8", "CP932");
  return decoder.Convert(bytes, kDecodeExpansion);
}

std::optional<std::string> EncodeCharacters(std::string_view utf8) {
  thread_local Converter encoder("CP932", "UTF-8");
  return encoder.Convert(utf8, kEncodeExpansion);
}

}  // namespace tolvashu::platform_cp932
