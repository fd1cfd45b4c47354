#pragma once
// The outcome of a file operation: nothing, or the system's reason (an errno value) that the
// text catalogue turns into words for the person (DescribeFileError).

#include <cerrno>

namespace vantor {

struct FileResult {
  int error = 0;

  bool Ok() const { return error == 0; }
  static FileResult Success() { return {}; }
  static FileResult Failure(int code) { return {code != 0 ? code : EIO}; }
};

}  // namespace vantor
