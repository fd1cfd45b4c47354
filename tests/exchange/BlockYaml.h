#pragma once
// A reader for the block-style YAML subset that CamillaDSP configurations are written in:
// nested maps by indentation, "- " lists (of scalars or maps), flow lists "[a, b]", empty
// "{}" / "[]", comments. It refuses everything else (tabs, uneven indentation, duplicate
// keys, text it does not understand), so a file it reads is well-formed in that subset.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::testing {

struct YamlNode {
  enum class Kind { kScalar, kMap, kList } kind = Kind::kScalar;
  std::string scalar;
  std::map<std::string, YamlNode> map;
  std::vector<YamlNode> list;

  const YamlNode* Get(const std::string& key) const {
    const auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
  }
};

class BlockYaml {
 public:
  static std::optional<YamlNode> Parse(std::string_view text) {
    BlockYaml y;
    for (std::string_view rest = text; !rest.empty();) {
      const auto end = rest.find('\n');
      std::string line(rest.substr(0, end));
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
      if (line.find('\t') != std::string::npos) return std::nullopt;
      const auto hash = line.find('#');
      if (hash != std::string::npos) line.erase(hash);
      while (!line.empty() && line.back() == ' ') line.pop_back();
      if (line.empty()) continue;
      const std::size_t indent = line.find_first_not_of(' ');
      y.m_lines.push_back({indent, line.substr(indent)});
    }
    std::size_t i = 0;
    auto root = y.Block(i, 0);
    if (!root || i != y.m_lines.size()) return std::nullopt;
    return root;
  }

 private:
  struct Line {
    std::size_t indent;
    std::string text;
  };

  static std::optional<YamlNode> Scalar(const std::string& v) {
    YamlNode n;
    if (v == "{}") {
      n.kind = YamlNode::Kind::kMap;
      return n;
    }
    if (!v.empty() && v.front() == '[') {
      if (v.back() != ']') return std::nullopt;
      n.kind = YamlNode::Kind::kList;
      std::string inner = v.substr(1, v.size() - 2);
      std::size_t start = 0;
      while (start < inner.size()) {
        std::size_t comma = inner.find(',', start);
        if (comma == std::string::npos) comma = inner.size();
        std::string item = inner.substr(start, comma - start);
        item.erase(0, item.find_first_not_of(' '));
        while (!item.empty() && item.back() == ' ') item.pop_back();
        if (item.empty()) return std::nullopt;
        YamlNode s;
        s.scalar = item;
        n.list.push_back(s);
        start = comma + 1;
      }
      return n;
    }
    if (v.find_first_of("{}[]:") != std::string::npos) return std::nullopt;
    n.scalar = v;
    return n;
  }

  // A "key: value" or "key:" line.
  static bool SplitKey(const std::string& t, std::string& key, std::string& value) {
    const auto colon = t.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    if (colon + 1 < t.size() && t[colon + 1] != ' ') return false;
    key = t.substr(0, colon);
    if (key.find(' ') != std::string::npos) return false;
    value = colon + 1 < t.size() ? t.substr(colon + 2) : std::string();
    return true;
  }

  std::optional<YamlNode> Value(std::size_t& i, std::size_t indent, const std::string& value) {
    if (!value.empty()) return Scalar(value);
    if (i >= m_lines.size() || m_lines[i].indent < indent) return std::nullopt;
    // A list may sit at the key's own indentation; a map must be deeper.
    if (m_lines[i].text.starts_with("- ")) return Block(i, m_lines[i].indent);
    if (m_lines[i].indent == indent) return std::nullopt;
    return Block(i, m_lines[i].indent);
  }

  std::optional<YamlNode> Block(std::size_t& i, std::size_t indent) {
    if (i >= m_lines.size() || m_lines[i].indent != indent) return std::nullopt;
    YamlNode node;
    const bool list = m_lines[i].text.starts_with("- ");
    node.kind = list ? YamlNode::Kind::kList : YamlNode::Kind::kMap;
    while (i < m_lines.size() && m_lines[i].indent >= indent) {
      if (m_lines[i].indent != indent) return std::nullopt;
      const std::string t = m_lines[i].text;
      if (list != t.starts_with("- ")) return std::nullopt;
      if (list) {
        // "- scalar", or "- key: value" opening a map indented by two.
        const std::string item = t.substr(2);
        std::string key;
        std::string value;
        if (!SplitKey(item, key, value)) {
          auto s = Scalar(item);
          if (!s) return std::nullopt;
          node.list.push_back(*s);
          ++i;
          continue;
        }
        m_lines[i] = {indent + 2, item};
        auto m = Block(i, indent + 2);
        if (!m) return std::nullopt;
        node.list.push_back(*m);
        continue;
      }
      std::string key;
      std::string value;
      if (!SplitKey(t, key, value) || node.map.count(key) != 0) return std::nullopt;
      ++i;
      auto v = Value(i, indent, value);
      if (!v) return std::nullopt;
      node.map.emplace(key, *v);
    }
    return node;
  }

  std::vector<Line> m_lines;
};

}  // namespace vantor::testing
