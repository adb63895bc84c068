// The end-to-end driver's record of what it checked: each check passes or
// fails with a description, failures are printed as they happen, and the
// summary line at the end gives the counts.
#pragma once

#include <string>

namespace tolvashu::e2e {

class Checks {
 public:
  // Records one check; `what` says what was expected (UTF-8).
  bool Expect(bool ok, const std::string& what);
  // Records a check comparing two texts, printing both when they differ.
  bool ExpectEqual(const std::string& actual, const std::string& expected, const std::string& what);
  bool ExpectEqual(long long actual, long long expected, const std::string& what);

  // Starts a named group of checks in the output.
  void Section(const std::string& name);
  int failed() const { return failed_; }
  void PrintSummary() const;

 private:
  int passed_ = 0;
  int failed_ = 0;
  std::string section_;
};

}  // namespace tolvashu::e2e
