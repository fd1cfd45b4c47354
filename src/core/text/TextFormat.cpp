#include "text/TextFormat.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "text/TextCatalog.h"

namespace vantor {

std::string FormatText(std::string_view pattern,
                       std::initializer_list<std::pair<std::string_view, std::string>> values) {
  std::string out;
  std::size_t at = 0;
  while (at < pattern.size()) {
    const std::size_t open = pattern.find('{', at);
    const std::size_t close = open == std::string_view::npos ? open : pattern.find('}', open);
    if (close == std::string_view::npos) {
      out.append(pattern.substr(at));
      break;
    }
    out.append(pattern.substr(at, open - at));
    const std::string_view name = pattern.substr(open + 1, close - open - 1);
    const auto found =
        std::find_if(values.begin(), values.end(), [&](const auto& v) { return v.first == name; });
    if (found != values.end()) {
      out.append(found->second);
    } else {
      out.append(pattern.substr(open, close - open + 1));
    }
    at = close + 1;
  }
  return out;
}

std::string DescribeFileError(int error, bool chinese) {
  TextId id;
  switch (error) {
    case ENOENT:
      id = TextId::FileReasonNotFound;
      break;
    case EACCES:
      id = TextId::FileReasonPermission;
      break;
    case EPERM:
      id = TextId::FileReasonNotPermitted;
      break;
    case EROFS:
      id = TextId::FileReasonReadOnly;
      break;
    case ENOSPC:
      id = TextId::FileReasonNoSpace;
      break;
    case EDQUOT:
      id = TextId::FileReasonQuota;
      break;
    case EISDIR:
      id = TextId::FileReasonIsFolder;
      break;
    case ENOTDIR:
      id = TextId::FileReasonNotFolder;
      break;
    case ENAMETOOLONG:
      id = TextId::FileReasonNameTooLong;
      break;
    case EFBIG:
      id = TextId::FileReasonTooLarge;
      break;
    case EIO:
      id = TextId::FileReasonIo;
      break;
    case EAGAIN:
      id = TextId::FileReasonInUse;
      break;
    case EINVAL:
      id = TextId::FileReasonNotRegular;
      break;
    case EEXIST:
      id = TextId::FileReasonExists;
      break;
    default:
      // Rare reasons in the system's own (English) words.
      return std::generic_category().message(error);
  }
  return std::string(Tr(id, chinese));
}

}  // namespace vantor
