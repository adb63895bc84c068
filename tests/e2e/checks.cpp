#include "e2e/checks.h"

#include <cstdio>

namespace tolvashu::e2e {

namespace {

// Control characters made visible, so that a CR LF in a caption shows up.
std::string Visible(const std::string& text) {
  std::string shown;
  for (char c : text) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace

bool Checks::Expect(bool ok, const std::string& what) {
  if (ok) {
    ++passed_;
  } else {
    ++failed_;
    std::printf("FAILED [%s] %s\n", section_.c_str(), what.c_str());
    std::fflush(stdout);
  }
  return ok;
}

bool Checks::ExpectEqual(const std::string& actual, const std::string& expected, const std::string& what) {
  bool ok = Expect(actual == expected, what);
  if (!ok) std::printf("    expected «%s»\n    actual   «%s»\n", Visible(expected).c_str(), Visible(actual).c_str());
  return ok;
}

bool Checks::ExpectEqual(long long actual, long long expected, const std::string& what) {
  bool ok = Expect(actual == expected, what);
  if (!ok) std::printf("    expected %lld, actual %lld\n", expected, actual);
  return ok;
}

void Checks::Section(const std::string& name) {
  section_ = name;
  std::printf("-- %s\n", name.c_str());
  std::fflush(stdout);
}

void Checks::PrintSummary() const {
  std::printf("e2e: %d passed, %d failed\n", passed_, failed_);
  std::fflush(stdout);
}

}  // namespace tolvashu::e2e
