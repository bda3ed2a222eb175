// A fresh directory for one test, removed with everything in it at the end.
#pragma once

#include <string>

namespace test_support {

// Made under the system's temporary directory with a name that starts with
// the prefix, and open to every user, so that a test may run a program as
// another user in it. The removal first gives back the permissions a test took
// away from the directories in it.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& prefix = "velko-test");
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  // The path of name inside the directory; dir / name is the same.
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  std::string operator/(const std::string& name) const { return file(name); }

 private:
  std::string path_;
};

}  // namespace test_support
